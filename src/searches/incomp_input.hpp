#pragma once
// Partially defined cubes given as text, and the test whether a facelet cube with undefined
// facelets can be a part of any cube at all. The facelet editor reaches the same end through
// its consistency check; the command line reads text and says what is wrong in one line.
#include <optional>
#include <string>
#include <string_view>

#include "cube/facelet_cube.hpp"

namespace tx {

// 54 facelets in the form the facelet string writer uses: U R F D L B for colours, "N" (also
// "n" and ".") for an undefined facelet, u r f d l b for a marked colour (the piece is known,
// its orientation open) and "*" for a reference mark (the orientation is known, the piece
// open). Blanks and other characters are skipped. Nullopt and the reason when there are not
// exactly 54 facelets.
std::optional<FaceletCube> parsePartialFacelets(std::string_view text, std::string& error);

// Why the cube cannot be a part of any cube (a colour used more than nine times, a piece with
// two stickers of one colour or with colours no piece has, a partly defined piece, a piece that
// occurs twice, a twist, flip or parity that no cube has), or nullopt. Centre orientations are
// taken into account when the cube counts them and none of them is ignored.
std::optional<std::string> partialCubeProblem(const FaceletCube& cube, int ignoredCenters = 0);

}  // namespace tx
