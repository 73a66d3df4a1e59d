#pragma once
// bench partial: the search for partially defined cubes on fixed cubes of each mode.
#include "command.hpp"
#include "tables/tables.hpp"

namespace tx::cli {

int benchPartial(const TableSet& tables, Args args, bool slice);

}  // namespace tx::cli
