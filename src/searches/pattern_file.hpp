#pragma once
// The text form of the pattern editor's five rows, read by "tesserix-cli pattern":
//
//   # a comment runs from '#' to the end of the line; blank lines are skipped
//   row 1 faces U D        <- header: row number 1..5, then the faces that may show it
//   1 2 1                     (letters U R F D L B in any order and case, "faces none" for
//   2 2 2                      none; without "faces" all six); then three lines of three
//   1 2 1                      palette values 1..6, blanks between them optional
//
// Palette values: 1 red, 2 yellow, 3 lime, 4 blue, 5 white, 6 grey (a cleared cell). Rows
// not given stay cleared and take part for no face.
#include <optional>
#include <string>
#include <string_view>

#include "searches/pat_search.hpp"

namespace tx {

// The pattern set of the text, or nothing with `error` set to "line N: reason".
std::optional<PatternSet> readPatternText(std::string_view text, std::string& error);

}  // namespace tx
