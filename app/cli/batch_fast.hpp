#pragma once
// batch with the fast engine: the entries it can take get their maneuver from it.
#include <functional>
#include <memory>
#include <vector>

#include "tables/tables.hpp"
#include "workspace/cube_list.hpp"

namespace tx::cli {

// Solves every entry of todo that the fast engine takes (whole cubes whose centre orientation
// does not count, in face turns), up to `jobs` at a time, keeping an entry's maneuver when it
// is already shorter; prints a progress line per cube and answers the entries it left for the
// improving search.
std::vector<std::shared_ptr<Entry>> solveEntriesFast(const CubeList& list, const std::vector<std::shared_ptr<Entry>>& todo,
                                                     const TableSet& tables, int target, int jobs);

// serve --fast: solves a new entry at once with the fast engine (up to `target` moves, at most
// ten seconds); an entry it cannot take gets the list's search instead.
std::function<void(const std::shared_ptr<Entry>&)> fastEntrySolver(CubeList& list, TableSet tables, int target);

}  // namespace tx::cli
