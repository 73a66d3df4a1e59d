#pragma once
// Cubes that come from outside (command lines, files, web requests): the one reader of their
// text forms and the one validity check with its reasons. Every command and the web server
// read cubes through readCube, so a cube refused in one place is refused, for the same
// reason, everywhere; the searches check the cubie level again (cubieProblem) before they
// compute a single coordinate.
#include <optional>
#include <string>
#include <string_view>

#include "cube/cubie_cube.hpp"
#include "cube/facelet_cube.hpp"

namespace tx {

// The form a cube was given in.
enum class CubeForm {
    Facelets,   // 54 face letters
    PieceList,  // 48 face letters: edges UF UR UB UL DF DR DB DL FR FL BR BL, then the corners
    Maneuver,   // "@" and a maneuver-field text that generates the cube from the solved one
};

struct CubeTextOptions {
    bool centersCount = false;  // the centre orientations count (a facelet string carries 0)
    // The web server's reading: letters after the 54th, or after a line end, are ignored, and
    // "@" has no meaning.
    bool webRequest = false;
};

struct CubeText {
    FaceletCube cube;   // as read; after an error as far as it could be read
    CubeForm form = CubeForm::Facelets;
    int letters = 0;    // face letters in the text (not counted behind "@")
    std::string error;  // empty when the cube can be solved
    bool ok() const { return error.empty(); }
};

// The name of facelet f as the reasons write it: face letter and place, "U0" .. "B8".
std::string faceletName(int f);

// Reads the text form only: which form it is and the cube it describes; `error` tells a text
// that is no cube at all (a wrong number of letters, displaced centres).
CubeText parseCubeText(std::string_view text, const CubeTextOptions& options = {});
// parseCubeText, then cubeProblem: the cube, or why it cannot be solved.
CubeText readCube(std::string_view text, const CubeTextOptions& options = {});

// Why a facelet cube cannot be solved as it stands, or nullopt when it can: an undefined
// facelet, displaced centres, the first facelet the consistency check had to remove, a
// twisted corner, a flipped edge, two pieces exchanged, or (when centres count) centre
// orientations that do not fit the corner permutation.
std::optional<std::string> cubeProblem(const FaceletCube& cube);

// The same at the cubie level: every corner and edge cubie exactly once with an orientation
// in range, centres in place, twist, flip and parity right. The searches ask this before they
// turn a cube into coordinates, since a wrong cube would index their tables out of range.
std::optional<std::string> cubieProblem(const CubieCube& cube);

}  // namespace tx
