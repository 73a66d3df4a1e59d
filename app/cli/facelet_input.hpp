#pragma once
// Reading cubes given on the command line as facelet strings or piece lists. The command
// line is stricter than the web server's reader: a line must hold exactly the expected number
// of face letters, so a dropped or doubled letter is reported instead of leaving a hole.
#include <optional>
#include <string>
#include <string_view>

#include "command.hpp"
#include "cube/facelet_cube.hpp"

namespace tx::cli {

inline int countFaceLetters(std::string_view text) {
    int n = 0;
    for (char ch : text) n += colorOfLetter(ch) >= 0;
    return n;
}

// A facelet string: 54 face letters in either case, other characters ignored, with the
// centres reading U R F D L B (any other centre would give its letter two meanings).
inline std::optional<FaceletCube> parseFaceletString(std::string_view text, std::string& error) {
    const int n = countFaceLetters(text);
    if (n != kFacelets) {
        error = "expected 54 face letters, found " + std::to_string(n);
        return std::nullopt;
    }
    FaceletCube cube;
    cube.readFaceletString(text);
    if (!cube.centersInPlace()) {
        error = "the centre facelets must read U R F D L B";
        return std::nullopt;
    }
    return cube;
}

// The facelet string of a cube, followed by " centers" and the six centre orientations
// (U R F D L B) when they are asked for.
inline std::string faceletLine(const FaceletCube& cube, bool withCenters) {
    std::string out = cube.faceletString();
    if (!withCenters) return out;
    out += " centers";
    for (auto o : cube.centerOri) {
        out += ' ';
        out += std::to_string(o);
    }
    return out;
}

}  // namespace tx::cli
