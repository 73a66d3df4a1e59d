#pragma once
// The 48 symmetries acting on corner and edge arrays by conjugation, S c S^-1, and canonical
// keys: two cubes are equivalent under a group of symmetries exactly when their keys over
// that group agree. Only whole cubes (every position holding a real cubie) are keyed.
#include <array>
#include <cstdint>
#include <functional>

#include "cube/cubie_cube.hpp"

namespace tx {

using CornerArray = std::array<Piece, 8>;
using EdgeArray = std::array<Piece, 12>;

// Permutation and orientation entries of symmetry k and of its inverse, as the searches read
// them: the cubie that S_k brings to position x, its orientation, and the orientation of
// S_k^-1 at x.
struct SymmetryAction {
    std::array<std::array<std::uint8_t, 8>, 48> cornerPerm{}, cornerOri{}, cornerInvOri{};
    std::array<std::array<std::uint8_t, 12>, 48> edgePerm{}, edgeOri{}, edgeInvOri{};
};
const SymmetryAction& symmetryAction();

// S_k c S_k^-1.
CornerArray conjugateCorners(const CornerArray& c, int k);
EdgeArray conjugateEdges(const EdgeArray& e, int k);
// S_k c S_k^-1 == c.
bool invariantUnder(const CornerArray& c, const EdgeArray& e, int k);

struct CubeKey {
    std::uint64_t corners = 0;
    std::uint64_t edges = 0;
    bool operator==(const CubeKey&) const = default;
    auto operator<=>(const CubeKey&) const = default;
};
struct CubeKeyHash {
    std::size_t operator()(const CubeKey& k) const {
        return std::hash<std::uint64_t>()(k.corners * 0x9E3779B97F4A7C15ull ^ k.edges);
    }
};

std::uint64_t cornerKey(const CornerArray& c);
std::uint64_t edgeKey(const EdgeArray& e);
// The smallest key of the conjugates by the symmetries in mask (which holds the identity).
std::uint64_t canonicalCornerKey(const CornerArray& c, std::uint64_t mask);
CubeKey canonicalCubeKey(const CornerArray& c, const EdgeArray& e, std::uint64_t mask);

// Inverses of whole corner and edge arrays.
CornerArray inverseCorners(const CornerArray& c);
EdgeArray inverseEdges(const EdgeArray& e);

}  // namespace tx
