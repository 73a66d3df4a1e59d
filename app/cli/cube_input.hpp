#pragma once
// A cube given on the command line: a facelet string, or "@" and a maneuver that generates it
// from the solved cube. The same reasons are reported by check and solve.
#include <optional>
#include <string>
#include <string_view>

#include "cube/notation.hpp"
#include "facelet_input.hpp"

namespace tx::cli {

inline std::string faceletName(int f) {
    static const char kFaces[] = "URFDLB";
    return std::string(1, kFaces[f / 9]) + std::to_string(f % 9);
}

// Why a complete facelet cube cannot be solved as it stands, or nullopt when it can. Runs the
// quiet consistency check over every non-centre facelet, as the program does before it accepts
// a cube, and reports the first thing it had to change.
inline std::optional<std::string> cubeProblem(const FaceletCube& given) {
    FaceletCube cube = given;
    int corrections = 0;
    const bool unchanged = cube.checkAll(&corrections);
    for (int f = 0; f < kFacelets; ++f)
        if (cube.f[f] > 5) return "inconsistent facelet colors (facelet " + faceletName(f) + " removed)";
    if (corrections & kCorrectedTwist) return std::string("twist error (a corner is twisted)");
    if (corrections & kCorrectedFlip) return std::string("flip error (an edge is flipped)");
    if (corrections & kCorrectedParity) return std::string("parity error (two pieces are exchanged)");
    if (!unchanged) return std::string("inconsistent facelet colors");
    return std::nullopt;
}

// Parses one input line; on failure returns nullopt and the reason.
inline std::optional<FaceletCube> parseCube(std::string_view text, bool centres, std::string& error) {
    auto first = text.find_first_not_of(" \t");
    if (first != std::string_view::npos && text[first] == '@') {
        FaceletCube cube;
        cube.centersCount = centres;
        applyManeuverField(cube, text.substr(first + 1));
        return cube;
    }
    const int n = countFaceLetters(text);
    if (n < kFacelets) {
        error = "fewer than 54 facelet letters (" + std::to_string(n) + ")";
        return std::nullopt;
    }
    auto cube = parseFaceletString(text, error);
    if (!cube) return std::nullopt;
    cube->centersCount = centres;
    if (auto problem = cubeProblem(*cube)) {
        error = *problem;
        return std::nullopt;
    }
    return cube;
}

}  // namespace tx::cli
