// The request logic without sockets: frames, path extraction, the order of the request
// table, the small parsers and the facelet reader with its checks.
#include <gtest/gtest.h>

#include <filesystem>

#include "cube/facelet_cube.hpp"
#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "server/request.hpp"
#include "server/webcam_port.hpp"
#include "server_support.hpp"

namespace tx::test {
namespace {

using http::RequestKind;

TEST(AnswerFrames, AreTheExactBytes) {
    EXPECT_EQ(http::htmlAnswer("abc"), "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\nabc\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(http::htmlAnswer(""), "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\n\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(http::refusalAnswer(),
              "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\ninvalid request\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(http::doneAnswer(), "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\nDone!\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(http::fileAnswerHeader(),
              "HTTP/1.0 200 OK\r\nLast-Modified: Mon, 15 Jan 2004 11:11:11 GMT\r\n\r\n");
}

TEST(RequestText, EndsAtTheFirstZeroByte) {
    EXPECT_EQ(http::requestText(std::string("GET /a\0b HTTP", 13)), "GET /a");
    EXPECT_EQ(http::requestText(std::string("\0GET / HTTP", 11)), "");
    EXPECT_EQ(http::requestText("GET / HTTP/1.0"), "GET / HTTP/1.0");
}

TEST(ExtractPath, TakesTheTextBetweenGetAndHttp) {
    EXPECT_EQ(http::extractPath("GET /?getLast HTTP/1.0\r\n\r\n"), "?getLast");
    EXPECT_EQ(http::extractPath("GET / HTTP/1.1\r\nHost: x\r\n\r\n"), "");
    EXPECT_EQ(http::extractPath("GET HTTP/1.0"), "");
    // Blanks and control characters are trimmed on both sides, then one "/" goes.
    EXPECT_EQ(http::extractPath("GET \t\x01 //faces/u.gif \x7f\x02\r HTTP/1.0"), "/faces/u.gif \x7f");
    EXPECT_EQ(http::extractPath("xxGET/abc HTTP"), "abc");
    // Inner blanks stay.
    EXPECT_EQ(http::extractPath("GET /?UUU RRR HTTP/1.0"), "?UUU RRR");
    // The first "GET" and the first "HTTP" count.
    EXPECT_EQ(http::extractPath("GET /a GET /b HTTP/1.0 HTTP"), "a GET /b");
}

TEST(ExtractPath, MissingOrMisplacedWordsGiveAnEmptyPath) {
    EXPECT_EQ(http::extractPath(""), "");
    EXPECT_EQ(http::extractPath("POST /?getLast HTTP/1.0"), "");
    EXPECT_EQ(http::extractPath("GET /?getLast"), "");
    EXPECT_EQ(http::extractPath("HTTP/1.0 GET /?getLast"), "");
    EXPECT_EQ(http::extractPath("GEHTTP"), "");
    EXPECT_EQ(http::extractPath("GETTP HTTP"), "TP");
    EXPECT_EQ(http::extractPath("GETHTTP"), "");
}

TEST(Classify, FollowsTheTableOrder) {
    EXPECT_EQ(http::classify(""), RequestKind::Empty);
    EXPECT_EQ(http::classify("faces/u.gif"), RequestKind::File);
    EXPECT_EQ(http::classify("gif?getLast/faces"), RequestKind::File);  // file row first
    EXPECT_EQ(http::classify("faces/u.png"), RequestKind::Facelets);    // needs both words
    EXPECT_EQ(http::classify("?getLast"), RequestKind::GetLast);
    EXPECT_EQ(http::classify("x?getlast"), RequestKind::GetLast);
    EXPECT_EQ(http::classify("?GetLast"), RequestKind::Facelets);  // only the two spellings
    EXPECT_EQ(http::classify("?status?getLast"), RequestKind::GetLast);
    EXPECT_EQ(http::classify("?status"), RequestKind::Status);
    EXPECT_EQ(http::classify("?Status"), RequestKind::Status);
    EXPECT_EQ(http::classify("?connect?status"), RequestKind::Status);
    EXPECT_EQ(http::classify("?connect1"), RequestKind::Connect);
    EXPECT_EQ(http::classify("?Connect1"), RequestKind::Connect);
    EXPECT_EQ(http::classify("?clear?connect"), RequestKind::Connect);
    EXPECT_EQ(http::classify("?clear"), RequestKind::Clear);
    EXPECT_EQ(http::classify("?Clear"), RequestKind::Clear);
    EXPECT_EQ(http::classify("?scanU?clear"), RequestKind::Clear);
    EXPECT_EQ(http::classify("?scanU"), RequestKind::Scan);
    EXPECT_EQ(http::classify("?Scanu"), RequestKind::Facelets);
    EXPECT_EQ(http::classify("?transfer?scanU"), RequestKind::Scan);
    EXPECT_EQ(http::classify("?transfer"), RequestKind::Transfer);
    EXPECT_EQ(http::classify("?UUUUUUUUU"), RequestKind::Facelets);
    EXPECT_EQ(http::classify("hello"), RequestKind::Facelets);
}

TEST(ConnectDeviceIndex, IsTheLastCharacterAsADigit) {
    EXPECT_EQ(http::connectDeviceIndex("?connect0"), 0);
    EXPECT_EQ(http::connectDeviceIndex("?connect7"), 7);
    EXPECT_EQ(http::connectDeviceIndex("?connect12"), 2);  // one character only
    EXPECT_EQ(http::connectDeviceIndex("?Connect"), std::nullopt);
    EXPECT_EQ(http::connectDeviceIndex("?connect3 "), std::nullopt);
    EXPECT_EQ(http::connectDeviceIndex("?connect-"), std::nullopt);
    EXPECT_EQ(http::connectDeviceIndex(""), std::nullopt);
}

TEST(ScanFace, IsTheLetterRightAfterScan) {
    const std::string faces = "BDFLRU";
    for (char f : faces) {
        EXPECT_EQ(http::scanFace(std::string("?scan") + f), f);
        EXPECT_EQ(http::scanFace(std::string("x?scan") + char(f - 'A' + 'a') + "zz"), f);
    }
    EXPECT_EQ(http::scanFace("?scanX"), std::nullopt);
    EXPECT_EQ(http::scanFace("?scan"), std::nullopt);
    EXPECT_EQ(http::scanFace("?scan U"), std::nullopt);
    EXPECT_EQ(http::scanFace("?scan1"), std::nullopt);
}

TEST(FaceletLetters, StartAfterTheFirstQuestionMark) {
    EXPECT_EQ(http::faceletLetters("?abc?def"), "abc?def");
    EXPECT_EQ(http::faceletLetters("x?"), "");
    EXPECT_EQ(http::faceletLetters("UUU"), "UUU");  // no "?": the whole path
}

TEST(ReadFaceletRequest, AcceptsEveryRandomCubeInBothCasesWithSeparators) {
    MersenneTwister rng(12345);
    for (int i = 0; i < 300; ++i) {
        FaceletCube original;
        randomCube(original, rng);
        const std::string letters = original.faceletString();
        std::string lower, spaced;
        for (std::size_t k = 0; k < letters.size(); ++k) {
            lower += char(letters[k] - 'A' + 'a');
            spaced += letters[k];
            if (k % 9 == 8) spaced += "%20-_ 7";  // anything but a face letter is skipped
        }
        FaceletCube a, b, c;
        ASSERT_EQ(http::readFaceletRequest("?" + letters, a), "") << letters;
        EXPECT_EQ(a.f, original.f);
        ASSERT_EQ(http::readFaceletRequest("solve?" + lower, b), "");
        EXPECT_EQ(b.f, original.f);
        ASSERT_EQ(http::readFaceletRequest("?" + spaced, c), "");
        EXPECT_EQ(c.f, original.f);
    }
}

TEST(ReadFaceletRequest, ReadsAtMost54LettersAndStopsAtALineEnd) {
    FaceletCube cube;
    EXPECT_EQ(http::readFaceletRequest("?" + solvedFacelets() + "RRRR", cube), "");
    EXPECT_EQ(cube, FaceletCube());
    // Letters after a line end are not read.
    const std::string s = solvedFacelets();
    EXPECT_EQ(http::readFaceletRequest("?" + s.substr(0, 30) + "\r" + s.substr(30), cube),
              http::kCannotSolveText);
}

TEST(ReadFaceletRequest, FiftyThreeLettersCannotBeSolved) {
    FaceletCube cube;
    EXPECT_EQ(http::readFaceletRequest("?" + solvedFacelets().substr(0, 53), cube), http::kCannotSolveText);
    EXPECT_EQ(http::readFaceletRequest("?", cube), http::kCannotSolveText);
    EXPECT_EQ(http::readFaceletRequest("?getLsst", cube), http::kCannotSolveText);
}

TEST(ReadFaceletRequest, EmptiesTheCubeFirst) {
    FaceletCube cube;
    cube.turn(0);
    EXPECT_EQ(http::readFaceletRequest("?UUU", cube), http::kCannotSolveText);
    // Only the three letters were used; everything else was emptied.
    EXPECT_EQ(cube.f[0], 0);
    EXPECT_EQ(cube.f[9], kUndefinedFacelet);
}

// A facelet string carries straight centres: when they count, a cube an odd number of
// quarter turns away cannot be reached and is not solved.
TEST(ReadFaceletRequest, CentreParityWhenCentresCount) {
    FaceletCube quarter;
    applyManeuver(quarter, "R");
    FaceletCube editor;
    EXPECT_EQ(http::readFaceletRequest("?" + quarter.faceletString(), editor), "");
    editor.centersCount = true;
    EXPECT_EQ(http::readFaceletRequest("?" + quarter.faceletString(), editor), http::kCannotSolveText);
    FaceletCube twoTurns;
    applyManeuver(twoTurns, "R U");
    editor.centersCount = true;
    EXPECT_EQ(http::readFaceletRequest("?" + twoTurns.faceletString(), editor), "");
    EXPECT_TRUE(editor.centersCount);
}

TEST(ReadFaceletRequest, ACubeThatTheCheckWouldAlterIsNotSolved) {
    auto altered = [](auto change) {
        FaceletCube cube;
        change(cube);
        FaceletCube read;
        return http::readFaceletRequest("?" + cube.faceletString(), read);
    };
    // A twisted URF corner.
    EXPECT_EQ(altered([](FaceletCube& c) {
                  std::swap(c.f[8], c.f[9]);
                  std::swap(c.f[8], c.f[20]);
              }),
              http::kCannotSolveText);
    // A flipped UF edge.
    EXPECT_EQ(altered([](FaceletCube& c) { std::swap(c.f[7], c.f[19]); }), http::kCannotSolveText);
    // Two edges exchanged: odd parity.
    EXPECT_EQ(altered([](FaceletCube& c) {
                  std::swap(c.f[7], c.f[5]);
                  std::swap(c.f[19], c.f[10]);
              }),
              http::kCannotSolveText);
    // A centre that is not its face's letter.
    EXPECT_EQ(altered([](FaceletCube& c) { std::swap(c.f[4], c.f[13]); }), http::kCannotSolveText);
    // Two equal corners.
    EXPECT_EQ(altered([](FaceletCube& c) {
                  c.f[6] = 0;
                  c.f[18] = 1;
                  c.f[38] = 2;
              }),
              http::kCannotSolveText);
    // And unchanged, the same cube is accepted.
    EXPECT_EQ(altered([](FaceletCube&) {}), "");
}

TEST(ResolveFacesFile, ServesRegularFilesInsideTheFolderOnly) {
    namespace fs = std::filesystem;
    TempFolder outside;
    TempFolder work;
    fs::create_directories(work.path() / "faces");
    writeFile(work.path() / "faces" / "u.gif", "GIF89a");
    writeFile(work.path() / "top-faces.gif", "x");
    writeFile(outside.path() / "secret-faces.gif", "secret");
    fs::create_symlink(outside.path() / "secret-faces.gif", work.path() / "faces" / "out.gif");
    fs::create_symlink(outside.path(), work.path() / "faces-outside");
    fs::create_symlink(work.path() / "faces" / "u.gif", work.path() / "faces" / "in.gif");
    fs::create_directories(work.path() / "faces" / "dir.gif");

    const fs::path root = fs::canonical(work.path());
    EXPECT_EQ(http::resolveFacesFile(work.path(), "faces/u.gif"), root / "faces" / "u.gif");
    EXPECT_EQ(http::resolveFacesFile(work.path(), "top-faces.gif"), root / "top-faces.gif");
    // A link that stays inside is followed.
    EXPECT_EQ(http::resolveFacesFile(work.path(), "faces/in.gif"), root / "faces" / "u.gif");

    EXPECT_EQ(http::resolveFacesFile(work.path(), "faces/../faces/u.gif"), std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), "../" + outside.path().filename().string() +
                                                      "/secret-faces.gif"),
              std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), (outside.path() / "secret-faces.gif").string()),
              std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), "/etc/faces.gif"), std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), "faces/out.gif"), std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), "faces-outside/secret-faces.gif"), std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), "faces/dir.gif"), std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), "faces/missing.gif"), std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), "faces/u.gif?x"), std::nullopt);
    EXPECT_EQ(http::resolveFacesFile(work.path(), ""), std::nullopt);
}

TEST(WebcamStatus, LettersForTheSixClassesAndXForTheRest) {
    FaceletCube cube;
    for (int i = 0; i < kFacelets; ++i) cube.f[i] = std::uint8_t(i % 14);
    const std::string s = webcamStatusText(cube);
    ASSERT_EQ(s.size(), 54u);
    for (int i = 0; i < kFacelets; ++i) EXPECT_EQ(s[i], "robgywxxxxxxxx"[i % 14]) << i;
}

TEST(NoCameraWebcam, AnswersAsTheProgramDoesWithoutACamera) {
    NoCameraWebcam cam;
    EXPECT_EQ(webcamStatusText(cam.webcamCube()), std::string(54, 'x'));
    EXPECT_EQ(cam.face(), 'B');
    EXPECT_EQ(cam.scan('F'), "Done!");
    EXPECT_EQ(cam.face(), 'R');  // the order is B, L, F, R, U, D
    EXPECT_EQ(cam.scan('D'), "Done!");
    EXPECT_EQ(cam.face(), 'B');
    EXPECT_EQ(webcamStatusText(cam.webcamCube()), std::string(54, 'x'));
    EXPECT_EQ(cam.transfer(), "Could not resolve the colors due to wrong input.");
}

}  // namespace
}  // namespace tx::test
