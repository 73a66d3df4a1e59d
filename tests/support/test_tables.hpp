#pragma once
// The standard tables for tests: built once per build tree by the CTest fixture
// (tesserix-cli tables), loaded once per test process here. Nothing is ever built here.
#include <string>

#include "tables/tables.hpp"

namespace tx::testing {

std::string testDataFolder();

// The face-turn tables (and, separately, the slice-move tables) of the test folder, loaded on
// first use; the set is empty when the folder holds no tables.
const TableSet& loadTestTables();
const TableSet& loadSliceTestTables();

// The face-turn tables as a source for search contexts and cube lists.
const TableSource& testTableSource();

}  // namespace tx::testing
