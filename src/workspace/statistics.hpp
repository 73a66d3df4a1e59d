#pragma once
// The statistics of the cube list: entries counted by the length of their best maneuver
// (proven optimal ones apart from the others) and by antisymmetry, and the text the
// statistics window shows.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "workspace/entry.hpp"

namespace tx {

inline constexpr int kLongestCounted = 30;  // longer maneuvers are counted together

struct ListStatistics {
    int cubes = 0;
    // Entries without a proven optimal maneuver, by the face turns of solverText; slot 0
    // counts the entries not solved yet.
    std::array<int, kLongestCounted + 1> twoPhase{};
    // Entries with a proven optimal maneuver, by its face turns.
    std::array<int, kLongestCounted + 1> optimal{};
    int twoPhaseLonger = 0;  // more than kLongestCounted face turns
    int optimalLonger = 0;
    int antisymmetric = 0;
};

// True when the entry's cube C has a symmetry S with S^-1 C S C the identity, that is
// S^-1 C S = C^-1: corners unless the entry is about edges only, edges unless it is about
// corners only, centres when they count. A cube with unknown pieces in a tested part has none.
bool hasAntisymmetry(const Entry& e);

ListStatistics countStatistics(const std::vector<std::shared_ptr<Entry>>& entries);

// The lines of the statistics window, in order (without line ends).
std::vector<std::string> statisticsLines(const ListStatistics& s, char metricLetter);

}  // namespace tx
