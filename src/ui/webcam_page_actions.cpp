// What the webcam page does: open a capture device and feed its frames through the recognition,
// scan, transfer to the editor and the list, and run the scan-and-solve sequence.
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <cstdlib>

#include "ui/capture_dialogs.hpp"
#include "ui/capture_form.hpp"
#include "ui/keyboard/key_output.hpp"
#include "ui/keyboard/scan_solve.hpp"
#include "ui/keyboard/xtest_key_output.hpp"
#include "ui/webcam_page.hpp"
#include "webcam/camera/frame_painter.hpp"
#include "webcam/camera/test_pattern.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx::ui {

std::vector<CaptureDevice> availableCaptureDevices(Webcam& webcam, const FaceletCube& cube) {
    std::vector<CaptureDevice> devices = cameraDevices();
    if (std::getenv("TESSERIX_TEST_CAMERA")) {
        devices.push_back({kTestPatternName, [&webcam, cube] {
                               return std::unique_ptr<FrameSource>(
                                   new TestPatternCamera(cube, [&webcam] { return webcam.face(); }));
                           }});
    }
    return devices;
}

WebcamPage::~WebcamPage() {
    // The capture thread reports to the form and the model: it ends first.
    closeDevice();
    sequenceTimer_->stop();
    delete captureForm_;
}

void WebcamPage::setDevices(std::vector<CaptureDevice> devices) {
    closeDevice();
    devices_ = std::move(devices);
    const QSignalBlocker block(capDevs_);
    capDevs_->clear();
    for (const auto& d : devices_) capDevs_->addItem(QString::fromStdString(d.name));
    if (devices_.empty()) {
        capDevs_->addItem(kNoDeviceText);
        capDevs_->setCurrentIndex(0);
    } else {
        capDevs_->setCurrentIndex(-1);
    }
    capDevs_->setEnabled(!devices_.empty());
    refresh();
}

void WebcamPage::selectDevice(int index) {
    if (index < 0 || index >= int(devices_.size())) {
        prompts_.message(kNoDeviceIndexText, kWebcamCaption, Icon::Warning);
        return;
    }
    closeDevice();
    {
        const QSignalBlocker block(capDevs_);
        capDevs_->setCurrentIndex(index);
    }
    source_ = devices_[static_cast<std::size_t>(index)].open();
    // The frame callback runs on the capture thread; the annotated picture goes to the window
    // thread, one at a time (frames arriving meanwhile are measured but not shown).
    auto pending = framePending_;
    TCaptureForm* form = captureForm_;
    source_->onFrame = [this, pending, form](const QImage& frame) {
        const QImage shown = processCameraFrame(webcam_, frame);
        if (pending->exchange(true)) return;
        QMetaObject::invokeMethod(
            form,
            [form, pending, shown] {
                pending->store(false);
                form->showFrame(shown);
            },
            Qt::QueuedConnection);
    };
    source_->onError = [this](const std::string& text) { deviceFailed(text); };
    if (!source_->start()) {
        source_.reset();
        prompts_.message(kCannotInitializeText, kWebcamCaption, Icon::Error);
        refresh();
        return;
    }
    captureForm_->show();
    refresh();
}

void WebcamPage::closeDevice() {
    if (!source_) return;
    source_->stop();
    source_.reset();
    framePending_->store(false);
    if (captureForm_->isVisible()) captureForm_->hide();
}

void WebcamPage::deviceFailed(const std::string& text) {
    closeDevice();
    prompts_.message(text, kWebcamCaption, Icon::Error);
    refresh();
}

bool WebcamPage::cameraRunning() const { return source_ && source_->running() && captureForm_->isVisible(); }

void WebcamPage::openFormatDialog() {
    if (!source_) return;
    CapFormatDialog dialog(*source_, this);
    dialog.exec();
}

void WebcamPage::openConfigDialog() {
    if (!source_) return;
    if (QCamera* camera = source_->camera()) {
        CapConfigDialog dialog(*camera, this);
        dialog.exec();
    } else {
        prompts_.message(kNoPropertiesText, kWebcamCaption, Icon::Information);
    }
}

void WebcamPage::scan() {
    webcam_.scan();
    blinkTicks_ = 8;
    blinkTimer_->start();
    refresh();
}

void WebcamPage::scanKey() {
    if (scan_->isEnabled()) scan();
}

void WebcamPage::transferKey() {
    if (transfer_->isEnabled()) transfer(true);
}

std::string WebcamPage::transfer(bool fromUser) {
    const HandOver h = webcam_.transfer();
    auto fail = [&](const std::string& text) {
        if (fromUser) prompts_.message(text, kWebcamCaption, Icon::Warning);
        refresh();
        return text;
    };
    if (!h.failure.empty()) return fail(h.failure);
    FaceletCube& cube = editor_.cube();
    cube.f = h.cube.f;
    cube.centerOri = {};
    for (int face = 0; face < 6; ++face)
        editor_.scheme().colors[static_cast<std::size_t>(face)] = h.scheme[static_cast<std::size_t>(face)];
    if (hooks_.editorReplaced) hooks_.editorReplaced();
    if (!h.complete()) return fail(kUnresolvedColorsText);
    refresh();
    if (hooks_.addSolve) hooks_.addSolve();
    return kTransferDoneText;
}

void WebcamPage::clearCube() {
    webcam_.clearCube();
    refresh();
}

void WebcamPage::clearSamples() {
    webcam_.clearSamples();
    refresh();
}

// ---------------------------------------------------------------- scan, solve and type

class WebcamPage::SequenceHost : public ScanSolveHost {
public:
    explicit SequenceHost(WebcamPage& page) : page_(page) {}
    void selectFace(char face) override {
        page_.webcam_.setFace(face);
        page_.refresh();
    }
    void scan() override { page_.scan(); }
    void transfer() override { page_.transfer(false); }
    void processMessages() override { QCoreApplication::processEvents(); }
    std::optional<std::string> lastSolverText() override {
        return page_.hooks_.lastSolverText ? page_.hooks_.lastSolverText() : std::nullopt;
    }
    void startTimer(int ms) override { page_.sequenceTimer_->start(ms); }
    void setTimerInterval(int ms) override { page_.sequenceTimer_->setInterval(ms); }
    void stopTimer() override { page_.sequenceTimer_->stop(); }
    // Told once per run: the sequence goes on with its scans.
    void keyboardProblem(const std::string& text) override {
        if (page_.keyboardProblemShown_) return;
        page_.keyboardProblemShown_ = true;
        page_.prompts_.message(text, kWebcamCaption, Icon::Warning);
    }

private:
    WebcamPage& page_;
};

void WebcamPage::setKeyOutput(std::unique_ptr<KeyOutput> output) {
    keyOutput_ = std::move(output);
    sequence_.reset();
}

void WebcamPage::setKeyWait(std::unique_ptr<KeyWait> wait) {
    keyWait_ = std::move(wait);
    sequence_.reset();
}

void WebcamPage::createKeyboard() {
    if (sequence_) return;
    if (!keyOutput_) keyOutput_ = std::make_unique<XTestKeyOutput>();
    if (!keyWait_) keyWait_ = std::make_unique<PumpingWait>([] { QCoreApplication::processEvents(); });
    typer_ = std::make_unique<KeyTyper>(*keyOutput_, *keyWait_);
    sequenceHost_ = std::make_unique<SequenceHost>(*this);
    sequence_ = std::make_unique<ScanSolveSequence>(*sequenceHost_, *typer_);
    disconnect(sequenceTimer_, nullptr, this, nullptr);
    connect(sequenceTimer_, &QTimer::timeout, this, [this] { sequence_->tick(); });
}

ScanSolveSequence& WebcamPage::scanSolve() {
    createKeyboard();
    return *sequence_;
}

void WebcamPage::showScanSolveButton() { scanSolveType_->setVisible(true); }

// Without a working keyboard output the sequence would turn nothing: it does not start.
void WebcamPage::startScanSolve() {
    createKeyboard();
    if (const std::string problem = keyOutput_->problem(); !problem.empty()) {
        prompts_.message(problem, kWebcamCaption, Icon::Warning);
        return;
    }
    keyboardProblemShown_ = false;
    sequence_->start();
}

}  // namespace tx::ui
