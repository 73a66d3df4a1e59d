// Sorting the list by pattern name or by maneuver length.
#include <algorithm>
#include <cctype>

#include "workspace/cube_list.hpp"

namespace tx {

namespace {

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

// The length shown for an entry, with a leading zero below 10 so that text order is
// numeric order.
std::string lengthKey(const Entry& e) {
    int length = e.bestLength;
    if (e.hasOptimalManeuver() && e.optimalLength < length) length = e.optimalLength;
    std::string s = std::to_string(length);
    return s.size() == 1 ? "0" + s : s;
}

}  // namespace

void CubeList::sortBy(bool byName) {
    struct Keyed {
        std::string key;
        std::shared_ptr<Entry> entry;
        IsoCache iso;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = *entries_[i];
        const std::string length = lengthKey(e);
        std::string key = byName ? e.patternName + length : length + e.patternName;
        // The former index takes part in the order as text, so 10 sorts before 2. The entry
        // travels with its key instead of being read back from it: a name holding the marker
        // must not mix entries up.
        key += "*%35786%*" + std::to_string(i);
        keyed.push_back({std::move(key), entries_[i], iso_[i]});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return lessIgnoringCase(a.key, b.key); });
    bool changed = false;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        changed |= entries_[i] != keyed[i].entry;
        entries_[i] = keyed[i].entry;
        iso_[i] = keyed[i].iso;
    }
    if (changed) modified = true;
    repaint();
}

void CubeList::sortByPatternName() { sortBy(true); }
void CubeList::sortByManeuverLength() { sortBy(false); }

}  // namespace tx
