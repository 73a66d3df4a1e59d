#pragma once
// bench fast: the fast engine on the seeded two-phase benchmark cubes.
#include <vector>

#include "command.hpp"
#include "cube/cubie_cube.hpp"
#include "tables/tables.hpp"

namespace tx::cli {

// Prints the fast engine's figures at targets 20 and 21 (times, nodes, where they go); with
// signature, also the table figures and the last line "signature N nodes".
void printFastEngine(const TableSet& tables, const std::vector<CubieCube>& cubes, bool signature);

}  // namespace tx::cli
