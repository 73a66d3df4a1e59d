#pragma once
// bench coset: the coset explorer on the solved cube's coset and one random coset.
#include "command.hpp"
#include "tables/tables.hpp"

namespace tx::cli {

int benchCoset(const TableSet& tables, Args args);

}  // namespace tx::cli
