#include <gtest/gtest.h>

#include <algorithm>

#include "cube/random.hpp"
#include "cube_pictures.hpp"
#include "webcam/classify.hpp"

namespace tx {
namespace {

using testing::kStandardFaceClass;
using testing::kStickerColor;

// Measures of a cube's stickers, each facelet a little brighter or darker than the next: the
// gains spread over `spread` around 1.
CubeMeasures measuresOf(const CubeClasses& classes, double spread = 0.3) {
    CubeMeasures m{};
    for (int i = 0; i < kFacelets; ++i) {
        const auto& c = kStickerColor[static_cast<std::size_t>(classes[static_cast<std::size_t>(i)])];
        const double gain = 1 + spread * (((i * 7) % 17) / 16.0 - 0.5);
        m[static_cast<std::size_t>(i)] = measureColor(std::min(255, int(c.r * gain)), std::min(255, int(c.g * gain)),
                                                      std::min(255, int(c.b * gain)));
    }
    return m;
}

CubeClasses solvedClasses() { return testing::cubeClasses(FaceletCube{}, kStandardFaceClass); }

std::vector<int> faceletsOf(const CubeClasses& classes, int cls) {
    std::vector<int> out;
    for (int i = 0; i < kFacelets; ++i)
        if (classes[static_cast<std::size_t>(i)] == cls) out.push_back(i);
    return out;
}

std::string failureOf(const CubeMeasures& m, RedOrangeSplit split = RedOrangeSplit::Hue) {
    return classifyAutomatic(m, HueThresholds{}, split).failure;
}

TEST(AutomaticClassification, SolvedAndRandomCubesByHueAndByValue) {
    // Lightness tells red from orange only under even light; hue copes with uneven light.
    MersenneTwister rng(20240611);
    for (int n = 0; n < 20; ++n) {
        FaceletCube cube;
        if (n > 0) randomCube(cube, rng);
        const CubeClasses expected = testing::cubeClasses(cube, kStandardFaceClass);
        AutoClassification result = classifyAutomatic(measuresOf(expected, 0.3), HueThresholds{}, RedOrangeSplit::Hue);
        ASSERT_TRUE(result.ok()) << result.failure;
        EXPECT_EQ(result.classes, expected) << "cube " << n;
        result = classifyAutomatic(measuresOf(expected, 0.1), HueThresholds{}, RedOrangeSplit::Value);
        ASSERT_TRUE(result.ok()) << result.failure;
        EXPECT_EQ(result.classes, expected) << "cube " << n;
    }
}

TEST(AutomaticClassification, RedAndOrangeFailures) {
    // Under even light no white is bright enough to lose its hue to clipping.
    const CubeClasses solved = solvedClasses();
    CubeMeasures m = measuresOf(solved, 0.1);
    // 28 reddish hues: ten yellows turn red.
    CubeMeasures tooMany = m;
    for (int i : faceletsOf(solved, kYellow)) tooMany[static_cast<std::size_t>(i)] = measureColor(200, 30, 25);
    tooMany[static_cast<std::size_t>(faceletsOf(solved, kWhite)[0])] = measureColor(200, 30, 25);
    EXPECT_EQ(failureOf(tooMany), "Too many red and orange facelets.");
    // 17: one red looks green.
    CubeMeasures tooFew = m;
    tooFew[static_cast<std::size_t>(faceletsOf(solved, kRed)[0])] = measureColor(25, 165, 75);
    EXPECT_EQ(failureOf(tooFew), "Not enough red and orange facelets");
    // 18 identical reds: neither hue nor lightness can split them.
    CubeMeasures alike = m;
    for (int i : faceletsOf(solved, kOrange)) alike[static_cast<std::size_t>(i)] = measureColor(190, 30, 25);
    for (int i : faceletsOf(solved, kRed)) alike[static_cast<std::size_t>(i)] = measureColor(190, 30, 25);
    EXPECT_EQ(failureOf(alike), "Could not distinguish some red and and orange facelets.");
    EXPECT_EQ(failureOf(alike, RedOrangeSplit::Value), "Could not distinguish some red and and orange facelets.");
}

TEST(AutomaticClassification, TheOtherMeasureBalancesRedAndOrange) {
    const CubeClasses solved = solvedClasses();
    // An orange facelet whose hue looks red keeps orange's lightness: the hue split makes ten
    // reds and eight oranges, and lightness hands it back (under even light).
    CubeMeasures m = measuresOf(solved, 0.1);
    const int stray = faceletsOf(solved, kOrange)[3];
    m[static_cast<std::size_t>(stray)].hue = 2;
    AutoClassification result = classifyAutomatic(m, HueThresholds{}, RedOrangeSplit::Hue);
    ASSERT_TRUE(result.ok()) << result.failure;
    EXPECT_EQ(result.classes, solved);
    // A red facelet as light as the oranges keeps its red hue: hue hands it back.
    m = measuresOf(solved, 0.1);
    const int light = faceletsOf(solved, kRed)[5];
    m[static_cast<std::size_t>(light)].value = 140;
    result = classifyAutomatic(m, HueThresholds{}, RedOrangeSplit::Value);
    ASSERT_TRUE(result.ok()) << result.failure;
    EXPECT_EQ(result.classes, solved);
    // Both measures agree that the stray is red: ten reds cannot be balanced.
    m = measuresOf(solved, 0.1);
    m[static_cast<std::size_t>(stray)] = m[static_cast<std::size_t>(faceletsOf(solved, kRed)[0])];
    EXPECT_EQ(failureOf(m), "Could not distinguish some red and and orange facelets.");
}

ColorMeasure stickerMeasure(int cls) {
    const auto& c = kStickerColor[static_cast<std::size_t>(cls)];
    return measureColor(int(c.r), int(c.g), int(c.b));
}

struct HueRangeCase {
    int cls;
    ColorMeasure paleLookalike;  // a white with a tinge of the range's hue
    int otherClass;              // a class outside the range
    std::array<const char*, 3> texts;
};

// Too many candidates (nine of the class and ten pale lookalikes), too few, and ten equal ones.
TEST(AutomaticClassification, BlueAndGreenFailures) {
    const CubeClasses solved = solvedClasses();
    const auto whites = faceletsOf(solved, kWhite);
    const int yellow = faceletsOf(solved, kYellow)[0];
    const CubeMeasures m = measuresOf(solved);
    const HueRangeCase cases[] = {
        {kBlue, measureColor(215, 225, 245), kGreen,
         {"Too many blue faclets.", "Not enough blue faclets.", "Could not identify all blue facelets."}},
        {kGreen, measureColor(200, 230, 205), kYellow,
         {"Too many green faclets.", "Not enough green faclets.", "Could not identify all green facelets."}},
    };
    for (const auto& c : cases) {
        const auto own = faceletsOf(solved, c.cls);
        CubeMeasures many = m;
        for (int i : whites) many[static_cast<std::size_t>(i)] = c.paleLookalike;
        many[static_cast<std::size_t>(yellow)] = c.paleLookalike;
        EXPECT_EQ(failureOf(many), c.texts[0]);
        // Eighteen are still fine: the nine most chromatic are taken, the whites stay white.
        many[static_cast<std::size_t>(yellow)] = m[static_cast<std::size_t>(yellow)];
        const AutoClassification eighteen = classifyAutomatic(many, HueThresholds{}, RedOrangeSplit::Hue);
        ASSERT_TRUE(eighteen.ok()) << eighteen.failure;
        EXPECT_EQ(eighteen.classes, solved);

        CubeMeasures few = m;
        few[static_cast<std::size_t>(own[4])] = stickerMeasure(c.otherClass);
        EXPECT_EQ(failureOf(few), c.texts[1]);

        // The ninth cannot be told from the tenth.
        CubeMeasures tied = m;
        for (int i : own) tied[static_cast<std::size_t>(i)] = stickerMeasure(c.cls);
        tied[static_cast<std::size_t>(whites[0])] = stickerMeasure(c.cls);
        EXPECT_EQ(failureOf(tied), c.texts[2]);
    }
    // A greyish square among the nine blues: it would have to be called blue.
    CubeMeasures grey = m;
    grey[static_cast<std::size_t>(faceletsOf(solved, kBlue)[2])] = measureColor(190, 200, 215);
    EXPECT_EQ(failureOf(grey), "Could not identify all blue facelets.");
}

TEST(AutomaticClassification, YellowAndWhiteSplitAtTheTenthBlueRatio) {
    const CubeClasses solved = solvedClasses();
    CubeMeasures m = measuresOf(solved);
    // A white with exactly the blue ratio of the bluest yellow: eight below the tenth.
    const auto yellows = faceletsOf(solved, kYellow);
    const int bluest = *std::max_element(yellows.begin(), yellows.end(), [&](int a, int b) {
        return m[static_cast<std::size_t>(a)].blueRatio < m[static_cast<std::size_t>(b)].blueRatio;
    });
    m[static_cast<std::size_t>(faceletsOf(solved, kWhite)[0])] = m[static_cast<std::size_t>(bluest)];
    EXPECT_EQ(failureOf(m), "Could not distinguish some white and and yellow facelets.");
}

TEST(AutomaticClassification, OtherThresholdsMoveTheHueRanges) {
    // Greens lie at hue 91: blue may start at 100, but not at 90.
    const CubeMeasures m = measuresOf(solvedClasses());
    EXPECT_TRUE(classifyAutomatic(m, HueThresholds{20, 60, 100, 220}, RedOrangeSplit::Hue).ok());
    EXPECT_EQ(classifyAutomatic(m, HueThresholds{20, 60, 90, 220}, RedOrangeSplit::Hue).failure,
              "Not enough green faclets.");
}

// ---- hand-over --------------------------------------------------------------------------

TEST(HandOver, CentresNameTheFacesAndColourTheScheme) {
    const HandOver solved = handOver(solvedClasses());
    EXPECT_TRUE(solved.complete());
    EXPECT_EQ(solved.cube, FaceletCube{});
    EXPECT_EQ(solved.resultText(), "Done!");
    for (int face = 0; face < 6; ++face)
        EXPECT_EQ(solved.scheme[static_cast<std::size_t>(face)],
                  kClassDrawColor[static_cast<std::size_t>(kStandardFaceClass[static_cast<std::size_t>(face)])]);

    // Any colouring of the faces gives back the same cube.
    MersenneTwister rng(77);
    std::array<int, 6> faceClass = {kBlue, kOrange, kWhite, kGreen, kRed, kYellow};
    for (int n = 0; n < 10; ++n) {
        FaceletCube cube;
        randomCube(cube, rng);
        std::next_permutation(faceClass.begin(), faceClass.end());
        const HandOver h = handOver(testing::cubeClasses(cube, faceClass));
        ASSERT_TRUE(h.complete()) << h.resultText();
        EXPECT_EQ(h.cube.faceletString(), cube.faceletString());
    }
}

TEST(HandOver, ALogoOnTheWhiteCentreIsTakenOppositeYellow) {
    CubeClasses classes = solvedClasses();
    classes[4] = kUnknownClass;  // U centre (white) not recognised
    const HandOver h = handOver(classes);
    EXPECT_TRUE(h.complete()) << h.resultText();
    EXPECT_EQ(h.cube, FaceletCube{});
    EXPECT_EQ(h.scheme[0], kClassDrawColor[kWhite]);
    // Neither a white nor a yellow centre: no face can be named white.
    classes[31] = kUnknownClass;  // D centre (yellow)
    const HandOver none = handOver(classes);
    EXPECT_FALSE(none.complete());
    EXPECT_EQ(none.resultText(), "Please place a white facelet in the Web Cam center position!");
}

TEST(HandOver, UnknownOrImpossibleFaceletsLeaveTheCubeUnresolved) {
    CubeClasses classes = solvedClasses();
    classes[0] = kUnknownClass;
    HandOver h = handOver(classes);
    EXPECT_FALSE(h.complete());
    EXPECT_EQ(h.cube.f[0], kUndefinedFacelet);
    EXPECT_EQ(h.resultText(), "Could not resolve the colors due to wrong input.");
    // A corner with two white facelets exists on no cube: the check clears it.
    classes = solvedClasses();
    classes[9] = kWhite;  // R0, on the URF corner with U8
    h = handOver(classes);
    EXPECT_TRUE(h.failure.empty());
    EXPECT_FALSE(h.complete());
    EXPECT_EQ(h.resultText(), "Could not resolve the colors due to wrong input.");
    // A twisted URF corner is turned back by the check's global corrections.
    classes = solvedClasses();
    const int u8 = classes[8];
    classes[8] = classes[20];
    classes[20] = classes[9];
    classes[9] = u8;
    h = handOver(classes);
    EXPECT_TRUE(h.complete());
    EXPECT_EQ(h.cube, FaceletCube{});
}

}  // namespace
}  // namespace tx
