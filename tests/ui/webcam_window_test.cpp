#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include <memory>

#include "cube/random.hpp"
#include "server/list_backend.hpp"
#include "ui/capture_form.hpp"
#include "ui/main_window.hpp"
#include "ui/webcam_page.hpp"
#include "webcam/camera/test_pattern.hpp"
#include "window_fixture.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui::test {
namespace {

// The main window with the test-pattern camera as its only device.
struct Window : WindowFixture {
    FaceletCube shown;

    WebcamPage& page() const { return *form->webcamPage(); }
    void useTestPattern(unsigned seed, Lighting light = kWarmUneven) {
        MersenneTwister rng(seed);
        randomCube(shown, rng);
        page().setDevices({{kTestPatternName, [this, light] {
                                return std::unique_ptr<FrameSource>(new TestPatternCamera(
                                    shown, [this] { return page().webcam().face(); }, light));
                            }}});
    }
    bool waitForFreshFrame() {
        auto* camera = dynamic_cast<TestPatternCamera*>(page().source());
        const int start = camera->framesDelivered();
        return QTest::qWaitFor([&] { return camera->framesDelivered() >= start + 2; }, 5000);
    }
};

}  // namespace

void WebcamWindowTest::pageAndServerRequests() {
    Window w;
    QTabWidget* pages = w.form->pages();
    QCOMPARE(pages->tabText(pages->indexOf(&w.page())), QString("Web Cam"));
    ListBackend& server = w.form->serverBackend();
    QCOMPARE(server.webcamStatus(), std::string(54, 'x'));
    // "?scanU": the face choice goes to U, U is scanned, D comes next.
    QCOMPARE(server.scan('U'), std::string("Done!"));
    QVERIFY(w.page().webcam().scanned('U'));
    QCOMPARE(w.page().webcam().face(), 'D');
    // "?connect7": there is no device 7.
    server.selectCaptureDevice(7);
    QCOMPARE(w.prompts.texts(), (std::vector<std::string>{"Error. No valid capture device index!"}));
    // "?transfer" answers the failure instead of showing it.
    QCOMPARE(server.transfer(), std::string("Please place a white facelet in the Web Cam center position!"));
    QCOMPARE(w.prompts.shown.size(), std::size_t(1));

    // With the test pattern: "?connect0", then the six faces by "?scan", then "?status".
    w.useTestPattern(5);
    server.selectCaptureDevice(0);
    QVERIFY(w.page().cameraRunning());
    w.page().webcam().setSettings([&] {
        WebcamSettings s = w.page().webcam().settings();
        s.mode = ScanMode::Automatic;
        return s;
    }());
    for (const char face : Webcam::kScanOrder) {
        w.page().webcam().setFace(face);
        QVERIFY(w.waitForFreshFrame());
        QCOMPARE(server.scan(face), std::string("Done!"));
    }
    QVERIFY(w.page().webcam().transferEnabled());
    // A complete transfer hands over to the editor: checked here without adding to the list,
    // whose searches need real tables.
    const HandOver h = w.page().webcam().transfer();
    QVERIFY(h.complete());
    QCOMPARE(h.cube.faceletString(), w.shown.faceletString());
    const std::string status = server.webcamStatus();
    QCOMPARE(status.substr(4, 1), std::string("w"));  // the U centre is white
    QCOMPARE(status.find('x'), std::string::npos);
}

void WebcamWindowTest::keysOfTheMainWindow() {
    Window w;
    QVERIFY(w.page().findChild<QPushButton*>("BScanSolveType")->isHidden());
    QTest::keyClick(w.form.get(), Qt::Key_R, Qt::AltModifier | Qt::ControlModifier);
    QVERIFY(!w.page().findChild<QPushButton*>("BScanSolveType")->isHidden());
    QCOMPARE(w.page().webcam().face(), 'B');
    QTest::keyClick(w.form.get(), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(w.page().webcam().face(), 'L');
    QVERIFY(w.page().webcam().scanned('B'));
    // Alt+V transfers (interactive mode: always possible): nothing recognised, so a message.
    QTest::keyClick(w.form.get(), Qt::Key_V, Qt::AltModifier);
    QCOMPARE(w.prompts.texts(), (std::vector<std::string>{"Please place a white facelet in the Web Cam center position!"}));
}

void WebcamWindowTest::closeRefusedWhileTheCameraRuns() {
    Window w;
    w.useTestPattern(1);
    w.page().selectDevice(0);
    QVERIFY(!w.form->close());
    QCOMPARE(w.prompts.texts(), (std::vector<std::string>{"Please close the Web Cam Window before closing Tesserix."}));
    w.page().captureForm()->close();
    QVERIFY(!w.page().cameraRunning());
    w.prompts.answers = {Answer::Yes};
    QVERIFY(w.form->close());
    QCOMPARE(w.prompts.texts().back(), std::string("Do you really want to quit?"));
}

// Pictures of the webcam page and the preview with the test pattern, for looking at them.
void WebcamWindowTest::screenshot() {
    const QString dir = qEnvironmentVariable("TESSERIX_SCREENSHOT_DIR");
    if (dir.isEmpty()) QSKIP("TESSERIX_SCREENSHOT_DIR is not set");
    Window w;
    w.useTestPattern(11, kCoolUneven);
    w.form->resize(1200, 760);
    w.form->move(0, 0);
    w.form->show();
    w.form->pages()->setCurrentWidget(&w.page());
    w.page().selectDevice(0);
    w.page().captureForm()->move(620, 140);
    w.page().captureForm()->resize(640, 480);
    // Two red and two orange samples from the faces on the way, then B, L and F scanned.
    int samples[2] = {0, 0};
    for (int k = 0; k < 3; ++k) {
        const char face = w.page().webcam().face();
        const auto seen = cameraView(face, faceClasses(w.shown, face, kStandardFaceClass));
        for (int square = 0; square < 9; ++square) {
            const int cls = seen[static_cast<std::size_t>(square)];
            if ((cls != kRed && cls != kOrange) || samples[cls] >= 2) continue;
            const SquareRect r = squareRect(640, 480, square % 3, square / 3, GridSpacing{});
            w.page().webcam().requestSample(cls, r.x + r.size / 2, r.y + r.size / 2);
            ++samples[cls];
            QVERIFY(w.waitForFreshFrame());
        }
        QVERIFY(w.waitForFreshFrame());
        w.page().scan();
    }
    QVERIFY(w.waitForFreshFrame());
    QTest::qWait(1000);  // the face marks have stopped blinking
    w.form->grab().save(dir + "/webcam_page.png");
    w.page().captureForm()->grab().save(dir + "/webcam_preview.png");
    if (QScreen* screen = QGuiApplication::primaryScreen()) screen->grabWindow(0).save(dir + "/webcam_screen.png");
    w.page().captureForm()->close();
}

}  // namespace tx::ui::test
