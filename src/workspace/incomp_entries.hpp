#pragma once
// Keeping what the search for partially defined cubes found: each listed maneuver becomes an
// entry of the cube list whose cube is the position the maneuver solves (the partial-cube
// window's "add" button).
#include <string>
#include <vector>

#include "workspace/cube_list.hpp"

namespace tx {

// Adds one entry for every line that holds the list's metric letter followed by "*)" or ")".
// A "*)" line gives an optimal maneuver (optimalText up to its mark, useOptimal, optimalLength),
// any other such line a solver maneuver (solverText up to ")", bestLength); text after "//"
// becomes the pattern name. The entries are added with the row showing "Solver:", without
// questions and without the isomorphism test. Answers the number added.
int addIncompLines(CubeList& list, const std::vector<std::string>& lines);

}  // namespace tx
