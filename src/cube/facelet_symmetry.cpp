#include "cube/facelet_symmetry.hpp"

#include <array>

namespace tx {

namespace {

using Perm = std::array<std::uint8_t, kFacelets>;

struct BasicSymmetry {
    Perm to;             // the value at facelet i goes to facelet to[i]
    ColorRenaming color; // old colour value -> new colour value
    bool mirror;         // orientations o become (4 - o) mod 4
};

constexpr std::uint8_t fl(Face face, int place) { return std::uint8_t(9 * face + place); }

Perm identity() {
    Perm p{};
    for (int i = 0; i < kFacelets; ++i) p[i] = std::uint8_t(i);
    return p;
}

// The 120-degree turn about URF-DBL: U goes to R, R to F, F to U (and D to L, L to B, B to D),
// as 3-cycles (X_i Y_j Z_k) over the places of the three faces.
Perm urfPermutation() {
    static constexpr int kUrf[9][3] = {{0, 8, 6}, {1, 7, 3}, {2, 6, 0}, {3, 5, 7}, {4, 4, 4},
                                       {5, 3, 1}, {6, 2, 8}, {7, 1, 5}, {8, 0, 2}};
    static constexpr int kDlb[9][3] = {{0, 0, 6}, {1, 1, 3}, {2, 2, 0}, {3, 3, 7}, {4, 4, 4},
                                       {5, 5, 1}, {6, 6, 8}, {7, 7, 5}, {8, 8, 2}};
    Perm p = identity();
    auto cycle = [&p](std::uint8_t a, std::uint8_t b, std::uint8_t c) {
        p[a] = b;
        p[b] = c;
        p[c] = a;
    };
    for (const auto& t : kUrf) cycle(fl(U, t[0]), fl(R, t[1]), fl(F, t[2]));
    for (const auto& t : kDlb) cycle(fl(D, t[0]), fl(L, t[1]), fl(B, t[2]));
    return p;
}

// The R-L reflection: rows of U, F, D, B mirrored in place, R and L exchanged mirrored.
Perm reflectionPermutation() {
    Perm p = identity();
    auto swap = [&p](std::uint8_t a, std::uint8_t b) {
        p[a] = b;
        p[b] = a;
    };
    for (Face face : {U, F, D, B})
        for (int row = 0; row < 3; ++row) swap(fl(face, 3 * row), fl(face, 3 * row + 2));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) swap(fl(R, 3 * row + col), fl(L, 3 * row + 2 - col));
    return p;
}

Perm twice(const Perm& p) {
    Perm r{};
    for (int i = 0; i < kFacelets; ++i) r[i] = p[p[i]];
    return r;
}

const std::array<BasicSymmetry, 4>& basicSymmetries() {
    static const std::array<BasicSymmetry, 4> table = {{
        {urfPermutation(), {1, 2, 0, 4, 5, 3}, false},
        {twice(FaceletCube::permutation(kTurnZ)), {3, 4, 2, 0, 1, 5}, false},
        {FaceletCube::permutation(kTurnY), {0, 2, 4, 3, 5, 1}, false},
        {reflectionPermutation(), {0, 4, 2, 3, 1, 5}, true},
    }};
    return table;
}

// Positions hold each cubie exactly once: the cube is a whole permutation.
template <std::size_t N>
bool isPermutation(const std::array<Piece, N>& pieces) {
    std::array<bool, N> seen{};
    for (const Piece& p : pieces) {
        if (p.c >= N || seen[p.c]) return false;
        seen[p.c] = true;
    }
    return true;
}

bool sameFacelets(const FaceletCube& a, const FaceletCube& b, bool ignoreEdges) {
    for (int i = 0; i < kFacelets; ++i) {
        if (ignoreEdges && (i % 9) % 2 == 1) continue;
        if (a.f[i] != b.f[i]) return false;
    }
    return true;
}

bool anyImageMatches(const FaceletCube& a, const FaceletCube& b, bool ignoreEdges, std::uint64_t mask) {
    return forEachSymmetricImage(a, [&](int k, const FaceletCube& image) {
        if (mask != 0 && !((mask >> k) & 1u)) return false;
        if (!sameFacelets(image, b, ignoreEdges)) return false;
        return !image.centersCount || image.centerOri == b.centerOri;
    });
}

}  // namespace

void applyBasicSymmetry(FaceletCube& c, int s) {
    const BasicSymmetry& sym = basicSymmetries()[s];
    c.previous = c.f;
    for (int i = 0; i < kFacelets; ++i) {
        std::uint8_t v = c.previous[i];
        if (v < 6)
            v = sym.color[v];
        else if (v >= kMarkOffset && v < kReferenceMark)
            v = std::uint8_t(sym.color[v - kMarkOffset] + kMarkOffset);
        c.f[sym.to[i]] = v;
    }
    const auto old = c.centerOri;
    for (int face = 0; face < 6; ++face) {
        const std::uint8_t o = old[face];
        c.centerOri[sym.color[face]] = sym.mirror ? std::uint8_t((4 - o) % 4) : o;
    }
}

FaceletCube symmetricImage(const FaceletCube& c, int k) {
    FaceletCube r = c;
    const int counts[4] = {k / 16, (k / 8) % 2, (k / 2) % 4, k % 2};
    for (int s = 0; s < 4; ++s)
        for (int t = 0; t < counts[s]; ++t) applyBasicSymmetry(r, s);
    return r;
}

bool inverseCube(const FaceletCube& c, FaceletCube& out) {
    const CubieCube cubies = c.toCubieCube();
    // Inverting needs every piece identified once; anything else has no inverse.
    if (!isPermutation(cubies.corners) || !isPermutation(cubies.edges)) return false;
    out = FaceletCube();
    out.setFromCubieCube(cubies.inverse());
    out.centersCount = c.centersCount;
    return true;
}

bool isomorphic(const FaceletCube& a, const FaceletCube& b, bool ignoreEdges, std::uint64_t mask,
                bool includeInverse) {
    if (a.centersCount != b.centersCount) return false;
    if (anyImageMatches(a, b, ignoreEdges, mask)) return true;
    if (!includeInverse) return false;
    FaceletCube inverse;
    if (!inverseCube(b, inverse)) return false;
    return isomorphic(a, inverse, ignoreEdges, mask, false);
}

}  // namespace tx
