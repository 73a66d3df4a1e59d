#include "searches/incomp_input.hpp"

#include <array>

namespace tx {

namespace {

constexpr const char* kCornerNames[8] = {"URF", "UFL", "ULB", "UBR", "DFR", "DLF", "DBL", "DRB"};
constexpr const char* kEdgeNames[12] = {"UR", "UF", "UL", "UB", "DR", "DF", "DL", "DB", "FR", "FL", "BL", "BR"};

bool isMarked(std::uint8_t v) { return v >= kMarkOffset && v < kReferenceMark; }

// A colour with its mark dropped, -1 for undefined facelets and reference marks.
int colorOf(std::uint8_t v) { return v < 6 ? v : isMarked(v) ? v - kMarkOffset : -1; }

std::optional<std::string> colourCounts(const FaceletCube& cube) {
    int counts[6] = {};
    for (std::uint8_t v : cube.f)
        if (colorOf(v) >= 0) ++counts[colorOf(v)];
    for (int c = 0; c < 6; ++c)
        if (counts[c] > 9)
            return std::string("colour ") + faceLetter(c) + " is used " + std::to_string(counts[c]) +
                   " times; a cube has 9 of each";
    return std::nullopt;
}

// One corner or edge position: what its facelets say, or why they cannot be one piece. `cubie`
// gets the piece they show (-1: nothing defined or a reference mark only).
template <std::size_t N, std::size_t K>
std::optional<std::string> pieceProblem(const FaceletCube& cube, const std::array<std::uint8_t, N>& facelets,
                                        const std::array<std::array<std::uint8_t, N>, K>& colours, const char* name,
                                        int& cubie) {
    cubie = -1;
    int undefined = 0, references = 0, marked = 0;
    std::array<int, N> c{};
    for (std::size_t j = 0; j < N; ++j) {
        const std::uint8_t v = cube.f[facelets[j]];
        undefined += v == kUndefinedFacelet;
        references += v == kReferenceMark;
        marked += isMarked(v);
        c[j] = colorOf(v);
    }
    const std::string piece = std::string("piece ") + name;
    if (undefined == static_cast<int>(N)) return std::nullopt;
    if (references > 0) {
        if (references + undefined != static_cast<int>(N) || references > 1)
            return piece + " has a reference mark beside other stickers";
        return std::nullopt;
    }
    if (undefined > 0) return piece + " is only partly defined: give all its stickers or none";
    if (marked > 0 && marked != static_cast<int>(N)) return piece + " mixes marked and plain stickers";
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j)
            if (c[i] == c[j]) return piece + " has two stickers of one colour";
    for (std::size_t k = 0; k < K; ++k) {
        for (std::size_t o = 0; o < N; ++o) {
            bool all = true;
            for (std::size_t j = 0; j < N; ++j) all &= c[j] == colours[k][(j + N - o) % N];
            if (all) {
                cubie = static_cast<int>(k);
                return std::nullopt;
            }
        }
    }
    return std::string("no piece has the colours of ") + name;
}

template <std::size_t N, std::size_t K, std::size_t P>
std::optional<std::string> piecesProblem(const FaceletCube& cube, const std::array<std::array<std::uint8_t, N>, P>& facelets,
                                         const std::array<std::array<std::uint8_t, N>, K>& colours,
                                         const char* const* names) {
    std::array<int, K> seenAt;
    seenAt.fill(-1);
    for (std::size_t p = 0; p < P; ++p) {
        int cubie = -1;
        if (auto problem = pieceProblem(cube, facelets[p], colours, names[p], cubie)) return problem;
        if (cubie < 0) continue;
        if (seenAt[cubie] >= 0)
            return std::string("the ") + names[cubie] + " piece occurs twice (at " + names[seenAt[cubie]] + " and " +
                   names[p] + ")";
        seenAt[cubie] = static_cast<int>(p);
    }
    return std::nullopt;
}

// Twist, flip and parity: only where every piece concerned is known, as a cube fixes them.
std::optional<std::string> wholeCubeProblem(const FaceletCube& cube, int ignoredCenters) {
    const CubieCube c = cube.toCubieCube();
    bool twists = true, flips = true, corners = true, edges = true;
    for (const Piece& p : c.corners) {
        twists &= p.o < 3;
        corners &= p.c < 8;
    }
    for (const Piece& p : c.edges) {
        flips &= p.o < 2;
        edges &= p.c < 12;
    }
    if (twists && c.totalTwist() != 0) return std::string("twist error: no cube has these corner orientations");
    if (flips && c.totalFlip() != 0) return std::string("flip error: no cube has these edge orientations");
    if (corners && edges && c.cornerParityEven() != c.edgeParityEven())
        return std::string("parity error: no cube has these piece positions");
    // Every quarter turn changes the parity of the pieces and of the centres' turns together.
    if (cube.centersCount && ignoredCenters == 0 && (corners || edges)) {
        const bool even = corners ? c.cornerParityEven() : c.edgeParityEven();
        if (even != c.centerSumEven()) return std::string("parity error: the centre orientations do not fit the pieces");
    }
    return std::nullopt;
}

}  // namespace

std::optional<FaceletCube> parsePartialFacelets(std::string_view text, std::string& error) {
    FaceletCube cube;
    int n = 0;
    for (char ch : text) {
        int v = -1;
        if (ch == 'N' || ch == 'n' || ch == '.') {
            v = kUndefinedFacelet;
        } else if (ch == '*') {
            v = kReferenceMark;
        } else if (const int c = colorOfLetter(ch); c >= 0) {
            v = ch >= 'a' ? c + kMarkOffset : c;
        }
        if (v < 0) continue;
        if (n < kFacelets) cube.f[n] = static_cast<std::uint8_t>(v);
        ++n;
    }
    if (n != kFacelets) {
        error = "expected 54 facelets (face letters, N or . for undefined), found " + std::to_string(n);
        return std::nullopt;
    }
    return cube;
}

std::optional<std::string> partialCubeProblem(const FaceletCube& cube, int ignoredCenters) {
    if (!cube.centersInPlace()) return std::string("the centre facelets must read U R F D L B, in upper case");
    if (auto problem = colourCounts(cube)) return problem;
    if (auto problem = piecesProblem(cube, kCornerFacelet, kCornerColor, kCornerNames)) return problem;
    if (auto problem = piecesProblem(cube, kEdgeFacelet, kEdgeColor, kEdgeNames)) return problem;
    return wholeCubeProblem(cube, ignoredCenters);
}

}  // namespace tx
