// The modern web page in a real browser: headless Chromium opens the page at a step given in
// the URL fragment, and the screenshot must show the facelet colours of that step.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "support/temp_folder.hpp"
#include "workspace/html_page.hpp"
#include "workspace/modern_page.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

const fs::path kChromium = "/usr/bin/chromium";

// Colours that differ from each other, from the black outlines and from the page.
ColorScheme testScheme() {
    ColorScheme s;
    s.colors = {0xFF00FF, 0x00FFFF, 0x0000FF, 0x00C000, 0xFFFF00, 0x0080FF, 0x808080};
    return s;
}

class Browser : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kChromium)) GTEST_SKIP() << kChromium << " is not installed";
    }

    // Runs Chromium headless on the page with the fragment; answers its exit status.
    int chromium(const std::string& fragment, const std::string& what, const fs::path& out) {
        const fs::path profile = folder / ("profile-" + std::to_string(runs++));
        std::string cmd = "timeout 120 " + kChromium.string() +
                          " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                          " --disable-background-networking --disable-component-update --disable-sync"
                          " --hide-scrollbars --force-device-scale-factor=1 --force-color-profile=srgb"
                          " --window-size=900,1000 --user-data-dir='" + profile.string() + "' " + what;
        if (what == "--dump-dom") cmd += " 'file://" + page.string() + fragment + "' >'" + out.string() + "'";
        else cmd += "='" + out.string() + "' 'file://" + page.string() + fragment + "'";
        cmd += " 2>/dev/null";
        return std::system(cmd.c_str());
    }

    QImage screenshot(const std::string& fragment) {
        const fs::path png = folder / ("shot-" + std::to_string(runs) + ".png");
        EXPECT_EQ(chromium(fragment, "--screenshot", png), 0);
        QImage image(QString::fromStdString(png.string()));
        EXPECT_FALSE(image.isNull()) << png;
        return image;
    }

    // The colour in the middle of facelet n of the picture in row `row`.
    static QColor faceletColor(const QImage& image, int row, int n) {
        const FaceletQuad q = ModernLayout::picture(row).polygon(n);
        int x = 0, y = 0;
        for (const auto& p : q) {
            x += p.x;
            y += p.y;
        }
        return image.pixelColor(x / 4, y / 4);
    }

    static void expectColor(const QImage& image, int row, int n, std::uint32_t bgr, const std::string& what) {
        const QColor c = faceletColor(image, row, n);
        const int r = static_cast<int>(bgr & 0xFF), g = static_cast<int>((bgr >> 8) & 0xFF),
                  b = static_cast<int>((bgr >> 16) & 0xFF);
        EXPECT_TRUE(std::abs(c.red() - r) <= 3 && std::abs(c.green() - g) <= 3 && std::abs(c.blue() - b) <= 3)
            << what << ": facelet " << n << " of row " << row << " is " << c.name().toStdString() << ", not #"
            << colorText(bgr);
    }

    // Row 0: a cube whose maneuver R U undoes U' R'. Row 1: a cube of 12 random moves.
    void writePage() {
        auto simple = std::make_shared<Entry>();
        applyManeuver(simple->cube, "U' R'");
        simple->setSolverText("R U  (2f)", 2);
        simple->patternName = "R U";
        MersenneTwister rng(9);
        std::string scramble;
        for (int i = 0; i < 12; ++i) scramble += std::string(1, "URFDLB"[(i * 5 + rng.below(4)) % 6]) + "2' "[rng.below(3)] + ' ';
        random = std::make_shared<Entry>();
        applyManeuver(random->cube, scramble);
        random->setSolverText(inverseManeuver(scramble), 12);
        page = folder / "page.html";
        testing::writeFile(page, modernHtmlPage({simple, random}, "browser", scheme));
    }

    TempFolder folder{"browser"};
    fs::path page;
    std::shared_ptr<Entry> random;
    ColorScheme scheme = testScheme();
    int runs = 0;
};

TEST_F(Browser, ThePlayerShowsTheColoursOfTheStepAsked) {
    writePage();
    const std::vector<PlayerState> states = playerStates(random->cube, maneuverTokens(exportMoveText(*random)));
    ASSERT_EQ(states.size(), 13u);

    for (int step : {0, 1, 5, 12}) {
        const QImage image = screenshot(step == 0 ? "" : "#step=" + std::to_string(step));
        ASSERT_FALSE(image.isNull());
        for (int n = 0; n < kFacelets; ++n)
            expectColor(image, 1, n, scheme[states[static_cast<std::size_t>(step)][static_cast<std::size_t>(n)]],
                        "step " + std::to_string(step));
    }
}

TEST_F(Browser, OneStepOfRUndoesTheLastTurnOfTheScramble) {
    writePage();
    // After R the cube is U' of the solved cube: the top rows of the side faces come from
    // the face to their left, the rest is solved.
    const QImage image = screenshot("#step=1");
    ASSERT_FALSE(image.isNull());
    for (int p = 0; p < 9; ++p) {
        expectColor(image, 0, 9 * U + p, scheme[U], "U");
        expectColor(image, 0, 9 * D + p, scheme[D], "D");
        expectColor(image, 0, 9 * F + p, scheme[p < 3 ? L : F], "F");
        expectColor(image, 0, 9 * R + p, scheme[p < 3 ? F : R], "R");
        expectColor(image, 0, 9 * B + p, scheme[p < 3 ? R : B], "B");
        expectColor(image, 0, 9 * L + p, scheme[p < 3 ? B : L], "L");
    }
    // Past the end the player stops at the solved cube.
    const QImage end = screenshot("#step=99");
    for (int n = 0; n < kFacelets; ++n) expectColor(end, 0, n, scheme[n / 9], "solved");
}

TEST_F(Browser, TheCounterAndTheMovesFollowTheStep) {
    writePage();
    const fs::path dom = folder / "dom.html";
    ASSERT_EQ(chromium("#step=1", "--dump-dom", dom), 0);
    const std::string text = testing::readFile(dom);
    EXPECT_NE(text.find("<span class=\"count\">1 / 2</span>"), std::string::npos);
    EXPECT_NE(text.find("<span class=\"move done\">R</span> <span class=\"move next\">U</span>"), std::string::npos);
    EXPECT_NE(text.find("<span class=\"count\">1 / 12</span>"), std::string::npos);
    // Back is enabled at step 1 (no disabled attribute), the start of row 1 too.
    EXPECT_NE(text.find("<button class=\"back\">"), std::string::npos);
}

}  // namespace
}  // namespace tx
