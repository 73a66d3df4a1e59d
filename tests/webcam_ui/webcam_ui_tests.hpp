#pragma once
// The webcam widget test classes, run one after another by webcam_ui_main.cpp.
#include <QObject>

#include <filesystem>

namespace tx::ui::test {

// A fresh folder for a cube.ini, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

class WebcamPageTest : public QObject {
    Q_OBJECT
private slots:
    void everyComponentHasItsName();
    void noDeviceFound();
    void deviceFailures();
    void testPatternScannedAndTransferredAutomatically();
    void samplesFromThePreviewMenu();
    void gridKeysInThePreview();
    void transferFailuresByMessageOrAnswer();
    void scanSolveTypeStepByStep();
    void scanSolveTypeNeedsAKeyboard();
};

class WebcamWindowTest : public QObject {
    Q_OBJECT
private slots:
    void pageAndServerRequests();
    void keysOfTheMainWindow();
    void closeRefusedWhileTheCameraRuns();
    void screenshot();
};

}  // namespace tx::ui::test
