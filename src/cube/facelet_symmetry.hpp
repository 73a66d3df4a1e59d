#pragma once
// The four basic symmetries acting on facelet cubes, the 48 symmetric images of a facelet cube
// and the comparison of two facelet cubes under symmetry (the isomorphism test of the list).
#include <cstdint>
#include <utility>

#include "cube/facelet_cube.hpp"

namespace tx {

// Basic symmetry s (0: 120 degrees about URF-DBL, 1: half turn about F-B, 2: quarter turn
// about U-D as y, 3: R-L reflection) applied in place: facelets permuted, colours renamed
// (marked colours like their plain colour, 6 and 13 kept), centre orientations carried along
// (and mirrored by the reflection).
void applyBasicSymmetry(FaceletCube& c, int s);

// Image number k = 16a + 8f + 2u + r: basic symmetry 0 applied a times, then 1 f times,
// 2 u times and 3 r times.
FaceletCube symmetricImage(const FaceletCube& c, int k);

// Calls visit(k, image) for the 48 images in the order k = 0..47, walking from one image to
// the next by single basic symmetries (r innermost); stops early when visit returns true and
// then answers true.
template <class Visit>
bool forEachSymmetricImage(FaceletCube cube, Visit&& visit) {
    int k = 0;
    for (int a = 0; a < 3; ++a) {
        for (int f = 0; f < 2; ++f) {
            for (int u = 0; u < 4; ++u) {
                for (int r = 0; r < 2; ++r) {
                    if (visit(k++, std::as_const(cube))) return true;
                    applyBasicSymmetry(cube, 3);
                }
                applyBasicSymmetry(cube, 2);
            }
            applyBasicSymmetry(cube, 1);
        }
        applyBasicSymmetry(cube, 0);
    }
    return false;
}

// True when some symmetric image of `a` equals `b`. Only the images whose number has its bit
// set in `mask` are compared (mask 0: all 48). With ignoreEdges the edge facelets (places
// 1 3 5 7 of every face) are not compared; when the centres count, the six centre
// orientations must agree too, and cubes that differ in the centres-count flag are never
// isomorphic. With includeInverse a cube is also isomorphic to b when it matches b's inverse.
bool isomorphic(const FaceletCube& a, const FaceletCube& b, bool ignoreEdges, std::uint64_t mask,
                bool includeInverse);

// The inverse of a facelet cube, formed on the cubie level (corners, edges, centres), with
// the centres-count flag of `c`. False when the facelets do not make a whole permutation of
// pieces (an undefined, unknown or repeated piece): such a cube has no inverse.
bool inverseCube(const FaceletCube& c, FaceletCube& out);

}  // namespace tx
