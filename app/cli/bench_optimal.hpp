#pragma once
// bench optimal: the optimal search on fixed positions and on five seeded random cubes.
#include "command.hpp"
#include "tables/tables.hpp"

namespace tx::cli {

int benchOptimal(const TableSet& tables, Args args, bool huge, bool json);

}  // namespace tx::cli
