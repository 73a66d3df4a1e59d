#pragma once
// The lines the coset explorer writes, in its window's memo and on the command line: the
// start line, the totals of each depth, the stop report, the end report and the progress.
#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "cube/notation.hpp"
#include "searches/coset_search.hpp"

namespace tx {

inline constexpr const char* kCosetTooManyLeft = "There are more than 1000 cubes left. Continue the search.";
inline constexpr const char* kCosetExitQuestion =
    "Do you really want to close this window? All results not saved so far will be lost.";
inline constexpr std::uint64_t kCosetAddLimit = 1000;  // more are added only after the end

using CosetTotals = std::array<std::uint64_t, kCosetTotals>;
using CosetTime = std::chrono::system_clock::time_point;

// Local date and time, "2025-12-08 14:03:59".
std::string cosetDateTime(CosetTime t);
double hoursBetween(CosetTime from, CosetTime to);

// "Search started for Coset N  DATE (n symmetry|symmetries)", then an empty line.
std::vector<std::string> cosetStartLines(std::uint64_t cosetNumber, CosetTime start, std::uint16_t mask);
// "%2df: %10d": the positions first reached at `depth`.
std::string cosetDepthLine(int depth, std::uint64_t count);
// "N Cubes with at least D moves left."
std::string cosetLeftLine(std::uint64_t left, int atLeast);
// Depth 0 (the cube's own position, when it lies in H') is shown like every other depth.
// The end handler's report: the depths reached, the cubes left, the finish time and the
// running time. maxDepth: the last depth searched (19 in the window).
std::vector<std::string> cosetEndLines(const CosetTotals& totals, std::uint64_t reached, int maxDepth, CosetTime now,
                                       double hours);
// The stop report: the depths with the ratio to the depth before, the depth in progress
// "(incomplete)", the cubes left, the first move being searched and the hours running.
std::vector<std::string> cosetStopLines(const CosetTotals& totals, std::uint64_t reached, Move firstMove,
                                        CosetTime now, double hours);
// "Depth 17: 123456789 positions reached, 123456 positions/s" for a status line.
std::string cosetProgressText(const CosetProgress& p);

}  // namespace tx
