#pragma once
// solve with the fast engine: the command line's default for two-phase solving.
#include <cstddef>
#include <functional>

#include "command.hpp"
#include "json_output.hpp"
#include "solver/fast_solver.hpp"
#include "tables/tables.hpp"

namespace tx::cli {

struct FastSolveSettings {
    int target = 20;
    int jobs = 1;
    double maxTime = 0;  // seconds per cube, 0: no limit
    bool times = false;
    OutputFormat format = OutputFormat::Text;
};

// Solves every input line (facelet string or "@" maneuver) with the fast engine and prints one
// line per input in input order; answers the exit code.
// The fast engine's maneuver of at most `target` moves: 20 moves are reached quickly for every
// cube, so below 20 the engine is asked again, one move shorter each time, and a time limit
// (maxSeconds > 0) still leaves the best maneuver found so far.
FastResult solveFastToTarget(const TableSet& tables, const CubieCube& cube, int target, double maxSeconds);

// Runs work(i) for i = 0 .. count-1 on up to `jobs` threads and calls done(i) on the calling
// thread in index order, each as soon as work(i) and every earlier done have finished.
void forEachInParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                       const std::function<void(std::size_t)>& done);

int solveWithFastEngine(const Args& positional, const FastSolveSettings& settings, const TableSet& tables);

}  // namespace tx::cli
