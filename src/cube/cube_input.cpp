#include "cube/cube_input.hpp"

#include "cube/notation.hpp"

namespace tx {

namespace {

constexpr const char* kTwistError = "twist error (a corner is twisted)";
constexpr const char* kFlipError = "flip error (an edge is flipped)";
constexpr const char* kParityError = "parity error (two pieces are exchanged)";
constexpr const char* kCentreParityError = "centre parity error (a centre is a quarter turn off)";
constexpr const char* kCentresDisplaced = "the centre facelets must read U R F D L B";
constexpr int kPieceListLetters = 48;

int countFaceLetters(std::string_view text) {
    int n = 0;
    for (char ch : text) n += colorOfLetter(ch) >= 0;
    return n;
}

// Every cubie of the set exactly once, each orientation below `orientations`.
template <std::size_t N>
bool wholePieces(const std::array<Piece, N>& pieces, int orientations) {
    std::array<bool, N> seen{};
    for (const Piece& p : pieces) {
        if (p.c >= N || seen[p.c] || p.o >= orientations) return false;
        seen[p.c] = true;
    }
    return true;
}

CubeText parseFacelets(std::string_view text, CubeText read, bool webRequest) {
    read.form = CubeForm::Facelets;
    const int n = webRequest ? read.cube.readFaceletString(text) : countFaceLetters(text);
    if (n < kFacelets) {
        read.error = "fewer than 54 facelet letters (" + std::to_string(n) + ")";
        return read;
    }
    if (n > kFacelets) {
        read.error = "expected 54 face letters, found " + std::to_string(n);
        return read;
    }
    if (!webRequest) read.cube.readFaceletString(text);
    if (!read.cube.centersInPlace()) read.error = kCentresDisplaced;
    return read;
}

}  // namespace

std::string faceletName(int f) {
    std::string name(1, faceLetter(f / 9));
    name += static_cast<char>('0' + f % 9);
    return name;
}

CubeText parseCubeText(std::string_view text, const CubeTextOptions& options) {
    CubeText read;
    read.cube.centersCount = options.centersCount;
    const auto first = text.find_first_not_of(" \t");
    if (!options.webRequest && first != std::string_view::npos && text[first] == '@') {
        read.form = CubeForm::Maneuver;
        applyManeuverField(read.cube, text.substr(first + 1));
        return read;
    }
    read.letters = countFaceLetters(text);
    if (!options.webRequest && read.letters == kPieceListLetters) {
        read.form = CubeForm::PieceList;
        read.cube.readPieceList(text);
        return read;
    }
    return parseFacelets(text, std::move(read), options.webRequest);
}

CubeText readCube(std::string_view text, const CubeTextOptions& options) {
    CubeText read = parseCubeText(text, options);
    if (read.ok()) read.error = cubeProblem(read.cube).value_or("");
    return read;
}

std::optional<std::string> cubeProblem(const FaceletCube& given) {
    for (int f = 0; f < kFacelets; ++f)
        if (given.f[f] > 5) return "incomplete cube (facelet " + faceletName(f) + " is not defined)";
    if (!given.centersInPlace()) return std::string(kCentresDisplaced);
    // The checking form of the editor's fix: what it had to change is what is wrong.
    FaceletCube cube = given;
    int corrections = 0;
    const bool unchanged = cube.checkAll(&corrections);
    for (int f = 0; f < kFacelets; ++f)
        if (cube.f[f] > 5) return "inconsistent facelet colors (facelet " + faceletName(f) + " removed)";
    if (corrections & kCorrectedTwist) return std::string(kTwistError);
    if (corrections & kCorrectedFlip) return std::string(kFlipError);
    if (corrections & kCorrectedParity) return std::string(kParityError);
    if (!unchanged) return std::string("inconsistent facelet colors");
    // What the facelets name is exactly what the cubies say; the cubie check adds the centres.
    return cubieProblem(given.toCubieCube());
}

std::optional<std::string> cubieProblem(const CubieCube& c) {
    if (!wholePieces(c.corners, 3)) return std::string("the corners are not the eight corner cubies, each once");
    if (!wholePieces(c.edges, 2)) return std::string("the edges are not the twelve edge cubies, each once");
    for (int i = 0; i < 6; ++i)
        if (c.centers[i].c != i || c.centers[i].o > 3) return std::string("a centre is out of place");
    if (c.totalTwist() != 0) return std::string(kTwistError);
    if (c.totalFlip() != 0) return std::string(kFlipError);
    if (c.cornerParityEven() != c.edgeParityEven()) return std::string(kParityError);
    if (c.centersCount && c.cornerParityEven() != c.centerSumEven()) return std::string(kCentreParityError);
    return std::nullopt;
}

}  // namespace tx
