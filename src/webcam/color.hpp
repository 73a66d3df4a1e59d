#pragma once
// Colour of one camera square: the R, G, B averages, hue, lightness and saturation on a scale
// of 240, and the blue ratio that separates white from yellow; the six sticker classes and
// the live (interactive) classification by hue thresholds and red/orange samples.
#include <array>
#include <cstdint>
#include <string_view>

namespace tx {

// Sticker classes. A class is a physical colour, not a face: the centres map classes to faces.
enum ColorClass : int { kRed = 0, kOrange = 1, kBlue = 2, kGreen = 3, kYellow = 4, kWhite = 5, kUnknownClass = -1 };
constexpr int kColorClasses = 6;

// Drawing colours of the classes, 0x00BBGGRR.
inline constexpr std::array<std::uint32_t, kColorClasses> kClassDrawColor = {
    0x0000FF, 0x0080FF, 0xFF0000, 0x008000, 0x00FFFF, 0xFFFFFF};

// "re", "or", "bl", "gr", "ye", "wh", or "??" for any other value.
std::string_view classLabel(int cls);

struct ColorMeasure {
    int r = 0, g = 0, b = 0;  // averages 0..255
    int hue = 0;              // 0..239
    int value = 0;            // lightness 0..240
    int saturation = 0;       // 0..240
    int blueRatio = 0;        // 100 * B / (R + G + 1), rounded

    bool operator==(const ColorMeasure&) const = default;
    // Saturation per lightness, the square's chroma; lightness 0 counts as 1.
    double chroma() const { return double(saturation) / (value > 1 ? value : 1); }
    bool overexposed() const { return r > 250 || g > 250 || b > 250; }
};

// Hue, lightness, saturation and blue ratio of an averaged colour.
ColorMeasure measureColor(int r, int g, int b);

// Lower hue bounds of yellow, green and blue, and the upper bound of blue (the page's
// ETreshOrange, ETreshYellow, ETreshGreen, ETreshBlue).
struct HueThresholds {
    int orange = 20;
    int yellow = 60;
    int green = 125;
    int blue = 220;
    bool operator==(const HueThresholds&) const = default;
};

// Up to nine samples of one colour, the oldest replaced first, with the standard deviation
// of each measure over them (rounded, at least 1).
class SampleSet {
public:
    static constexpr int kCapacity = 9;
    struct Sample {
        int hue = 0, saturation = 0, value = 0;
    };

    void add(const ColorMeasure& m);
    void clear();
    int count() const { return count_; }
    const Sample& sigma() const { return sigma_; }
    // Smallest (dV/sV)^2 + (dH/sH)^2 + (dS/sS)^2 over the samples, every difference taken
    // on the circle of 240; a large number when there are no samples.
    double distance(const ColorMeasure& m) const;

private:
    void updateSigma();

    std::array<Sample, kCapacity> samples_{};
    int count_ = 0;
    int next_ = 0;
    Sample sigma_{1, 1, 1};
};

// The live class of one square. Greyish squares are white; chromatic ones are sorted by hue;
// hues below the orange bound need two samples of both red and orange, else unknown.
int classifyInteractive(const ColorMeasure& m, const HueThresholds& t, const SampleSet& red, const SampleSet& orange);

// Difference of two values on the circle of 240.
int circularDifference(int a, int b);

}  // namespace tx
