// The webcam page's model fed with synthetic camera frames: the scanning order with the U and
// D faces seen turned, both classifiers, the transfer and its rules, samples, and the frame
// tables shared with a capture thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "cube/random.hpp"
#include "cube_pictures.hpp"
#include "webcam/webcam.hpp"

namespace tx {
namespace {

using testing::cameraView;
using testing::Image;
using testing::Lighting;
using testing::renderFace;

// Holds `classes` (facelet order) in front of the camera face by face in the scanning order,
// one frame per face, and scans each.
void scanCube(Webcam& cam, const std::array<int, kFacelets>& classes, const Lighting& light, unsigned seed) {
    for (const char face : Webcam::kScanOrder) {
        ASSERT_EQ(cam.face(), face);
        const auto seen = cameraView(face, testing::netFace(classes, colorOfLetter(face)));
        const Image frame = renderFace(seen, light, seed++);
        cam.processFrame(frame.view());
        cam.scan();
        EXPECT_TRUE(cam.scanned(face));
    }
}

WebcamSettings automatic(RedOrangeSplit split = RedOrangeSplit::Hue) {
    WebcamSettings s;
    s.mode = ScanMode::Automatic;
    s.split = split;
    return s;
}

TEST(ScanningOrder, FacesBLFRUDAndBackToB) {
    Webcam cam;
    std::string order;
    for (int i = 0; i < 7; ++i) {
        order += cam.face();
        cam.scan();
    }
    EXPECT_EQ(order, "BLFRUDB");
    cam.setFace('U');
    EXPECT_EQ(cam.face(), 'U');
    cam.setFace('X');  // not a face: ignored
    EXPECT_EQ(cam.face(), 'U');
}

TEST(ScanningOrder, UAndDAreSeenTurnedAQuarterTurnEachWay) {
    const std::array<int, 9> seen = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(holdTurned('U', seen), (std::array<int, 9>{2, 5, 8, 1, 4, 7, 0, 3, 6}));
    EXPECT_EQ(holdTurned('D', seen), (std::array<int, 9>{6, 3, 0, 7, 4, 1, 8, 5, 2}));
    EXPECT_EQ(holdTurned('F', seen), seen);
    // Four quarter turns one way bring the face back.
    auto turned = seen;
    for (int k = 0; k < 4; ++k) turned = holdTurned('U', turned);
    EXPECT_EQ(turned, seen);
}

TEST(AutomaticScan, RandomAndSolvedCubesUnderUnevenLightAndColourCasts) {
    MersenneTwister rng(4711);
    int n = 0;
    for (const Lighting* light : {&testing::kWarmUneven, &testing::kCoolUneven}) {
        for (int k = 0; k < 6; ++k, ++n) {
            FaceletCube cube;
            if (k > 0) randomCube(cube, rng);
            Webcam cam;
            cam.setSettings(automatic());
            scanCube(cam, testing::cubeClasses(cube, testing::kStandardFaceClass), *light, 100 * n);
            ASSERT_TRUE(cam.transferEnabled());
            const HandOver h = cam.transfer();
            ASSERT_TRUE(h.complete()) << "cube " << n << ": " << h.resultText();
            EXPECT_EQ(h.cube.faceletString(), cube.faceletString()) << "cube " << n;
            EXPECT_EQ(h.resultText(), "Done!");
            // The webcam cube now holds the classes; the scanned marks are gone.
            EXPECT_EQ(cam.cube().f[4], kWhite);
            EXPECT_FALSE(cam.scanned('B'));
            EXPECT_FALSE(cam.transferEnabled());
        }
    }
}

TEST(AutomaticScan, RedFromOrangeByLightnessUnderEvenLight) {
    MersenneTwister rng(99);
    const Lighting light{0, 0, {1, 1, 1}, 6};
    for (int n = 0; n < 4; ++n) {
        FaceletCube cube;
        randomCube(cube, rng);
        Webcam cam;
        cam.setSettings(automatic(RedOrangeSplit::Value));
        scanCube(cam, testing::cubeClasses(cube, testing::kStandardFaceClass), light, 7 * n);
        const HandOver h = cam.transfer();
        ASSERT_TRUE(h.complete()) << h.resultText();
        EXPECT_EQ(h.cube.faceletString(), cube.faceletString());
    }
}

TEST(AutomaticScan, TransferNeedsAllSixFacesAndAFailureChangesNothing) {
    Webcam cam;
    cam.setSettings(automatic());
    const auto solved = testing::cubeClasses(FaceletCube{}, testing::kStandardFaceClass);
    // Every face shows the same blue picture.
    const Image blue = renderFace({2, 2, 2, 2, 2, 2, 2, 2, 2}, testing::kEvenLight, 1);
    for (int k = 0; k < 5; ++k) {
        cam.processFrame(blue.view());
        cam.scan();
        EXPECT_FALSE(cam.transferEnabled());
    }
    cam.processFrame(blue.view());
    cam.scan();
    EXPECT_TRUE(cam.transferEnabled());
    const HandOver h = cam.transfer();
    EXPECT_EQ(h.resultText(), "Not enough red and orange facelets");
    EXPECT_FALSE(h.complete());
    EXPECT_TRUE(cam.transferEnabled());
    EXPECT_TRUE(cam.scanned('U'));
    EXPECT_EQ(cam.cube().f[4], kUndefinedFacelet);
    // Scanning the faces again, right this time, succeeds.
    scanCube(cam, solved, testing::kEvenLight, 5);
    EXPECT_TRUE(cam.transfer().complete());
}

// Interactive mode: three red and three orange samples from squares in differently lit parts
// of the picture, then every face classified live at its scan.
void takeSamples(Webcam& cam, const Lighting& light) {
    const Image red = renderFace({0, 0, 0, 0, 0, 0, 0, 0, 0}, light, 11);
    const Image orange = renderFace({1, 1, 1, 1, 1, 1, 1, 1, 1}, light, 12);
    for (int square : {0, 4, 8}) {
        const SquareRect r = squareRect(640, 480, square % 3, square / 3, GridSpacing{});
        cam.requestSample(kRed, r.x + 5, r.y + 5);
        cam.processFrame(red.view());
        cam.requestSample(kOrange, r.x + 5, r.y + 5);
        cam.processFrame(orange.view());
    }
}

TEST(InteractiveScan, RandomCubesClassifiedLiveUnderACoolCast) {
    MersenneTwister rng(31337);
    for (int n = 0; n < 6; ++n) {
        FaceletCube cube;
        if (n > 0) randomCube(cube, rng);
        Webcam cam;
        takeSamples(cam, testing::kCoolUneven);
        EXPECT_EQ(cam.sampleCount(kRed), 3);
        EXPECT_EQ(cam.sampleCount(kOrange), 3);
        EXPECT_TRUE(cam.transferEnabled());  // always, in interactive mode
        const auto classes = testing::cubeClasses(cube, testing::kStandardFaceClass);
        scanCube(cam, classes, testing::kCoolUneven, 40 * n);
        // The webcam cube holds every facelet's class as scanned, in facelet order.
        for (int i = 0; i < kFacelets; ++i) EXPECT_EQ(cam.cube().f[i], classes[i]) << "facelet " << i;
        const HandOver h = cam.transfer();
        ASSERT_TRUE(h.complete()) << h.resultText();
        EXPECT_EQ(h.cube.faceletString(), cube.faceletString());
        EXPECT_FALSE(cam.transferEnabled());  // until the next scan
        cam.scan();
        EXPECT_TRUE(cam.transferEnabled());
    }
}

TEST(InteractiveScan, WithoutSamplesRedAndOrangeStayUnknown) {
    Webcam cam;
    const auto solved = testing::cubeClasses(FaceletCube{}, testing::kStandardFaceClass);
    const Image red = renderFace(testing::netFace(solved, 1), testing::kEvenLight, 3);
    const FrameOverlay overlay = cam.processFrame(red.view());
    EXPECT_TRUE(overlay.samplesWanted);
    for (const auto& sq : overlay.squares) {
        EXPECT_EQ(sq.label, "??");
        EXPECT_TRUE(sq.classFrame);
    }
    scanCube(cam, solved, testing::kEvenLight, 3);
    const FaceletCube seen = cam.cube();
    for (int i = 0; i < kFacelets; ++i) {
        const bool reddish = solved[i] == kRed || solved[i] == kOrange;
        EXPECT_EQ(seen.f[i], reddish ? kUndefinedFacelet : solved[i]) << "facelet " << i;
    }
    const HandOver h = cam.transfer();
    EXPECT_FALSE(h.complete());
    EXPECT_EQ(h.resultText(), "Could not resolve the colors due to wrong input.");
}

TEST(InteractiveScan, NoWhiteOrYellowCentreAsksForAWhiteFacelet) {
    Webcam cam;
    const Image blue = renderFace({2, 2, 2, 2, 2, 2, 2, 2, 2}, testing::kEvenLight, 3);
    cam.processFrame(blue.view());
    cam.scan();
    EXPECT_EQ(cam.transfer().resultText(), "Please place a white facelet in the Web Cam center position!");
}

TEST(InteractiveScan, MoreThanNineWhitesAskToReduceTheBrightness) {
    Webcam cam;
    const Image white = renderFace({5, 5, 5, 5, 5, 5, 5, 5, 5}, testing::kEvenLight, 3);
    cam.processFrame(white.view());
    cam.scan();  // B: nine whites
    cam.processFrame(white.view());
    cam.scan();  // L: nine more
    const HandOver h = cam.transfer();
    EXPECT_EQ(h.resultText(), "Could not uniquely identify the white facelets. Try to reduce the brightness!");
    EXPECT_TRUE(cam.transferEnabled());  // nothing changed
}

TEST(Frames, OverlayTextsAndAutomaticLabels) {
    Webcam cam;
    const Image bright = renderFace({5, 5, 5, 5, 5, 5, 5, 5, 5}, Lighting{0, 0, {1.2, 1.2, 1.2}, 0}, 1);
    FrameOverlay overlay = cam.processFrame(bright.view());
    EXPECT_TRUE(overlay.overexposed);
    const Image normal = renderFace({2, 3, 4, 5, 2, 3, 4, 5, 2}, testing::kEvenLight, 1);
    overlay = cam.processFrame(normal.view());
    EXPECT_FALSE(overlay.overexposed);
    EXPECT_EQ(overlay.squares[0].label, "bl");
    EXPECT_EQ(overlay.squares[1].label, "gr");
    EXPECT_EQ(overlay.squares[2].label, "ye");
    EXPECT_EQ(overlay.squares[3].label, "wh");
    EXPECT_EQ(overlay.squares[4].rect, squareRect(640, 480, 1, 1, GridSpacing{}));

    WebcamSettings s = automatic();
    s.shown = ShownMeasure::Saturation;
    cam.setSettings(s);
    overlay = cam.processFrame(normal.view());
    EXPECT_FALSE(overlay.samplesWanted);  // only interactive mode wants samples
    const auto live = cam.liveMeasures();
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(overlay.squares[k].label, std::to_string(live[k].saturation));
        EXPECT_FALSE(overlay.squares[k].classFrame);
    }
    s.shown = ShownMeasure::Value;
    cam.setSettings(s);
    overlay = cam.processFrame(normal.view());
    EXPECT_EQ(overlay.squares[4].label, std::to_string(live[4].value));
}

TEST(Samples, ARequestEndsWithTheNextFrameAndCountsAreReported) {
    Webcam cam;
    std::vector<std::pair<int, int>> reports;
    cam.samplesRecorded = [&](int count, int color) { reports.emplace_back(count, color); };
    const Image red = renderFace({0, 0, 0, 0, 0, 0, 0, 0, 0}, testing::kEvenLight, 2);
    cam.requestSample(kRed, 320, 240);
    cam.processFrame(red.view());
    cam.processFrame(red.view());  // no request: nothing recorded
    cam.requestSample(kOrange, 5, 5);  // outside every square: the request ends unfulfilled
    cam.processFrame(red.view());
    cam.processFrame(red.view());
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{1, 0}}));
    for (int k = 0; k < 11; ++k) {
        cam.requestSample(kOrange, 320, 240);
        cam.processFrame(red.view());
    }
    EXPECT_EQ(cam.sampleCount(kOrange), 9);
    EXPECT_EQ(reports.back(), (std::pair<int, int>{9, 1}));
    cam.clearSamples();
    EXPECT_EQ(cam.sampleCount(kRed), 0);
    EXPECT_EQ(cam.sampleCount(kOrange), 0);
}

TEST(WebcamCube, ClearEmptiesTheCubeAndSelectsB) {
    Webcam cam;
    takeSamples(cam, testing::kEvenLight);
    scanCube(cam, testing::cubeClasses(FaceletCube{}, testing::kStandardFaceClass), testing::kEvenLight, 1);
    cam.scan();  // B again
    EXPECT_EQ(cam.face(), 'L');
    cam.clearCube();
    EXPECT_EQ(cam.face(), 'B');
    EXPECT_FALSE(cam.scanned('B'));
    for (auto v : cam.cube().f) EXPECT_EQ(v, kUndefinedFacelet);
    for (int cls : cam.liveClasses()) EXPECT_EQ(cls, kUnknownClass);
}

// A capture thread delivers frames while the window thread scans: every scanned face must come
// from one frame, all red or all blue, never a mixture of two frames.
TEST(SharedTables, AScannedFaceNeverMixesTwoFrames) {
    Webcam cam;
    cam.setSettings(automatic());
    // Tiny frames: measuring is quick, so frames are published as often as possible.
    const Image red = renderFace({0, 0, 0, 0, 0, 0, 0, 0, 0}, testing::kEvenLight, 1, 48, 48);
    const Image blue = renderFace({2, 2, 2, 2, 2, 2, 2, 2, 2}, testing::kEvenLight, 2, 48, 48);
    const ColorMeasure redCentre = measureSquares(red.view(), GridSpacing{})[4];
    const ColorMeasure blueCentre = measureSquares(blue.view(), GridSpacing{})[4];
    std::atomic<bool> stop{false};
    std::atomic<int> frames{0};
    std::jthread capture([&] {
        for (int k = 0; !stop; ++k) {
            cam.processFrame((k % 2 ? blue : red).view());
            ++frames;
        }
    });
    while (frames == 0) std::this_thread::yield();
    int mixed = 0;
    for (int scans = 0; scans < 20000 || frames < 20000; ++scans) {
        cam.scan();
        const CubeMeasures stored = cam.storedMeasures();
        const char face = Webcam::kScanOrder[(static_cast<std::size_t>(scans)) % 6];
        const int base = 9 * colorOfLetter(face);
        const int first = stored[base + 4].hue;
        for (int k = 0; k < 9; ++k) mixed += stored[base + k].hue != first ? 1 : 0;
        EXPECT_TRUE(stored[base + 4] == redCentre || stored[base + 4] == blueCentre);
    }
    stop = true;
    EXPECT_EQ(mixed, 0);
}

}  // namespace
}  // namespace tx
