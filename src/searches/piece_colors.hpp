#pragma once
// Pieces written into facelets, as the enumerating searches place them one by one, and the
// continuity rule for the colours of an edge and its neighbouring corners.
#include <array>
#include <cstdint>

#include "cube/facelet_cube.hpp"

namespace tx {

using Facelets = std::array<std::uint8_t, kFacelets>;

// Corner cubie `cubie` at `pos` with orientation 0..2: facelet slot s of the position takes
// colour (s - ori) mod 3 of the cubie.
inline void writeCorner(Facelets& f, int pos, int cubie, int ori) {
    for (int s = 0; s < 3; ++s) f[kCornerFacelet[pos][s]] = kCornerColor[cubie][(s - ori + 3) % 3];
}
// Edge cubie at `pos` with flip 0..1: slot s takes colour (s + flip) mod 2.
inline void writeEdge(Facelets& f, int pos, int cubie, int flip) {
    for (int s = 0; s < 2; ++s) f[kEdgeFacelet[pos][s]] = kEdgeColor[cubie][(s + flip) % 2];
}
inline void clearCorner(Facelets& f, int pos) {
    for (int s = 0; s < 3; ++s) f[kCornerFacelet[pos][s]] = kUndefinedFacelet;
}
inline void clearEdge(Facelets& f, int pos) {
    for (int s = 0; s < 2; ++s) f[kEdgeFacelet[pos][s]] = kUndefinedFacelet;
}

// Continuity of the edge at `pos`: for each of the two corners beside it, the edge facelet
// and the corner facelet on one shared face have equal colours exactly when those on the
// other shared face have.
bool edgeContinuous(const Facelets& f, int pos);

// Product of corner orientations 0..5 (3..5 mirrored), as in the cubie product.
std::uint8_t cornerOriSum(int a, int b);
// Inverse of a corner orientation: 0, 1, 2 -> 0, 2, 1; mirrored values stay.
inline int cornerOriInverse(int o) { return o < 3 ? (3 - o) % 3 : o; }

}  // namespace tx
