#pragma once
// The webcam page of the main window: the capture device (CapDevs, CapFormat, CapConfig), the
// preview window, the mode and threshold controls, the red and orange samples, the face markers
// of the scanning order, the webcam cube, scanning and transfer, and the scan-and-solve
// sequence that types another program's keys between the scans (BScanSolveType).
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/events.hpp"
#include "platform/prompts.hpp"
#include "webcam/camera/frame_source.hpp"
#include "webcam/webcam.hpp"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tx {
class FaceletEditor;
class KeyOutput;
class KeyTyper;
class KeyWait;
class ScanSolveHost;
class ScanSolveSequence;
}  // namespace tx

namespace tx::ui {

class TCaptureForm;
class WebcamCubeWidget;

class WebcamPage : public QWidget {
    Q_OBJECT
public:
    // What the page needs from the rest of the window.
    struct Hooks {
        // Adds the editor's cube to the list as the add-and-solve button does; true when added.
        std::function<bool()> addSolve;
        // The editor's cube and colours were replaced: repaint and show the editor page.
        std::function<void()> editorReplaced;
        // The last list entry's solver text, nullopt for an empty list.
        std::function<std::optional<std::string>()> lastSolverText;
    };

    WebcamPage(FaceletEditor& editor, Events& events, Prompts& prompts, Hooks hooks, QWidget* parent = nullptr);
    ~WebcamPage() override;

    Webcam& webcam() { return webcam_; }
    // CapDevs: the capture devices, or the "No device found" entry when there are none.
    void setDevices(std::vector<CaptureDevice> devices);
    // The device choice (CapDevs, or the 0x845A message): opens device `index` and shows the
    // preview; failures are told in message boxes.
    void selectDevice(int index);
    bool cameraRunning() const;
    TCaptureForm* captureForm() const { return captureForm_; }
    FrameSource* source() const { return source_.get(); }

    void scan();  // BScan
    // BTransferCam: failures in message boxes when fromUser, else only in the answer.
    std::string transfer(bool fromUser);
    void clearCube();  // Button2
    void clearSamples();  // Button1
    // Alt+S and Alt+V in the main window: the buttons, when they are enabled.
    void scanKey();
    void transferKey();

    // Alt+Ctrl+R shows BScanSolveType; pressing it starts the sequence.
    void showScanSolveButton();
    void startScanSolve();
    ScanSolveSequence& scanSolve();
    QTimer* scanSolveTimer() const { return sequenceTimer_; }
    // The keyboard output of the sequence (X11 XTest by default).
    void setKeyOutput(std::unique_ptr<KeyOutput> output);
    void setKeyWait(std::unique_ptr<KeyWait> wait);

    // Brings the controls in line with the webcam model.
    void refresh();

protected:
    // A click on a face mark chooses that face for the next scan.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class SequenceHost;
    void buildDeviceBox(QWidget* box);
    void openFormatDialog();
    void openConfigDialog();
    QWidget* buildModeBox();
    QWidget* buildFaceBox();
    void readSettings();
    void closeDevice();
    void deviceFailed(const std::string& text);
    void samplesRecorded(int count, int color);
    void spacingStep(bool horizontal, int delta);
    void blink();
    void updateFaceMarks(bool highlightNext);
    void createKeyboard();

    FaceletEditor& editor_;
    Events& events_;
    Prompts& prompts_;
    Hooks hooks_;
    Webcam webcam_;
    std::vector<CaptureDevice> devices_;
    std::unique_ptr<FrameSource> source_;
    TCaptureForm* captureForm_ = nullptr;  // a window of its own, owned here
    std::shared_ptr<std::atomic<bool>> framePending_;

    QComboBox* capDevs_ = nullptr;
    QPushButton* capFormat_ = nullptr;
    QPushButton* capConfig_ = nullptr;
    QRadioButton* interactive_ = nullptr;
    QRadioButton* automatic_ = nullptr;
    QLineEdit* thresholds_[4] = {};
    QRadioButton* shown_[3] = {};
    QRadioButton* hueSep_ = nullptr;
    QRadioButton* valSep_ = nullptr;
    QLabel* redLabel_ = nullptr;
    QLabel* orangeLabel_ = nullptr;
    QLabel* faceMarks_[6] = {};
    QPushButton* scan_ = nullptr;
    QPushButton* transfer_ = nullptr;
    QPushButton* scanSolveType_ = nullptr;
    WebcamCubeWidget* cubePicture_ = nullptr;
    QTimer* blinkTimer_ = nullptr;
    int blinkTicks_ = 0;

    std::unique_ptr<KeyOutput> keyOutput_;
    std::unique_ptr<KeyWait> keyWait_;
    std::unique_ptr<KeyTyper> typer_;
    std::unique_ptr<ScanSolveHost> sequenceHost_;
    std::unique_ptr<ScanSolveSequence> sequence_;
    QTimer* sequenceTimer_ = nullptr;
    bool keyboardProblemShown_ = false;
};

// The devices of Qt Multimedia, and the test-pattern camera when TESSERIX_TEST_CAMERA is set
// (it shows `cube`, held as the scanning order of `webcam` expects).
std::vector<CaptureDevice> availableCaptureDevices(Webcam& webcam, const FaceletCube& cube);

}  // namespace tx::ui
