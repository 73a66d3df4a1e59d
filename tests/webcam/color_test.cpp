#include <gtest/gtest.h>

#include <vector>

#include "webcam/color.hpp"
#include "webcam/frame.hpp"

namespace tx {
namespace {

struct Expected {
    int r, g, b;
    int hue, value, saturation, blueRatio;
};

// Hue = 40 * sector position, lightness = (max + min) / 2 * 240 / 255, saturation =
// (max - min) / (max + min) * 240, blue ratio = 100 * B / (R + G + 1); all rounded.
TEST(MeasureColor, HandComputedValuesForPureAndMixedColours) {
    const std::vector<Expected> cases = {
        {255, 0, 0, 0, 120, 240, 0},          // red
        {0, 255, 0, 80, 120, 240, 0},         // green: (B - R)/d + 2 = 2
        {0, 0, 255, 160, 120, 240, 25500},    // blue: (R - G)/d + 4 = 4
        {255, 255, 0, 40, 120, 240, 0},       // yellow
        {0, 255, 255, 120, 120, 240, 100},    // cyan
        {255, 0, 255, 200, 120, 240, 100},    // magenta: -1 * 40 + 240
        {255, 255, 255, 0, 240, 0, 50},       // white
        {0, 0, 0, 0, 0, 0, 0},                // black: saturation 0 when max is 0
        {128, 128, 128, 0, 120, 0, 50},       // grey: 128 * 240/255 = 120.47
        {255, 128, 0, 20, 120, 240, 0},       // orange: 128/255 * 40 = 20.08
        {200, 100, 50, 13, 118, 144, 17},     // 50/150 * 40 = 13.3; 125*240/255 = 117.6; 5000/301
        {40, 60, 200, 155, 113, 160, 198},    // (-20/160 + 4) * 40 = 155; 20000/101 = 198.02
        {90, 200, 120, 91, 136, 91, 41},      // (30/110 + 2) * 40 = 90.9; 110/290 * 240 = 91.03
        {250, 20, 60, 233, 127, 204, 22},     // -40/230 * 40 = -6.96 -> -7 -> 233
        {200, 200, 100, 40, 141, 80, 25},     // R and G tie: taken as R
        {100, 200, 200, 120, 141, 80, 66},    // G and B tie: taken as G
        {200, 100, 200, 200, 141, 80, 66},    // R and B tie: taken as R
    };
    for (const auto& c : cases) {
        const ColorMeasure m = measureColor(c.r, c.g, c.b);
        SCOPED_TRACE(::testing::Message() << c.r << "," << c.g << "," << c.b);
        EXPECT_EQ(m.hue, c.hue);
        EXPECT_EQ(m.value, c.value);
        EXPECT_EQ(m.saturation, c.saturation);
        EXPECT_EQ(m.blueRatio, c.blueRatio);
    }
}

TEST(MeasureColor, HueStaysWithinTheScaleForEveryColour) {
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                const ColorMeasure m = measureColor(r, g, b);
                ASSERT_GE(m.hue, 0);
                ASSERT_LT(m.hue, 240);
                ASSERT_LE(m.value, 240);
                ASSERT_LE(m.saturation, 240);
            }
}

TEST(ClassLabels, TwoLettersPerClassAndQuestionMarksOtherwise) {
    EXPECT_EQ(classLabel(kRed), "re");
    EXPECT_EQ(classLabel(kOrange), "or");
    EXPECT_EQ(classLabel(kBlue), "bl");
    EXPECT_EQ(classLabel(kGreen), "gr");
    EXPECT_EQ(classLabel(kYellow), "ye");
    EXPECT_EQ(classLabel(kWhite), "wh");
    EXPECT_EQ(classLabel(kUnknownClass), "??");
    EXPECT_EQ(classLabel(6), "??");
}

ColorMeasure chromatic(int hue, int saturation = 200, int value = 120) {
    ColorMeasure m;
    m.hue = hue;
    m.saturation = saturation;
    m.value = value;
    m.r = 200;
    m.g = 100;
    m.b = 50;
    return m;
}

TEST(InteractiveClassification, HueRangesWithTheDefaultThresholds) {
    const HueThresholds t;
    const SampleSet none;
    EXPECT_EQ(classifyInteractive(chromatic(100), t, none, none), kGreen);
    EXPECT_EQ(classifyInteractive(chromatic(230), t, none, none), kRed);
    EXPECT_EQ(classifyInteractive(chromatic(220), t, none, none), kRed);
    EXPECT_EQ(classifyInteractive(chromatic(219), t, none, none), kBlue);
    EXPECT_EQ(classifyInteractive(chromatic(125), t, none, none), kBlue);
    EXPECT_EQ(classifyInteractive(chromatic(124), t, none, none), kGreen);
    EXPECT_EQ(classifyInteractive(chromatic(60), t, none, none), kGreen);
    EXPECT_EQ(classifyInteractive(chromatic(59), t, none, none), kYellow);
    EXPECT_EQ(classifyInteractive(chromatic(20), t, none, none), kYellow);
    EXPECT_EQ(classifyInteractive(chromatic(19), t, none, none), kUnknownClass);
    // Other thresholds move the ranges.
    const HueThresholds moved{10, 50, 100, 200};
    EXPECT_EQ(classifyInteractive(chromatic(110), moved, none, none), kBlue);
    EXPECT_EQ(classifyInteractive(chromatic(205), moved, none, none), kRed);
}

TEST(InteractiveClassification, GreyishSquaresAreWhiteWhateverTheirHue) {
    const HueThresholds t;
    const SampleSet none;
    const ColorMeasure bluish = measureColor(200, 200, 230);  // hue 160, S/V 0.08, 0.9 G < B
    EXPECT_EQ(bluish.hue, 160);
    EXPECT_EQ(classifyInteractive(bluish, t, none, none), kWhite);
    const ColorMeasure grey = measureColor(120, 120, 120);
    EXPECT_EQ(classifyInteractive(grey, t, none, none), kWhite);
    // Low saturation but 0.9 G above B: a pale yellow stays chromatic.
    const ColorMeasure paleYellow = measureColor(220, 215, 180);
    EXPECT_EQ(classifyInteractive(paleYellow, t, none, none), kYellow);
}

TEST(InteractiveClassification, RedAndOrangeNeedTwoSamplesOfEach) {
    const HueThresholds t;
    SampleSet red, orange;
    const ColorMeasure redSquare = measureColor(190, 30, 25);     // hue 1
    const ColorMeasure orangeSquare = measureColor(250, 105, 20);  // hue 15
    red.add(redSquare);
    EXPECT_EQ(classifyInteractive(chromatic(10), t, red, orange), kUnknownClass);
    red.add(measureColor(170, 25, 22));
    orange.add(orangeSquare);
    EXPECT_EQ(classifyInteractive(chromatic(10), t, red, orange), kUnknownClass);
    orange.add(measureColor(225, 95, 18));
    EXPECT_EQ(red.count(), 2);
    EXPECT_EQ(orange.count(), 2);
    EXPECT_EQ(classifyInteractive(measureColor(180, 28, 24), t, red, orange), kRed);
    EXPECT_EQ(classifyInteractive(measureColor(240, 100, 19), t, red, orange), kOrange);
    // A hue of 239 lies at or above the blue bound: red without asking the samples.
    EXPECT_EQ(classifyInteractive(measureColor(190, 25, 28), t, red, orange), kRed);
}

TEST(SampleSets, RingOfNineWithDeviationsOfAtLeastOne) {
    SampleSet set;
    EXPECT_EQ(set.sigma().hue, 1);
    for (int i = 0; i < 12; ++i) set.add(chromatic(10, 200, 120));
    EXPECT_EQ(set.count(), 9);
    EXPECT_EQ(set.sigma().hue, 1);  // all equal: 0 becomes 1
    EXPECT_EQ(set.sigma().value, 1);
    EXPECT_DOUBLE_EQ(set.distance(chromatic(10, 200, 120)), 0.0);
    // Nine new samples push the old ones out: hues 0 and 20 alternate.
    for (int i = 0; i < 9; ++i) set.add(chromatic(i % 2 ? 20 : 0, 200, 120));
    EXPECT_EQ(set.sigma().hue, 10);  // population deviation of five 0s and four 20s: 9.94
    EXPECT_DOUBLE_EQ(set.distance(chromatic(10, 200, 120)), 1.0);
    // Hues on both sides of 0 are close: 238 and 2 lie 4 apart.
    SampleSet reds;
    reds.add(chromatic(238));
    reds.add(chromatic(2));
    EXPECT_EQ(reds.sigma().hue, 2);
    EXPECT_DOUBLE_EQ(reds.distance(chromatic(0)), 1.0);
    reds.clear();
    EXPECT_EQ(reds.count(), 0);
    EXPECT_GT(reds.distance(chromatic(0)), 1e300);
}

TEST(CircularDifference, ShorterWayAroundTheScale) {
    EXPECT_EQ(circularDifference(10, 230), 20);
    EXPECT_EQ(circularDifference(230, 10), 20);
    EXPECT_EQ(circularDifference(0, 120), 120);
    EXPECT_EQ(circularDifference(5, 5), 0);
}

// ---- grid -------------------------------------------------------------------------------

TEST(Grid, SquaresOfA640By480FrameAtTheDefaultSpacing) {
    const GridSpacing spacing;
    // u = 240 div 8 = 30: squares 59 pixels wide, 150 apart, the middle one centred.
    EXPECT_EQ(squareRect(640, 480, 0, 0, spacing), (SquareRect{141, 61, 59}));
    EXPECT_EQ(squareRect(640, 480, 1, 1, spacing), (SquareRect{291, 211, 59}));
    EXPECT_EQ(squareRect(640, 480, 2, 1, spacing), (SquareRect{441, 211, 59}));
    EXPECT_EQ(squareRect(640, 480, 2, 2, spacing), (SquareRect{441, 361, 59}));
    EXPECT_EQ(squareAt(640, 480, spacing, 320, 240), 4);
    EXPECT_EQ(squareAt(640, 480, spacing, 141, 61), 0);
    EXPECT_EQ(squareAt(640, 480, spacing, 140, 61), -1);
    EXPECT_EQ(squareAt(640, 480, spacing, 499, 419), 8);
    EXPECT_EQ(squareAt(640, 480, spacing, 250, 240), -1);  // between squares
    // Spacing 1 puts the squares side by side.
    const GridSpacing tight{1, 1};
    EXPECT_EQ(squareRect(640, 480, 0, 0, tight), (SquareRect{261, 181, 59}));
    EXPECT_EQ(squareRect(640, 480, 1, 0, tight), (SquareRect{291, 181, 59}));
}

TEST(Grid, SpacingStepsStayWithinTheLimits) {
    GridSpacing s;
    for (int i = 0; i < 20; ++i) s.stepX(+1);
    EXPECT_EQ(s.x, 9);
    EXPECT_FALSE(s.stepX(+1));
    for (int i = 0; i < 30; ++i) s.stepX(-1);
    EXPECT_EQ(s.x, -9);
    for (int i = 0; i < 20; ++i) s.stepY(+1);
    EXPECT_EQ(s.y, 7);
    EXPECT_TRUE(s.stepY(-1));
    EXPECT_EQ(s.y, 6);
    for (int i = 0; i < 20; ++i) s.stepY(-1);
    EXPECT_EQ(s.y, -7);
}

// A frame in the given layout whose squares are uniform colours and whose other pixels are a
// loud magenta that must not leak into the averages.
std::vector<std::uint8_t> gridFrame(PixelLayout layout, int w, int h, const std::vector<std::array<int, 3>>& colors) {
    const int bytes = layout == PixelLayout::Rgb24 || layout == PixelLayout::Bgr24 ? 3 : 4;
    const int stride = bytes * w + 8;  // padded lines
    std::vector<std::uint8_t> data(static_cast<std::size_t>(stride * h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int k = squareAt(w, h, GridSpacing{}, x, y);
            const std::array<int, 3> c = k >= 0 ? colors[static_cast<std::size_t>(k)] : std::array<int, 3>{255, 0, 255};
            std::uint8_t* p = &data[static_cast<std::size_t>(y * stride + bytes * x)];
            const bool rgbOrder = layout == PixelLayout::Rgb24 || layout == PixelLayout::Rgbx32;
            p[0] = static_cast<std::uint8_t>(rgbOrder ? c[0] : c[2]);
            p[1] = static_cast<std::uint8_t>(c[1]);
            p[2] = static_cast<std::uint8_t>(rgbOrder ? c[2] : c[0]);
        }
    return data;
}

TEST(Grid, SquaresAreAveragedInEveryPixelLayout) {
    std::vector<std::array<int, 3>> colors;
    for (int k = 0; k < 9; ++k) colors.push_back({20 * k, 255 - 20 * k, (37 * k) % 256});
    for (const PixelLayout layout : {PixelLayout::Rgb24, PixelLayout::Bgr24, PixelLayout::Xrgb32, PixelLayout::Rgbx32}) {
        const int w = 320, h = 240;
        const auto data = gridFrame(layout, w, h, colors);
        const int bytes = layout == PixelLayout::Rgb24 || layout == PixelLayout::Bgr24 ? 3 : 4;
        const FrameView frame{data.data(), w, h, bytes * w + 8, layout};
        const FaceMeasures m = measureSquares(frame, GridSpacing{});
        for (int k = 0; k < 9; ++k) {
            const auto& c = colors[static_cast<std::size_t>(k)];
            EXPECT_EQ(m[static_cast<std::size_t>(k)], measureColor(c[0], c[1], c[2])) << "square " << k;
        }
    }
}

TEST(Grid, SquaresPartlyOutsideTheFrameAverageWhatIsInside) {
    // 50 x 48 at spacing 9: u = 3, the columns start at x = -4, 23 and 50, 5 pixels wide.
    std::vector<std::uint8_t> data(static_cast<std::size_t>(3 * 50 * 48), 100);
    const FrameView frame{data.data(), 50, 48, 3 * 50, PixelLayout::Rgb24};
    const FaceMeasures m = measureSquares(frame, GridSpacing{9, 7});
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(m[static_cast<std::size_t>(3 * row)], measureColor(100, 100, 100));  // one column inside
        EXPECT_EQ(m[static_cast<std::size_t>(3 * row + 1)], measureColor(100, 100, 100));
        EXPECT_EQ(m[static_cast<std::size_t>(3 * row + 2)], ColorMeasure{});  // wholly outside
    }
}

}  // namespace
}  // namespace tx
