#pragma once
// Searches on the calling thread, run for run as the drivers do it: for benchmarks, tests
// and tools that need no window.
#include <cstdint>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "cube/notation.hpp"

namespace tx {

struct SyncResult {
    int length = -1;  // -1: no maneuver within the bound
    std::vector<Move> moves;
    std::uint64_t nodes = 0;
    std::vector<std::uint64_t> depthNodes;  // optimal: nodes at the end of each depth
    int startDistance[3] = {0, 0, 0};
};

// Two-phase search, one orientation, until the maneuver has at most `target` moves.
SyncResult solveTwoPhase(const CubieCube& cube, int target, bool sliceMode = false);
// Optimal search (face-turn or slice metric, normal tables).
SyncResult solveOptimal(const CubieCube& cube, bool sliceMode = false, bool huge = false);

}  // namespace tx
