#include "workspace/facelet_editor.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>

#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_folder.hpp"
#include "workspace/settings.hpp"

namespace tx {
namespace {

namespace fs = std::filesystem;
using Click = FaceletEditor::Click;

FaceletCube solved() { return FaceletCube(); }

// ---------------------------------------------------------------------------------------
// Picture geometry

TEST(PictureGeometry, CornerPointsOfEachFaceShape) {
    PictureGeometry g;  // c = 10 at the origin
    EXPECT_EQ(g.polygon(0), (FaceletQuad{{{150, 0}, {180, 0}, {160, 20}, {130, 20}}}));   // U0
    EXPECT_EQ(g.polygon(8), (FaceletQuad{{{170, 40}, {200, 40}, {180, 60}, {150, 60}}})); // U8
    EXPECT_EQ(g.polygon(9), (FaceletQuad{{{180, 60}, {200, 40}, {200, 70}, {180, 90}}})); // R0
    EXPECT_EQ(g.polygon(17), (FaceletQuad{{{220, 80}, {240, 60}, {240, 90}, {220, 110}}})); // R8
    EXPECT_EQ(g.polygon(18), (FaceletQuad{{{90, 60}, {120, 60}, {120, 90}, {90, 90}}}));   // F0
    EXPECT_EQ(g.polygon(35), (FaceletQuad{{{150, 210}, {180, 210}, {180, 240}, {150, 240}}})); // D8
    EXPECT_EQ(g.polygon(36), (FaceletQuad{{{0, 60}, {30, 60}, {30, 90}, {0, 90}}}));       // L0
    EXPECT_EQ(g.polygon(53), (FaceletQuad{{{300, 60}, {330, 60}, {330, 90}, {300, 90}}})); // B8
}

TEST(PictureGeometry, OriginAndScrollShiftEveryPoint) {
    PictureGeometry plain{12, 0, 0, 0, 0};
    PictureGeometry moved{12, 40, 25, 7, 3};
    for (int n = 0; n < kFacelets; ++n) {
        auto a = plain.polygon(n), b = moved.polygon(n);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(b[k].x, a[k].x + 40 - 7);
            EXPECT_EQ(b[k].y, a[k].y + 25 - 3);
        }
    }
}

// Every facelet owns exactly as many pixels as its area, and no pixel has two owners: the
// picture has neither gaps nor overlaps along the shared borders.
TEST(PictureGeometry, HitTestPartitionsThePicture) {
    for (int c : {3, 7, 10}) {
        PictureGeometry g{c, 2, 1, 0, 0};
        std::array<int, kFacelets> owned{};
        for (int y = -2; y < g.height() + 4; ++y)
            for (int x = -2; x < g.width() + 4; ++x) {
                int owners = 0;
                for (int n = 0; n < kFacelets; ++n)
                    if (g.contains(n, x, y)) {
                        ++owners;
                        ++owned[n];
                        EXPECT_EQ(g.hitTest(x, y), n);
                    }
                ASSERT_LE(owners, 1) << "pixel " << x << "," << y << " size " << c;
                if (owners == 0) {
                    ASSERT_EQ(g.hitTest(x, y), -1);
                }
            }
        for (int n = 0; n < kFacelets; ++n) {
            int face = n / 9;
            int area = face == U || face == R ? 6 * c * c : 9 * c * c;
            EXPECT_EQ(owned[n], area) << "facelet " << n << " size " << c;
        }
    }
}

TEST(PictureGeometry, HitTestFindsFaceletCentresAndMissesEmptyCorners) {
    std::mt19937 rng(3);
    for (int round = 0; round < 50; ++round) {
        PictureGeometry g{static_cast<int>(rng() % 20) + 2, static_cast<int>(rng() % 50),
                          static_cast<int>(rng() % 50), static_cast<int>(rng() % 30),
                          static_cast<int>(rng() % 30)};
        for (int n = 0; n < kFacelets; ++n) {
            auto q = g.polygon(n);
            int cx = (q[0].x + q[1].x + q[2].x + q[3].x) / 4;
            int cy = (q[0].y + q[1].y + q[2].y + q[3].y) / 4;
            EXPECT_EQ(g.hitTest(cx, cy), n);
        }
        int x0 = g.originX - g.scrollX, y0 = g.originY - g.scrollY;
        EXPECT_EQ(g.hitTest(x0 + 1, y0 + 1), -1);                            // above L
        EXPECT_EQ(g.hitTest(x0 + g.width() - 2, y0 + g.height() - 2), -1);  // below B
        EXPECT_EQ(g.hitTest(x0 - 1, y0 + 7 * g.size), -1);                  // left of L
    }
}

TEST(PictureGeometry, CentreMarksLieInTheNamedPartOfTheCentre) {
    PictureGeometry g{10, 5, 5, 0, 0};
    for (int face = 0; face < 6; ++face) {
        auto q = g.polygon(9 * face + 4);
        double cx = (q[0].x + q[1].x + q[2].x + q[3].x) / 4.0;
        double cy = (q[0].y + q[1].y + q[2].y + q[3].y) / 4.0;
        CenterMark m[4];
        for (int o = 0; o < 4; ++o) {
            m[o] = g.centerMark(face, o);
            EXPECT_EQ(g.hitTest(static_cast<int>(m[o].cx), static_cast<int>(m[o].cy)), 9 * face + 4);
            EXPECT_GT(m[o].rx, 0);
            EXPECT_GT(m[o].ry, 0);
        }
        EXPECT_LT(m[0].cy, cy) << "top, face " << face;
        EXPECT_GT(m[1].cx, cx) << "right, face " << face;
        EXPECT_GT(m[2].cy, cy) << "bottom, face " << face;
        EXPECT_LT(m[3].cx, cx) << "left, face " << face;
    }
}

// ---------------------------------------------------------------------------------------
// Painting

TEST(FaceletPaint, ValuesModesAndHatches) {
    ColorScheme s = ColorScheme::defaults();
    EXPECT_EQ(s.colors, (std::array<std::uint32_t, 7>{16711680, 65535, 255, 32768, 16777215, 33023, 8421504}));
    for (int v = 0; v <= 6; ++v) EXPECT_EQ(faceletPaint(0, v, 0, s), (FaceletPaint{FaceletFill::Solid, s[v]}));
    for (int v = 7; v <= 12; ++v)
        EXPECT_EQ(faceletPaint(1, v, 0, s), (FaceletPaint{FaceletFill::Cross, s[v - 7]}));
    EXPECT_EQ(faceletPaint(2, 13, 0, s), (FaceletPaint{FaceletFill::BackDiagonal, s[0]}));

    // Mode 1 shows corners only: edge places in the free colour.
    for (int place = 0; place < 9; ++place) {
        int n = 18 + place;
        bool edge = place % 2 == 1;
        EXPECT_EQ(faceletPaint(n, 3, 1, s).color, edge ? s[6] : s[3]) << place;
        bool corner = place % 2 == 0 && place != 4;
        EXPECT_EQ(faceletPaint(n, 3, 2, s).color, corner ? s[6] : s[3]) << place;
    }
    // Mode 4 ignores the scheme.
    const std::array<std::uint32_t, 7> fixed = {0x0000FF, 0x0080FF, 0xFF0000, 0x008000, 0x00FFFF, 0xFFFFFF, 0x808080};
    ColorScheme odd{{1, 2, 3, 4, 5, 6, 7}};
    for (int v = 0; v <= 6; ++v) EXPECT_EQ(faceletPaint(4, v, 4, odd).color, fixed[v]);
    EXPECT_EQ(faceletPaint(5, 9, 4, odd), (FaceletPaint{FaceletFill::Cross, fixed[2]}));
}

// ---------------------------------------------------------------------------------------
// The editor model

class EditorWithFile : public ::testing::Test {
protected:
    fs::path ini() const { return dir_ / "cube.ini"; }
    testing::TempFolder folder_{"editor"};
    const fs::path dir_ = folder_.path();
};

TEST_F(EditorWithFile, StartsFromSettingsOrDefaults) {
    {
        FaceletEditor plain(nullptr);
        EXPECT_EQ(plain.scheme().colors, ColorScheme::defaults().colors);
        EXPECT_TRUE(plain.autoFix());
        EXPECT_EQ(plain.currentColor(), 0);
        EXPECT_EQ(plain.cube(), solved());
    }
    {
        std::ofstream out(ini());
        out << "[Color Scheme]\nRColor=123\nFreeColor=garbage\n[Faclet Editor]\nAutoFix=0\n";
    }
    Settings settings(ini());
    FaceletEditor e(&settings);
    EXPECT_EQ(e.scheme()[1], 123u);
    EXPECT_EQ(e.scheme()[6], 8421504u);
    EXPECT_FALSE(e.autoFix());
    e.setAutoFix(true);
    EXPECT_TRUE(Settings(ini()).readBool("Faclet Editor", "AutoFix", false));
    e.setAutoFix(false);
    EXPECT_EQ(Settings(ini()).readInt("Faclet Editor", "AutoFix", 7), 0);
}

TEST_F(EditorWithFile, CustomizeWritesTheCurrentColoursKey) {
    Settings settings(ini());
    FaceletEditor e(&settings);
    e.setCurrentColor(2);
    e.customizeCurrentColor(0x123456);
    EXPECT_EQ(e.scheme()[2], 0x123456u);
    EXPECT_EQ(Settings(ini()).readInt("Color Scheme", "FColor", 0), 0x123456);
    FaceletEditor again(&settings);
    EXPECT_EQ(again.scheme()[2], 0x123456u);
    EXPECT_EQ(again.scheme()[0], 16711680u);
}

TEST(FaceletEditorClicks, CentresPickTheCurrentColour) {
    FaceletEditor e;
    for (Click k : {Click::Left, Click::ShiftLeft, Click::CtrlLeft}) {
        e.setCurrentColor(0);
        auto r = e.click(9 * 3 + 4, k, nullptr);
        EXPECT_EQ(e.currentColor(), 3);
        EXPECT_TRUE(r.currentColorChanged);
        EXPECT_FALSE(r.cubeChanged);
    }
    EXPECT_EQ(e.cube(), solved());
}

TEST(FaceletEditorClicks, RightClickOnACentreAsksForTheDialogOnlyWhenCentresCount) {
    FaceletEditor e;
    auto r = e.click(22, Click::Right, nullptr);
    EXPECT_FALSE(r.centerDialogRequested);
    EXPECT_FALSE(r.cubeChanged);
    EXPECT_EQ(e.cube(), solved());
    e.setCentersCount(true);
    EXPECT_TRUE(e.click(22, Click::Right, nullptr).centerDialogRequested);
    EXPECT_FALSE(e.click(21, Click::Right, nullptr).centerDialogRequested);
}

TEST(FaceletEditorClicks, WithoutAutoFixOnlyThePaintedFaceletChanges) {
    FaceletEditor e;
    e.setAutoFix(false);
    e.setCurrentColor(3);
    FaceletCube expected = solved();
    struct Step { int facelet; Click kind; std::uint8_t value; };
    for (Step s : {Step{8, Click::Left, 3}, Step{19, Click::ShiftLeft, 10}, Step{30, Click::CtrlLeft, 13},
                   Step{47, Click::Right, 6}}) {
        auto r = e.click(s.facelet, s.kind, nullptr);
        EXPECT_TRUE(r.cubeChanged);
        expected.f[s.facelet] = s.value;
        EXPECT_EQ(e.cube().f, expected.f);
    }
    EXPECT_FALSE(e.click(-1, Click::Left, nullptr).cubeChanged);
    EXPECT_FALSE(e.click(54, Click::Left, nullptr).cubeChanged);
}

TEST(FaceletEditorClicks, ClickAtUsesTheHitTest) {
    FaceletEditor e;
    e.setAutoFix(false);
    e.setCurrentColor(5);
    auto q = e.geometry().polygon(25);
    auto r = e.clickAt(q[0].x + 5, q[0].y + 5, Click::Left, nullptr);
    EXPECT_EQ(r.facelet, 25);
    EXPECT_EQ(e.cube().f[25], 5);
    EXPECT_EQ(e.clickAt(1, 1, Click::Left, nullptr).facelet, -1);
}

TEST(FaceletEditorFix, TwoFaceletsOfACornerFillTheThird) {
    FaceletEditor e;
    e.emptyAll();
    e.setCurrentColor(0);
    e.click(8, Click::Left, nullptr);  // U8
    e.setCurrentColor(1);
    e.click(9, Click::Left, nullptr);  // R0
    EXPECT_EQ(e.cube().f[20], 2) << "F2 completes the URF corner";
}

TEST(FaceletEditorFix, ImpossibleCornerClearsItsOtherFacelets) {
    FaceletEditor e;
    e.setCurrentColor(3);  // D beside U on the URF corner
    e.click(20, Click::Left, nullptr);
    EXPECT_EQ(e.cube().f[20], 3);
    EXPECT_EQ(e.cube().f[8], 6);
    EXPECT_EQ(e.cube().f[9], 6);
}

TEST(FaceletEditorFix, SecondCopyOfACubieClearsTheOlderOne) {
    FaceletEditor e;
    e.emptyAll();
    // Edge UF painted at home, then the same colours on UR.
    e.setCurrentColor(0);
    e.click(7, Click::Left, nullptr);
    e.setCurrentColor(2);
    e.click(19, Click::Left, nullptr);
    ASSERT_EQ(e.cube().f[7], 0);
    ASSERT_EQ(e.cube().f[19], 2);
    e.setCurrentColor(0);
    e.click(5, Click::Left, nullptr);
    e.setCurrentColor(2);
    e.click(10, Click::Left, nullptr);
    EXPECT_EQ(e.cube().f[5], 0);
    EXPECT_EQ(e.cube().f[10], 2);
    EXPECT_EQ(e.cube().f[7], 6);
    EXPECT_EQ(e.cube().f[19], 6);
}

TEST(FaceletEditorFix, TwistedCornerGivesTheMessageAndIsTurnedBack) {
    FaceletEditor e;
    e.setAutoFix(false);
    e.cube().f[8] = 2;   // U8 shows F
    e.cube().f[9] = 0;   // R0 shows U
    e.cube().f[20] = 1;  // F2 shows R
    e.setAutoFix(true);
    e.setCurrentColor(0);
    ScriptedPrompts prompts;
    e.click(7, Click::Left, &prompts);  // repaint U7 with its own colour: the check runs
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Twist Error. The twist of the URF-Corner will be changed.");
    EXPECT_EQ(prompts.shown[0].caption, "Facelet Editor");
    EXPECT_EQ(prompts.shown[0].icon, Icon::Warning);
    EXPECT_EQ(prompts.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(e.cube(), solved());
}

// ---------------------------------------------------------------------------------------
// Buttons

// The colour shown at each facelet position, as the picture paints it.
std::array<std::uint32_t, kFacelets> shown(const FaceletEditor& e) {
    std::array<std::uint32_t, kFacelets> out{};
    for (int n = 0; n < kFacelets; ++n) out[n] = faceletPaint(n, e.cube().f[n], 0, e.scheme()).color;
    return out;
}

TEST(FaceletEditorButtons, TurnsMoveThePhysicalColoursOfThePicture) {
    std::mt19937 rng(11);
    MersenneTwister mt(5);
    FaceletEditor e;
    for (int round = 0; round < 200; ++round) {
        if (round % 20 == 0) e.randomize(mt);
        int code = static_cast<int>(rng() % kFaceletTurns);
        auto before = shown(e);
        e.turn(code);
        auto after = shown(e);
        const auto& perm = FaceletCube::permutation(code);
        for (int n = 0; n < kFacelets; ++n)
            ASSERT_EQ(after[perm[n]], before[n]) << "turn " << code << " facelet " << n;
    }
}

TEST(FaceletEditorButtons, RightClickIsTheInverse) {
    MersenneTwister mt(9);
    for (int code = 0; code < kFaceletTurns; ++code) {
        FaceletEditor e;
        e.randomize(mt);
        const FaceletCube start = e.cube();
        const ColorScheme scheme = e.scheme();
        e.turnButton(code, false);
        if (code < kTurnX) {
            FaceletCube once = start;
            once.turn(code);
            EXPECT_EQ(e.cube(), once);
            EXPECT_EQ(e.scheme().colors, scheme.colors) << "face turns leave the scheme";
        }
        e.turnButton(code, true);
        EXPECT_EQ(e.cube(), start) << code;
        EXPECT_EQ(e.scheme().colors, scheme.colors) << code;
    }
}

TEST(FaceletEditorButtons, RotationsPermuteTheSchemeAndKeepTheCubeSolved) {
    FaceletEditor e;
    const ColorScheme start = e.scheme();
    e.turn(kTurnX);
    EXPECT_EQ(e.cube().f, solved().f);
    EXPECT_NE(e.scheme().colors, start.colors);
    EXPECT_EQ(e.scheme()[6], start[6]) << "the free colour stays";
    // After x the F colour (red) is on top: the U facelets show it.
    EXPECT_EQ(e.scheme()[0], start[2]);
    for (int i = 0; i < 3; ++i) e.turn(kTurnX);
    EXPECT_EQ(e.scheme().colors, start.colors);
}

TEST(FaceletEditorButtons, EmptyAndClearVariants) {
    const std::array<int, 4> corners = {0, 2, 6, 8}, edges = {1, 3, 5, 7};
    FaceletEditor e;
    e.cube().centerOri = {1, 2, 3, 0, 1, 2};
    e.emptyCorners();
    for (int n = 0; n < kFacelets; ++n) {
        int place = n % 9;
        bool corner = std::find(corners.begin(), corners.end(), place) != corners.end();
        EXPECT_EQ(e.cube().f[n], corner ? 6 : n / 9) << n;
    }
    EXPECT_EQ(e.cube().centerOri, (std::array<std::uint8_t, 6>{}));
    e.emptyEdges();
    for (int n = 0; n < kFacelets; ++n) EXPECT_EQ(e.cube().f[n], n % 9 == 4 ? n / 9 : 6) << n;
    e.clearEdges();
    for (int n = 0; n < kFacelets; ++n) {
        bool edge = std::find(edges.begin(), edges.end(), n % 9) != edges.end();
        EXPECT_EQ(e.cube().f[n], edge || n % 9 == 4 ? n / 9 : 6) << n;
    }
    e.cube().centerOri = {3, 3, 3, 3, 3, 3};
    e.clearCorners();
    EXPECT_EQ(e.cube(), solved());
    e.emptyAll();
    for (int n = 0; n < kFacelets; ++n) EXPECT_EQ(e.cube().f[n], n % 9 == 4 ? n / 9 : 6) << n;
    e.cube().centerOri[2] = 1;
    e.clearAll();
    EXPECT_EQ(e.cube(), solved());
}

TEST(FaceletEditorButtons, RandomCubesAreCompleteAndPassTheCheck) {
    MersenneTwister a(1234), b(1234);
    FaceletEditor e1, e2;
    for (int i = 0; i < 100; ++i) {
        e1.randomize(a);
        e2.randomize(b);
        ASSERT_EQ(e1.cube(), e2.cube()) << "the same seed gives the same cubes";
        ASSERT_TRUE(e1.cube().isComplete());
        FaceletCube copy = e1.cube();
        ASSERT_TRUE(copy.checkAll());
        ASSERT_EQ(copy.f, e1.cube().f);
    }
}

TEST(FaceletEditorButtons, ManeuverFieldTurnsTheCubeAndTheScheme) {
    FaceletEditor e;
    EXPECT_EQ(e.applyManeuverField("R U R' U'"), 4);
    FaceletEditor manual;
    for (int code : {1, 0}) manual.turn(code);
    for (int code : {1, 0}) manual.turnButton(code, true);
    EXPECT_EQ(e.cube(), manual.cube());
    e.applyManeuverField("(R U R' U')5");
    EXPECT_EQ(e.cube(), solved()) << "the sexy move has order 6";

    FaceletEditor f, g;
    f.applyManeuverField("x y2 M E' S R");
    for (int code : {kTurnX, kTurnY, kTurnY, kTurnM, kTurnE, kTurnE, kTurnE, kTurnS, 1}) g.turn(code);
    EXPECT_EQ(f.cube(), g.cube());
    EXPECT_EQ(f.scheme().colors, g.scheme().colors) << "rotations in the field permute the scheme";
}

// ---------------------------------------------------------------------------------------
// Centre orientation

TEST(CenterDialog, OkFollowsTheParityOfTheCentreRotations) {
    FaceletEditor e;
    e.setCentersCount(true);
    e.openCenterDialog();
    EXPECT_TRUE(e.centerOkEnabled());
    EXPECT_FALSE(e.setCenterRotation(U, 1));
    EXPECT_TRUE(e.setCenterRotation(R, 1));
    EXPECT_EQ(e.cube().centerOri, (std::array<std::uint8_t, 6>{1, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(e.setCenterRotation(F, 2));
    EXPECT_FALSE(e.setCenterRotation(D, 3));

    // One quarter turn makes the corner permutation odd: an odd sum of rotations is right.
    FaceletEditor turned;
    turned.turn(0);
    turned.cube().centerOri.fill(0);
    EXPECT_FALSE(turned.centerOkEnabled());
    EXPECT_TRUE(turned.setCenterRotation(B, 3));
}

TEST(CenterDialog, EdgesDecideWhenCornersAreOpenAndNothingDecidesWhenBothAre) {
    FaceletEditor e;
    e.turn(0);
    e.cube().centerOri.fill(0);
    e.emptyCorners();  // also resets the rotations
    EXPECT_FALSE(e.centerOkEnabled()) << "edges are odd after U";
    EXPECT_TRUE(e.setCenterRotation(L, 1));
    e.emptyEdges();
    for (int ori = 0; ori < 4; ++ori) EXPECT_TRUE(e.setCenterRotation(U, ori));
}

TEST(CenterDialog, EmptyClearRandomAndSwitchingOffCloseIt) {
    MersenneTwister mt(2);
    FaceletEditor e;
    e.setCentersCount(true);
    for (int step = 0; step < 4; ++step) {
        e.openCenterDialog();
        EXPECT_FALSE(e.faceButtonsEnabled());
        switch (step) {
            case 0: e.emptyAll(); break;
            case 1: e.clearAll(); break;
            case 2: e.randomize(mt); break;
            case 3: e.setCentersCount(false); break;
        }
        EXPECT_FALSE(e.centerDialogOpen()) << step;
        EXPECT_TRUE(e.faceButtonsEnabled()) << step;
    }
    EXPECT_FALSE(e.cube().centersCount);
}

}  // namespace
}  // namespace tx
