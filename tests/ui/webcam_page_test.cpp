#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

#include "cube/random.hpp"
#include "server/qt_events.hpp"
#include "support/scripted_prompts.hpp"
#include "ui/capture_form.hpp"
#include "ui/keyboard/key_output.hpp"
#include "ui/keyboard/scan_solve.hpp"
#include "ui/webcam_page.hpp"
#include "ui_tests.hpp"
#include "webcam/camera/test_pattern.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx::ui::test {
namespace {

// A device that cannot be opened, or that fails once it runs.
class BrokenSource : public FrameSource {
public:
    bool opens = false;
    bool running_ = false;
    bool start() override { return running_ = opens; }
    void stop() override { running_ = false; }
    bool running() const override { return running_; }
    std::vector<std::string> formats() const override { return {}; }
    int format() const override { return -1; }
    void setFormat(int) override {}
};

class NoWait : public KeyWait {
public:
    void wait(int) override {}
};

struct PageFixture {
    ScriptedPrompts prompts;
    QtEvents events;
    FaceletEditor editor;
    int adds = 0;
    int replaced = 0;
    std::optional<std::string> solverText;
    FaceletCube shown;  // the cube in front of the test-pattern camera
    std::unique_ptr<WebcamPage> page;

    PageFixture() {
        WebcamPage::Hooks hooks;
        hooks.addSolve = [this] { return ++adds > 0; };
        hooks.editorReplaced = [this] { ++replaced; };
        hooks.lastSolverText = [this] { return solverText; };
        page = std::make_unique<WebcamPage>(editor, events, prompts, hooks);
    }

    void useTestPattern(unsigned seed) {
        MersenneTwister rng(seed);
        randomCube(shown, rng);
        page->setDevices({{kTestPatternName, [this] {
                               return std::unique_ptr<FrameSource>(new TestPatternCamera(
                                   shown, [this] { return page->webcam().face(); }, kWarmUneven));
                           }}});
    }
    TestPatternCamera* camera() const { return dynamic_cast<TestPatternCamera*>(page->source()); }
    // Waits for a frame that was begun after now: it shows the face chosen now.
    bool waitForFreshFrame() {
        const int start = camera()->framesDelivered();
        return QTest::qWaitFor([&] { return camera()->framesDelivered() >= start + 2; }, 5000);
    }

    template <class T = QPushButton>
    T* find(const char* name) const {
        T* w = page->findChild<T*>(name);
        if (!w) qWarning("missing component %s", name);
        return w;
    }
};

}  // namespace

void WebcamPageTest::everyComponentHasItsName() {
    PageFixture f;
    QCOMPARE(f.page->objectName(), QString("TabSheetWebcam"));
    for (const char* name : {"CapFormat", "CapConfig", "Button1", "Button2", "BScan", "BTransferCam", "BScanSolveType"})
        QVERIFY2(f.find(name), name);
    QVERIFY(f.find<QComboBox>("CapDevs"));
    for (const char* name : {"RBInteractive", "RBAutomatic", "RbHue", "RbSaturation", "RbValue", "HueSep", "ValSep"})
        QVERIFY2(f.find<QRadioButton>(name), name);
    const std::pair<const char*, const char*> fields[] = {
        {"ETreshOrange", "20"}, {"ETreshYellow", "60"}, {"ETreshGreen", "125"}, {"ETreshBlue", "220"}};
    for (const auto& [name, value] : fields) QCOMPARE(f.find<QLineEdit>(name)->text(), QString(value));
    QVERIFY(f.find<QRadioButton>("RBInteractive")->isChecked());
    QCOMPARE(f.find<QLabel>("LRed")->text(), QString("Red: "));
    QCOMPARE(f.find<QLabel>("LOrange")->text(), QString("Orange: "));
    QVERIFY(f.find("BScanSolveType")->isHidden());
    QCOMPARE(f.page->captureForm()->windowTitle(), QString("Web Cam"));
    // A threshold field without a number counts as 0.
    f.find<QLineEdit>("ETreshGreen")->setText("abc");
    QCOMPARE(f.page->webcam().settings().thresholds.green, 0);
    f.find<QLineEdit>("ETreshGreen")->setText("130");
    QCOMPARE(f.page->webcam().settings().thresholds.green, 130);
}

void WebcamPageTest::noDeviceFound() {
    PageFixture f;
    f.page->setDevices({});
    auto* devices = f.find<QComboBox>("CapDevs");
    QCOMPARE(devices->currentText(), QString("No device found - connect device prior to program start!"));
    QVERIFY(!devices->isEnabled());
    QVERIFY(!f.find("CapFormat")->isEnabled());
    f.page->selectDevice(0);  // as the web server's "?connect0" would
    QCOMPARE(f.prompts.texts(), (std::vector<std::string>{"Error. No valid capture device index!"}));
    QCOMPARE(f.prompts.shown[0].caption, std::string("Web Cam"));
    // Qt Multimedia's own list: this machine has no camera.
    if (!cameraDevices().empty()) QSKIP("a camera is connected");
    f.page->setDevices(cameraDevices());
    QCOMPARE(devices->currentText(), QString("No device found - connect device prior to program start!"));
}

void WebcamPageTest::deviceFailures() {
    PageFixture f;
    BrokenSource* last = nullptr;
    bool opens = false;
    f.page->setDevices({{"Broken camera", [&] {
                             auto s = std::make_unique<BrokenSource>();
                             s->opens = opens;
                             last = s.get();
                             return std::unique_ptr<FrameSource>(std::move(s));
                         }}});
    f.page->selectDevice(0);
    QCOMPARE(f.prompts.texts(), (std::vector<std::string>{"Could not initialize capture device!"}));
    QVERIFY(!f.page->cameraRunning());
    opens = true;
    f.page->selectDevice(0);
    QVERIFY(f.page->cameraRunning());
    QVERIFY(f.find("CapFormat")->isEnabled());
    last->onError("Could not initialize capture device!\nthe device was unplugged");
    QVERIFY(!f.page->cameraRunning());
    QVERIFY(f.page->captureForm()->isHidden());
    QCOMPARE(f.prompts.shown.back().caption, std::string("Web Cam"));
    f.page->selectDevice(3);
    QCOMPARE(f.prompts.texts().back(), std::string("Error. No valid capture device index!"));
}

void WebcamPageTest::testPatternScannedAndTransferredAutomatically() {
    PageFixture f;
    f.useTestPattern(2024);
    f.find<QRadioButton>("RBAutomatic")->click();
    QCOMPARE(f.page->webcam().settings().mode, ScanMode::Automatic);
    f.page->selectDevice(0);
    QVERIFY(f.page->cameraRunning());
    QVERIFY(f.page->captureForm()->isVisible());
    QTRY_VERIFY(f.page->captureForm()->framesShown() >= 1);
    QCOMPARE(f.page->captureForm()->lastFrame().size(), QSize(640, 480));
    auto* transfer = f.find("BTransferCam");
    for (int k = 0; k < 6; ++k) {
        QVERIFY(!transfer->isEnabled());
        QVERIFY(f.waitForFreshFrame());
        f.find("BScan")->click();
    }
    QVERIFY(transfer->isEnabled());
    transfer->click();
    QVERIFY2(f.prompts.shown.empty(), f.prompts.shown.empty() ? "" : f.prompts.shown[0].text.c_str());
    QCOMPARE(f.editor.cube().faceletString(), f.shown.faceletString());
    QCOMPARE(f.replaced, 1);
    QCOMPARE(f.adds, 1);
    // The editor shows each face in the colour of its centre: U white, R red, F green...
    QCOMPARE(f.editor.scheme()[0], kClassDrawColor[kWhite]);
    QCOMPARE(f.editor.scheme()[1], kClassDrawColor[kRed]);
    QCOMPARE(f.editor.scheme()[2], kClassDrawColor[kGreen]);
    QVERIFY(!transfer->isEnabled());
    QVERIFY(!f.page->webcam().scanned('B'));
}

void WebcamPageTest::samplesFromThePreviewMenu() {
    PageFixture f;
    f.shown = FaceletCube{};
    f.page->setDevices({{kTestPatternName, [&f] {
                             return std::unique_ptr<FrameSource>(
                                 new TestPatternCamera(f.shown, [] { return 'R'; }, kEvenLight));
                         }}});
    f.page->selectDevice(0);
    TCaptureForm* form = f.page->captureForm();
    form->resize(640, 480);
    QTRY_VERIFY(form->framesShown() >= 1);
    // A right click on the middle square, then "red" in the menu.
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(320, 240), form->mapToGlobal(QPoint(320, 240)));
    QCoreApplication::sendEvent(form, &click);
    QVERIFY(form->sampleMenu()->isVisible());
    form->sampleMenu()->findChild<QAction*>("SampleRed")->trigger();
    form->sampleMenu()->hide();
    QTRY_COMPARE(f.find<QLabel>("LRed")->text(), QString("Red: 1"));
    QCOMPARE(f.page->webcam().sampleCount(kRed), 1);
    // Outside the picture nothing is sampled.
    QCOMPARE(form->framePoint(QPoint(-5, 10)), QPoint(-1, -1));
    f.find("Button1")->click();
    QCOMPARE(f.find<QLabel>("LRed")->text(), QString("Red: "));
    QCOMPARE(f.page->webcam().sampleCount(kRed), 0);
}

void WebcamPageTest::gridKeysAndFaceChoice() {
    PageFixture f;
    TCaptureForm* form = f.page->captureForm();
    QTest::keyClick(form, Qt::Key_X);
    QCOMPARE(f.page->webcam().settings().spacing.x, 6);
    // A click on a face mark chooses the face to scan next.
    QTest::mouseClick(f.find<QLabel>("FaceU"), Qt::LeftButton);
    QCOMPARE(f.page->webcam().face(), 'U');
    QTest::keyClick(form, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(form, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.page->webcam().settings().spacing.x, 4);
    for (int k = 0; k < 5; ++k) QTest::keyClick(form, Qt::Key_Y);
    QCOMPARE(f.page->webcam().settings().spacing.y, 7);  // the limit
}

void WebcamPageTest::transferFailuresByMessageOrAnswer() {
    PageFixture f;
    // Interactive mode, nothing scanned: no face can be named white.
    QCOMPARE(f.page->transfer(false), std::string("Please place a white facelet in the Web Cam center position!"));
    QVERIFY(f.prompts.shown.empty());
    f.find("BTransferCam")->click();
    QCOMPARE(f.prompts.texts(), (std::vector<std::string>{"Please place a white facelet in the Web Cam center position!"}));
    QCOMPARE(f.prompts.shown[0].caption, std::string("Web Cam"));
    QCOMPARE(f.replaced, 0);
    // Automatic mode with all six faces of one blank picture.
    f.find<QRadioButton>("RBAutomatic")->click();
    for (int k = 0; k < 6; ++k) f.find("BScan")->click();
    QCOMPARE(f.page->transfer(false), std::string("Too many red and orange facelets."));
    QVERIFY(f.find("BTransferCam")->isEnabled());  // a failure changes nothing
}

void WebcamPageTest::scanSolveTypeStepByStep() {
    PageFixture f;
    f.useTestPattern(77);
    auto* output = new RecordingKeyOutput;
    f.page->setKeyOutput(std::unique_ptr<KeyOutput>(output));
    f.page->setKeyWait(std::make_unique<NoWait>());
    f.find<QRadioButton>("RBAutomatic")->click();
    f.page->selectDevice(0);
    f.page->webcam().setFace('U');
    f.page->showScanSolveButton();
    QVERIFY(f.find("BScanSolveType")->isVisibleTo(f.page.get()));
    f.find("BScanSolveType")->click();
    QCOMPARE(f.page->webcam().face(), 'B');
    QTimer* timer = f.page->scanSolveTimer();
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 2000);
    timer->stop();  // the test ticks by hand
    const int intervals[] = {600, 600, 600, 600, 600, 100, 2400};
    for (int step = 0; step < 6; ++step) {
        QVERIFY(f.waitForFreshFrame());
        f.page->scanSolve().tick();
        QCOMPARE(timer->interval(), intervals[step]);
    }
    QCOMPARE(output->events.size(), std::size_t(2 * (3 + 3 + 3 + 3 + 2 + 4)));  // aaa aaa aaa yyy yy yyya
    QCOMPARE(output->events[0], (RecordingKeyOutput::Event{'A', false}));
    f.solverText = "R U' F2  (3f)";
    f.page->scanSolve().tick();  // transfer
    QCOMPARE(f.adds, 1);
    QCOMPARE(f.editor.cube().faceletString(), f.shown.faceletString());
    QCOMPARE(timer->interval(), 2400);
    output->events.clear();
    f.page->scanSolve().tick();  // the solution as key letters: i f h h
    QVERIFY(!timer->isActive());
    QVERIFY(!f.page->scanSolve().running());
    const std::vector<RecordingKeyOutput::Event> keys = {{'I', false}, {'I', true}, {'F', false}, {'F', true},
                                                         {'H', false}, {'H', true}, {'H', false}, {'H', true}};
    QCOMPARE(output->events, keys);
    QVERIFY(f.prompts.shown.empty());
}

void WebcamPageTest::scanSolveTypeNeedsAKeyboard() {
    PageFixture f;
    auto* output = new RecordingKeyOutput;
    output->unavailable = "Keyboard output is disabled: there is no X11 display (DISPLAY is not set).";
    f.page->setKeyOutput(std::unique_ptr<KeyOutput>(output));
    f.page->showScanSolveButton();
    f.find("BScanSolveType")->click();
    QCOMPARE(f.prompts.texts(), (std::vector<std::string>{output->unavailable}));
    QVERIFY(!f.page->scanSolveTimer()->isActive());
    QVERIFY(!f.page->scanSolve().running());
}

}  // namespace tx::ui::test
