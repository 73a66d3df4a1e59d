#pragma once
// What a search driver reports to its owner, as data: maneuvers as moves and lengths, the
// optimal search's progress as depths and node counts, and the end. Reports are made on the
// main thread (the driver's threads post through Events); whoever owns the driver turns them
// into texts (the cube list: src/workspace/entry_search).
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "cube/notation.hpp"

namespace tx {

enum class SearchState {
    Found,     // a maneuver: moves, length, and for the optimal search `optimal`
    Progress,  // the optimal search begins depth `depth`, or (solved) found its solution there
    Ended,     // the search has ended: no further run follows; `length` is the last run's result
};

struct SearchReport {
    SearchState state = SearchState::Ended;
    std::vector<Move> moves;  // Found: the maneuver, in the frame of `orientation`
    int orientation = 0;      // Found by the two-phase search: the cube turned this many times about URF-DBL
    int length = -1;          // Found: the number of moves; Ended: the last result (-1 none, -2 stopped)
    bool sliceMode = false;   // the move set: slice moves allowed
    char metric = 'f';        // the metric letter of the move set
    bool optimal = false;     // Found by the optimal search: no shorter maneuver exists
    int depth = 0;            // Progress: the maneuver length being tried now (solved: the length found)
    bool solved = false;      // Progress: the solution was found at `depth`
    std::uint64_t nodes = 0;  // Found/Ended: nodes so far; Progress: nodes when depth - 1 ended (solved: depth)
    std::array<int, 3> startDistance{};  // Progress: the pruning tables' start values of the three axes
};

using SearchListener = std::function<void(const SearchReport&)>;

}  // namespace tx
