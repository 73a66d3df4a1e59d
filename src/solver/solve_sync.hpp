#pragma once
// Searches on the calling thread, run for run as the drivers do it: for benchmarks, tests
// and tools that need no window.
#include <cstdint>
#include <string>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "cube/notation.hpp"
#include "tables/tables.hpp"

namespace tx {

struct SyncResult {
    int length = -1;  // -1: no maneuver within the bound (or no search: see error)
    std::string error;  // why the search could not run (an impossible cube, tables missing), or empty
    std::vector<Move> moves;
    std::uint64_t nodes = 0;
    std::vector<std::uint64_t> depthNodes;  // optimal: nodes at the end of each depth
    int startDistance[3] = {0, 0, 0};
};

// Two-phase search, one orientation, until the maneuver has at most `target` moves.
SyncResult solveTwoPhase(const TableSet& tables, const CubieCube& cube, int target, bool sliceMode = false);
// Optimal search (face-turn or slice metric; the huge table when asked), its long depths
// shared among `threads` threads.
SyncResult solveOptimal(const TableSet& tables, const CubieCube& cube, bool sliceMode = false, bool huge = false,
                        int threads = 1);

}  // namespace tx
