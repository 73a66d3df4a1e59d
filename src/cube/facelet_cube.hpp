#pragma once
// The cube as the user sees it: 54 facelet values plus the orientation of the six centres.
// Facelet n lies on face n / 9 (U R F D L B) at place n % 9, places read row by row as the
// face is seen from outside (U with its B edge on top, D with its F edge on top, the side
// faces with their U edge on top).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <vector>

#include "cube/cubie_cube.hpp"

namespace tx {

constexpr int kFacelets = 54;

// Facelet values: 0..5 the colour of the centre of face U R F D L B; 6 undefined;
// 7..12 a marked colour (piece known, orientation open); 13 a reference mark (orientation
// known, piece open).
constexpr std::uint8_t kUndefinedFacelet = 6;
constexpr std::uint8_t kMarkOffset = 7;
constexpr std::uint8_t kReferenceMark = 13;

// The facelets of each corner and edge position in reference order, and the colours of each
// cubie in the same order: the k-th colour of a cubie belongs on the k-th facelet of its home.
extern const std::array<std::array<std::uint8_t, 3>, 8> kCornerFacelet;
extern const std::array<std::array<std::uint8_t, 3>, 8> kCornerColor;
extern const std::array<std::array<std::uint8_t, 2>, 12> kEdgeFacelet;
extern const std::array<std::array<std::uint8_t, 2>, 12> kEdgeColor;

// The 48 non-centre facelets in piece-list order: edges UF UR UB UL DF DR DB DL FR FL BR BL,
// then corners UFR URB UBL ULF DRF DFL DLB DBR, each piece's facelets in the order of its name.
extern const std::array<std::uint8_t, 48> kPieceListFacelet;
extern const std::array<std::string_view, 20> kPieceListNames;

// Facelet turn codes: 0..5 the faces, 6..8 the whole-cube rotations x y z (as R, U, F),
// 9..11 the middle layers E M S (as D, L, F).
constexpr int kTurnX = 6, kTurnY = 7, kTurnZ = 8, kTurnE = 9, kTurnM = 10, kTurnS = 11;
constexpr int kFaceletTurns = 12;

// Old colour value -> new colour value after a turn; the identity for face turns.
using ColorRenaming = std::array<std::uint8_t, 6>;

// Global corrections made by the consistency check, as bits.
constexpr int kCorrectedTwist = 1;
constexpr int kCorrectedFlip = 2;
constexpr int kCorrectedParity = 4;

inline constexpr std::string_view kTwistErrorText =
    "Twist Error. The twist of the URF-Corner will be changed.";
inline constexpr std::string_view kFlipErrorText =
    "Flip Error. The flip of the UF-Corner will be changed.";
inline constexpr std::string_view kParityErrorText =
    "Parity Error. The UF-Edge and the DF-Edge will be exchanged.";

// The messages of the global corrections in `corrections` (kCorrected* bits), in the order
// the check makes them: what the editor tells the user.
std::vector<std::string_view> correctionMessages(int corrections);

class FaceletCube {
public:
    std::array<std::uint8_t, kFacelets> f{};
    // The state before the last turn, readable until the next turn.
    std::array<std::uint8_t, kFacelets> previous{};
    std::array<std::uint8_t, 6> centerOri{};  // clockwise quarter turns, U R F D L B
    bool centersCount = false;

    FaceletCube();  // solved

    void reset();  // solved, centre orientations 0
    void clear();  // non-centre facelets undefined, centre orientations 0
    // Copy that takes its centre orientations from `ori` and counts them.
    FaceletCube withCenters(const std::array<std::uint8_t, 6>& ori) const;

    bool operator==(const FaceletCube& o) const {
        return f == o.f && centerOri == o.centerOri && centersCount == o.centersCount;
    }

    // One quarter turn, code 0..11. Rotations and middle-layer turns re-express the cube
    // relative to the moved centres; the caller permutes its display colours with renaming().
    void turn(int code);
    static const ColorRenaming& renaming(int code);
    // Where the value at facelet i goes under turn `code` (before any renaming).
    static const std::array<std::uint8_t, kFacelets>& permutation(int code);

    // Conversions to and from the cubie level.
    void setFromCubieCube(const CubieCube& c);
    CubieCube toCubieCube() const;

    // Facelet-level parity checks on the plain values 0..5.
    bool cornerTwistValid() const;
    bool edgeFlipValid() const;

    // Consistency check of facelet p (editor fix); true when nothing had to be changed.
    // With p == 53 or quiet clear it ends with the global corrections; `corrections` receives
    // their kCorrected* bits (the editing form tells the user: correctionMessages).
    bool checkFacelet(int p, bool quiet, int* corrections = nullptr);
    // The checking form over every non-centre facelet in increasing order, as run before a
    // cube is accepted; true when nothing had to be changed.
    bool checkAll(int* corrections = nullptr);

    bool isComplete() const;        // every facelet 0..5
    bool centersInPlace() const;    // centre facelet of face k holds colour k
    bool hasPartialPiece() const;   // a piece with an undefined and a defined facelet

    // Facelet string: 54 face letters in facelet order. The reader empties the cube, then
    // gives the next facelet a colour for every face letter (either case) until 54 letters,
    // a line end or the end of the text, skipping every other character; it answers the
    // number of letters used. The writer uses "N" for undefined facelets, lower case for
    // marked colours and "*" for reference marks.
    int readFaceletString(std::string_view text);
    std::string faceletString() const;

    // Piece-list form: 48 face letters in kPieceListFacelet order. The reader assigns face
    // letters in order and skips every other character, centres untouched; it answers the
    // number of letters used. The writer puts a blank after every piece, writes "N" for an
    // undefined facelet and nothing for marked facelets and reference marks.
    int readPieceList(std::string_view text);
    std::string pieceList() const;

private:
    int globalCorrections();
};

// Face letter of colour value 0..5, or 0 for anything else; colour of a face letter, or -1.
char faceLetter(int color);
int colorOfLetter(char letter);

// Permutes a display colour scheme (entries 0..5 by colour value, further entries untouched)
// after a turn, so the picture keeps showing the same physical colours.
template <class T, std::size_t N>
void permuteScheme(std::array<T, N>& scheme, const ColorRenaming& r) {
    static_assert(N >= 6);
    const std::array<T, N> old = scheme;
    for (int c = 0; c < 6; ++c) scheme[r[c]] = old[c];
}

}  // namespace tx
