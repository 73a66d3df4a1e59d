#include "webcam/color.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tx {

std::string_view classLabel(int cls) {
    static constexpr std::array<std::string_view, kColorClasses> kLabels = {"re", "or", "bl", "gr", "ye", "wh"};
    return cls >= 0 && cls < kColorClasses ? kLabels[static_cast<std::size_t>(cls)] : "??";
}

ColorMeasure measureColor(int r, int g, int b) {
    ColorMeasure m;
    m.r = r;
    m.g = g;
    m.b = b;
    // Ties go to the earlier of R, G, B: B counts as largest only when it exceeds both
    // others, G only when it exceeds R.
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    const int d = mx - mn;
    if (d != 0) {
        double sector = 0;
        if (b > r && b > g)
            sector = double(r - g) / d + 4;
        else if (g > r)
            sector = double(b - r) / d + 2;
        else
            sector = double(g - b) / d;
        int hue = static_cast<int>(std::lround(sector * 40));
        if (hue < 0) hue += 240;
        if (hue >= 240) hue -= 240;
        m.hue = hue;
    }
    m.value = static_cast<int>(std::lround((mx + mn) / 2.0 * 240 / 255));
    m.saturation = mx == 0 ? 0 : static_cast<int>(std::lround(double(d) / (mx + mn) * 240));
    m.blueRatio = static_cast<int>(std::lround(100.0 * b / (r + g + 1)));
    return m;
}

int circularDifference(int a, int b) {
    const int d = std::abs(a - b) % 240;
    return std::min(d, 240 - d);
}

void SampleSet::add(const ColorMeasure& m) {
    samples_[static_cast<std::size_t>(next_)] = {m.hue, m.saturation, m.value};
    next_ = (next_ + 1) % kCapacity;
    count_ = std::min(count_ + 1, kCapacity);
    updateSigma();
}

void SampleSet::clear() {
    count_ = 0;
    next_ = 0;
    sigma_ = {1, 1, 1};
}

void SampleSet::updateSigma() {
    // Reds lie on both sides of hue 0: hues of the upper half count as negative so that a
    // red at 238 and one at 2 lie 4 apart.
    auto signedHue = [](int h) { return h >= 120 ? h - 240 : h; };
    auto deviation = [this](auto get) {
        double sum = 0, squares = 0;
        for (int i = 0; i < count_; ++i) {
            const double x = get(samples_[static_cast<std::size_t>(i)]);
            sum += x;
            squares += x * x;
        }
        const double mean = sum / count_;
        const double variance = std::max(0.0, squares / count_ - mean * mean);
        return std::max(1, static_cast<int>(std::lround(std::sqrt(variance))));
    };
    sigma_.hue = deviation([&](const Sample& s) { return signedHue(s.hue); });
    sigma_.saturation = deviation([](const Sample& s) { return s.saturation; });
    sigma_.value = deviation([](const Sample& s) { return s.value; });
}

double SampleSet::distance(const ColorMeasure& m) const {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < count_; ++i) {
        const Sample& s = samples_[static_cast<std::size_t>(i)];
        const double dv = double(circularDifference(m.value, s.value)) / sigma_.value;
        const double dh = double(circularDifference(m.hue, s.hue)) / sigma_.hue;
        const double ds = double(circularDifference(m.saturation, s.saturation)) / sigma_.saturation;
        best = std::min(best, dv * dv + dh * dh + ds * ds);
    }
    return best;
}

int classifyInteractive(const ColorMeasure& m, const HueThresholds& t, const SampleSet& red, const SampleSet& orange) {
    const bool chromatic = m.chroma() >= 0.3 || 0.9 * m.g > m.b;
    if (!chromatic) return kWhite;
    if (m.hue >= t.green && m.hue < t.blue) return kBlue;
    if (m.hue >= t.yellow && m.hue < t.green) return kGreen;
    if (m.hue >= t.orange && m.hue < t.yellow) return kYellow;
    if (m.hue >= t.blue) return kRed;
    if (red.count() < 2 || orange.count() < 2) return kUnknownClass;
    return orange.distance(m) > red.distance(m) ? kRed : kOrange;
}

}  // namespace tx
