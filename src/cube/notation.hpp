#pragma once
// Maneuver texts: the written form of the searches (face-turn form, or the middle-layer form
// in slice mode), the reader that applies a text to a facelet cube, the main window's maneuver
// field, inverses, face-turn counting, key letters and the symmetry transformation of texts.
#include <cstdint>
#include <string>
#include <string_view>

#include "cube/facelet_cube.hpp"

namespace tx {

struct Move {
    std::uint8_t axis = 0;   // 0..8 = U R F D L B Us Rs Fs
    std::uint8_t power = 1;  // 1..3
};

// Each move as its token ("U ", "R2 ", "F' ", "Us " ...) then " (" n metricLetter [*] ")".
// In slice mode the face-pair moves are written as middle-layer turns, with closing rotations.
std::string writeManeuver(const Move* moves, int count, char metricLetter, bool sliceMode, bool star = false);

struct ApplyResult {
    int moves = 0;           // moves applied (x, y, z not counted)
    bool pieceList = false;  // the text was a piece-list cube description
};
// Applies a maneuver text (or a piece list) to the cube; "//" starts a comment.
ApplyResult applyManeuver(FaceletCube& cube, std::string_view text);
// The main window's maneuver field: normalisation, then groups such as "(R U R' U')3".
int applyManeuverField(FaceletCube& cube, std::string_view text);

// Inverse of a maneuver text, its length mark copied unchanged.
std::string inverseManeuver(std::string_view text);
// The same, but a status text (containing "Status") is returned unchanged.
std::string inverseOptimalText(std::string_view text);

int countFaceTurns(std::string_view text);
std::string keyLetters(std::string_view text);
// Deletes ten characters starting one before the first " (" (the last token's blank, the
// mark's blank and the mark); a text without " (" stays as it is.
std::string cutLengthMark(std::string_view text);

// The text of a maneuver turned by basic symmetry t (0..3), as the cube is turned with it.
std::string transformManeuver(std::string_view text, int t);

}  // namespace tx
