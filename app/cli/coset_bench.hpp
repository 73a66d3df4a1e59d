#pragma once
// bench coset: the coset explorer on the solved cube's coset and one random coset.
#include <optional>

#include "command.hpp"
#include "searches/coset_search.hpp"
#include "tables/tables.hpp"

namespace tx::cli {

// The options of "bench coset" (--depth, --threads), read strictly; nullopt after an error line.
std::optional<CosetOptions> cosetBenchOptions(Args args);
int benchCoset(const TableSet& tables, CosetOptions options);

}  // namespace tx::cli
