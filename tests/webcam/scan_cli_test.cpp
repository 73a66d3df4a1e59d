// tesserix-cli scan on photographs written as image files.
#ifdef TESSERIX_HAS_QTGUI

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <filesystem>

#include "cli/cli_runner.hpp"
#include "cube/random.hpp"
#include "cube_pictures.hpp"
#include "support/temp_folder.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using tx::testing::CliResult;
using tx::testing::runCli;

class ScanCli : public ::testing::Test {
protected:
    testing::TempFolder folder{"scan-cli"};
    const fs::path& dir = folder.path();

    // Writes one picture per face, each as the facelet string shows it, and answers the files.
    std::vector<std::string> writeFaces(const std::array<int, kFacelets>& classes, const testing::Lighting& light,
                                        const char* format = "png") {
        std::vector<std::string> files;
        for (int face = 0; face < 6; ++face) {
            const auto img = testing::renderFace(testing::netFace(classes, face), light, 17u * face, 800, 600);
            QImage q(img.rgb.data(), img.width, img.height, 3 * img.width, QImage::Format_RGB888);
            const fs::path file = dir / (std::string(1, "URFDLB"[face]) + "." + format);
            EXPECT_TRUE(q.save(QString::fromStdString(file.string()), nullptr, 100));
            files.push_back(file.string());
        }
        return files;
    }
};

TEST_F(ScanCli, PrintsTheFaceletStringOfRandomCubes) {
    MersenneTwister rng(1234);
    for (int n = 0; n < 3; ++n) {
        FaceletCube cube;
        if (n > 0) randomCube(cube, rng);
        const auto files = writeFaces(testing::cubeClasses(cube, testing::kStandardFaceClass), testing::kWarmUneven,
                                      n == 2 ? "jpg" : "png");
        const CliResult r = runCli({"scan", files[0], files[1], files[2], files[3], files[4], files[5]});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, cube.faceletString() + "\n");
    }
}

TEST_F(ScanCli, FacesAreNamedByTheirCentresAndOtherFormatsAreRead) {
    // Any colouring works: the faces are named by the centres. PPM files are read as well.
    MersenneTwister rng(5);
    FaceletCube cube;
    randomCube(cube, rng);
    const std::array<int, 6> faceClass = {kRed, kGreen, kWhite, kOrange, kBlue, kYellow};
    const auto files = writeFaces(testing::cubeClasses(cube, faceClass), testing::kEvenLight, "ppm");
    const CliResult r = runCli({"scan", "--split", "value", files[0], files[1], files[2], files[3], files[4], files[5]});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, cube.faceletString() + "\n");
}

TEST_F(ScanCli, FailuresPrintTheTransferMessageWithExitCode1) {
    // Six red faces: far too many reds.
    std::array<int, kFacelets> allRed{};
    allRed.fill(kRed);
    auto files = writeFaces(allRed, testing::kEvenLight);
    CliResult r = runCli({"scan", files[0], files[1], files[2], files[3], files[4], files[5]});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "Too many red and orange facelets.\n");
    // Classified, but the pictures of U and F exchanged: pieces that no cube has are cleared.
    MersenneTwister rng(8);
    FaceletCube cube;
    randomCube(cube, rng);
    files = writeFaces(testing::cubeClasses(cube, testing::kStandardFaceClass), testing::kEvenLight);
    std::swap(files[0], files[2]);
    r = runCli({"scan", files[0], files[1], files[2], files[3], files[4], files[5]});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "Could not resolve the colors due to wrong input.\n");
}

TEST_F(ScanCli, UsageAndUnreadableFiles) {
    CliResult r = runCli({"scan", "a.png"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("usage: tesserix-cli scan"), std::string::npos);
    const auto files = writeFaces(testing::cubeClasses(FaceletCube{}, testing::kStandardFaceClass), testing::kEvenLight);
    r = runCli({"scan", files[0], files[1], files[2], files[3], files[4], (dir / "missing.png").string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("cannot read the image"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
    r = runCli({"scan", "--split", "colour", files[0], files[1], files[2], files[3], files[4], files[5]});
    EXPECT_EQ(r.code, 2);
}

}  // namespace
}  // namespace tx

#endif
