#pragma once
// The fast two-phase engine: returns the first maneuver of at most the target length it finds,
// as quickly as it can, instead of improving run by run. It searches six presentations of the
// cube at once (the cube and its inverse, each seen along the three axes), deepening phase 1
// over all six together, and enters phase 2 only where the cheap bounds allow a solution.
// Face turns only, centre orientation not counted. Every returned maneuver has been applied to
// the cube and checked to solve it.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "cube/notation.hpp"
#include "tables/tables.hpp"

namespace tx {

struct FastOptions {
    int maxLength = 20;  // the first maneuver of at most this many moves is returned
    // The search gives up (result stopped) at the deadline or when *stop turns true.
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    const std::atomic<bool>* stop = nullptr;
    // Bit k set: presentation k is searched (0..2 the cube along its three axes, 3..5 the
    // inverse). Narrowed only to measure or test one presentation.
    unsigned presentations = 0x3F;
};

struct FastResult {
    int length = -1;     // moves of the maneuver; -1 none within maxLength (or stopped, or error)
    bool stopped = false;
    std::string error;   // why the search could not run, empty otherwise
    std::vector<Move> moves;
    std::uint64_t phase1Nodes = 0;
    std::uint64_t phase2Nodes = 0;
    std::uint64_t endPoints = 0;  // phase-1 end points that reached a phase-2 search
    std::uint64_t nodes() const { return phase1Nodes + phase2Nodes; }
};

// Why the fast engine cannot solve this cube on these tables, or "" when it can.
std::string fastEngineProblem(const TableSet& tables, const CubieCube& cube);

FastResult solveFast(const TableSet& tables, const CubieCube& cube, const FastOptions& options = {});

}  // namespace tx
