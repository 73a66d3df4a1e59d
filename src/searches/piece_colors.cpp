#include "searches/piece_colors.hpp"

namespace tx {

namespace {

// For an edge position, the facelet pairs (edge facelet, corner facelet) on each shared face
// of its two neighbouring corners: [corner][face] with face 0 the edge's first face.
struct EdgeNeighbours {
    std::array<std::array<std::array<std::uint8_t, 2>, 2>, 2> pairs{};
};

std::array<EdgeNeighbours, 12> buildNeighbours() {
    std::array<EdgeNeighbours, 12> all{};
    for (int e = 0; e < 12; ++e) {
        int found = 0;
        for (int q = 0; q < 8 && found < 2; ++q) {
            std::array<int, 2> cornerFacelet{-1, -1};
            for (int side = 0; side < 2; ++side) {
                const int face = kEdgeFacelet[e][side] / 9;
                for (int s = 0; s < 3; ++s)
                    if (kCornerFacelet[q][s] / 9 == face) cornerFacelet[side] = kCornerFacelet[q][s];
            }
            if (cornerFacelet[0] < 0 || cornerFacelet[1] < 0) continue;
            for (int side = 0; side < 2; ++side)
                all[e].pairs[found][side] = {kEdgeFacelet[e][side], std::uint8_t(cornerFacelet[side])};
            ++found;
        }
    }
    return all;
}

std::array<std::array<std::uint8_t, 6>, 6> buildOriSums() {
    std::array<std::array<std::uint8_t, 6>, 6> sums{};
    for (int a = 0; a < 6; ++a) {
        for (int b = 0; b < 6; ++b) {
            std::array<Piece, 8> left{}, right{}, out{};
            for (int i = 0; i < 8; ++i) {
                left[i] = {std::uint8_t(i), std::uint8_t(a)};
                right[i] = {std::uint8_t(i), std::uint8_t(b)};
            }
            CubieCube::cornerProduct(left.data(), right.data(), out.data());
            sums[a][b] = out[0].o;
        }
    }
    return sums;
}

}  // namespace

bool edgeContinuous(const Facelets& f, int pos) {
    static const std::array<EdgeNeighbours, 12> neighbours = buildNeighbours();
    for (const auto& corner : neighbours[pos].pairs) {
        const bool first = f[corner[0][0]] == f[corner[0][1]];
        const bool second = f[corner[1][0]] == f[corner[1][1]];
        if (first != second) return false;
    }
    return true;
}

std::uint8_t cornerOriSum(int a, int b) {
    static const auto sums = buildOriSums();
    return sums[a][b];
}

}  // namespace tx
