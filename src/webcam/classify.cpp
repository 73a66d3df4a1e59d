#include "webcam/classify.hpp"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tx {
namespace {

constexpr int kPerClass = 9;
constexpr double kMinimumChroma = 0.3;  // below this a square is greyish (white)

// Facelets indices ordered by decreasing chroma; equal chroma keeps facelet order.
std::vector<int> byChroma(std::vector<int> facelets, const CubeMeasures& m) {
    std::stable_sort(facelets.begin(), facelets.end(),
                     [&](int a, int b) { return m[a].chroma() > m[b].chroma(); });
    return facelets;
}

template <class Pred>
std::vector<int> faceletsWhere(const CubeClasses& classes, Pred pred) {
    std::vector<int> out;
    for (int i = 0; i < kFacelets; ++i)
        if (classes[i] == kUnknownClass && pred(i)) out.push_back(i);
    return out;
}

// Means of the lower and the upper nine of 18 values.
std::pair<double, double> halfMeans(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const double low = std::accumulate(values.begin(), values.begin() + kPerClass, 0.0) / kPerClass;
    const double high = std::accumulate(values.begin() + kPerClass, values.end(), 0.0) / kPerClass;
    return {low, high};
}

// Red lies below orange in both hue (reds shifted below 0) and lightness. Each facelet goes to
// the nearer of the two half means of the separating measure; when that is not nine and nine,
// the larger group hands over the facelets that the other measure puts on the other side,
// the clearest first. Answers false when that cannot balance the groups.
bool splitRedOrange(const std::vector<int>& facelets, const CubeMeasures& m, const HueThresholds& t,
                    RedOrangeSplit split, CubeClasses& classes) {
    auto hue = [&](int i) { return double(m[i].hue >= t.blue ? m[i].hue - 240 : m[i].hue); };
    auto value = [&](int i) { return double(m[i].value); };
    auto primary = [&](int i) { return split == RedOrangeSplit::Hue ? hue(i) : value(i); };
    auto other = [&](int i) { return split == RedOrangeSplit::Hue ? value(i) : hue(i); };
    auto means = [&](auto measure) {
        std::vector<double> v;
        for (int i : facelets) v.push_back(measure(i));
        return halfMeans(v);
    };
    const auto [p1, p2] = means(primary);
    // Plain names, not a structured binding: the lambda below captures them, which clang 14
    // (the fuzz build's compiler) does not allow for bindings.
    const std::pair<double, double> otherMeans = means(other);
    const double o1 = otherMeans.first, o2 = otherMeans.second;

    std::vector<int> red, orange;
    for (int i : facelets) (std::abs(primary(i) - p1) <= std::abs(primary(i) - p2) ? red : orange).push_back(i);
    if (red.size() != orange.size()) {
        const bool redLarger = red.size() > orange.size();
        auto& larger = redLarger ? red : orange;
        auto& smaller = redLarger ? orange : red;
        // How strongly the other measure puts a facelet into the smaller group (> 0: it does).
        auto pull = [&](int i) {
            const double towardsRed = std::abs(other(i) - o2) - std::abs(other(i) - o1);
            return redLarger ? -towardsRed : towardsRed;
        };
        std::stable_sort(larger.begin(), larger.end(), [&](int a, int b) { return pull(a) > pull(b); });
        while (larger.size() > smaller.size() && pull(larger.front()) > 0) {
            smaller.push_back(larger.front());
            larger.erase(larger.begin());
        }
    }
    if (red.size() != kPerClass || orange.size() != kPerClass) return false;
    for (int i : red) classes[i] = kRed;
    for (int i : orange) classes[i] = kOrange;
    return true;
}

struct HueRangeTexts {
    const char* tooMany;
    const char* notEnough;
    const char* ambiguous;
};

// The nine most chromatic facelets of a hue range; they must stand out from the tenth and be
// chromatic themselves. Answers the failure text, or nullptr.
const char* takeHueRange(int lowest, int beyond, int cls, const CubeMeasures& m, CubeClasses& classes,
                         const HueRangeTexts& texts) {
    const auto candidates = byChroma(
        faceletsWhere(classes, [&](int i) { return m[i].hue >= lowest && m[i].hue < beyond; }), m);
    if (candidates.size() > 2 * kPerClass) return texts.tooMany;
    if (candidates.size() < kPerClass) return texts.notEnough;
    const double ninth = m[candidates[kPerClass - 1]].chroma();
    if (ninth < kMinimumChroma || (candidates.size() > kPerClass && m[candidates[kPerClass]].chroma() == ninth))
        return texts.ambiguous;
    for (int k = 0; k < kPerClass; ++k) classes[candidates[k]] = cls;
    return nullptr;
}

// The 18 facelets left: below the tenth smallest blue ratio yellow, the others white.
bool splitYellowWhite(const CubeMeasures& m, CubeClasses& classes) {
    auto rest = faceletsWhere(classes, [](int) { return true; });
    if (rest.size() != 2 * kPerClass) return false;
    std::stable_sort(rest.begin(), rest.end(), [&](int a, int b) { return m[a].blueRatio < m[b].blueRatio; });
    const int tenth = m[rest[kPerClass]].blueRatio;
    int yellow = 0;
    for (int i : rest) yellow += m[i].blueRatio < tenth ? 1 : 0;
    if (yellow != kPerClass) return false;
    for (int i : rest) classes[i] = m[i].blueRatio < tenth ? kYellow : kWhite;
    return true;
}

}  // namespace

AutoClassification classifyAutomatic(const CubeMeasures& m, const HueThresholds& t, RedOrangeSplit split) {
    AutoClassification out;
    CubeClasses& classes = out.classes;
    classes.fill(kUnknownClass);
    auto fail = [&](const char* text) {
        classes.fill(kUnknownClass);
        out.failure = text;
        return out;
    };

    const auto reddish = faceletsWhere(classes, [&](int i) { return m[i].hue < t.orange || m[i].hue >= t.blue; });
    if (reddish.size() > 3 * kPerClass) return fail("Too many red and orange facelets.");
    if (reddish.size() < 2 * kPerClass) return fail("Not enough red and orange facelets");
    std::vector<int> chosen = byChroma(reddish, m);
    chosen.resize(2 * kPerClass);
    if (!splitRedOrange(chosen, m, t, split, classes))
        return fail("Could not distinguish some red and and orange facelets.");

    if (const char* failure = takeHueRange(t.green, t.blue, kBlue, m, classes,
                                           {"Too many blue faclets.", "Not enough blue faclets.",
                                            "Could not identify all blue facelets."}))
        return fail(failure);
    if (const char* failure = takeHueRange(t.yellow, t.green, kGreen, m, classes,
                                           {"Too many green faclets.", "Not enough green faclets.",
                                            "Could not identify all green facelets."}))
        return fail(failure);
    if (!splitYellowWhite(m, classes)) return fail("Could not distinguish some white and and yellow facelets.");
    return out;
}

std::string HandOver::resultText() const {
    if (!failure.empty()) return failure;
    return complete() ? kTransferDoneText : kUnresolvedColorsText;
}

HandOver handOver(const CubeClasses& given) {
    HandOver out;
    CubeClasses classes = given;
    auto centerClass = [&](int face) -> int& { return classes[static_cast<std::size_t>(9 * face + 4)]; };
    auto findCenter = [&](int cls) {
        for (int face = 0; face < 6; ++face)
            if (centerClass(face) == cls) return face;
        return -1;
    };
    if (findCenter(kWhite) < 0) {
        const int yellow = findCenter(kYellow);
        if (yellow < 0) {
            out.failure = kPlaceWhiteText;
            return out;
        }
        centerClass((yellow + 3) % 6) = kWhite;  // faces k and k + 3 are opposite
    }

    std::array<int, kColorClasses> faceOfClass;
    faceOfClass.fill(kUndefinedFacelet);
    for (int face = 5; face >= 0; --face) {  // the first centre of a class names it
        const int cls = centerClass(face);
        const bool known = cls >= 0 && cls < kColorClasses;
        if (known) faceOfClass[static_cast<std::size_t>(cls)] = face;
        out.scheme[static_cast<std::size_t>(face)] = known ? kClassDrawColor[static_cast<std::size_t>(cls)] : 0x808080;
    }
    for (int i = 0; i < kFacelets; ++i) {
        const int cls = classes[static_cast<std::size_t>(i)];
        out.cube.f[i] = i % 9 == 4 ? static_cast<std::uint8_t>(i / 9)
                        : cls >= 0 && cls < kColorClasses ? static_cast<std::uint8_t>(faceOfClass[cls])
                                                          : kUndefinedFacelet;
    }
    out.cube.checkAll();
    return out;
}

}  // namespace tx
