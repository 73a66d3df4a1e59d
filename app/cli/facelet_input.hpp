#pragma once
// Writing cubes on the command line. Cubes are read through readCube (cube/cube_input.hpp),
// the reader every command and the web server share.
#include <string>

#include "cube/cube_input.hpp"

namespace tx::cli {

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
