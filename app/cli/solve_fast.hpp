#pragma once
// solve with the fast engine: the command line's default for two-phase solving.
#include "command.hpp"
#include "tables/tables.hpp"

namespace tx::cli {

struct FastSolveSettings {
    int target = 20;
    int jobs = 1;
    double maxTime = 0;  // seconds per cube, 0: no limit
    bool times = false;
};

// Solves every input line (facelet string or "@" maneuver) with the fast engine and prints one
// line per input in input order; answers the exit code.
int solveWithFastEngine(const Args& positional, const FastSolveSettings& settings, const TableSet& tables);

}  // namespace tx::cli
