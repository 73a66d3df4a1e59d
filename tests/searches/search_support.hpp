#pragma once
// Helpers of the search tests: running a search to its end, and checks made with the cube
// model itself rather than with the searches' own code.
#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/facelet_symmetry.hpp"
#include "cube/symmetry.hpp"
#include "searches/search_worker.hpp"

namespace tx::testing {

inline std::vector<FaceletCube> runToEnd(SearchWorker& search) {
    std::vector<FaceletCube> found;
    search.run([&](const FaceletCube& c) { found.push_back(c); });
    return found;
}

// The cube count of a group list item ("147,456" -> 147456).
inline long long listedCount(std::string_view text) {
    std::string digits;
    for (char ch : text)
        if (ch != ',') digits += ch;
    return std::stoll(digits);
}

// A whole, solvable cube: every piece once, twist, flip and parities right.
inline bool solvable(const FaceletCube& f) {
    if (!f.isComplete()) return false;
    const CubieCube c = f.toCubieCube();
    std::array<bool, 8> corner{};
    std::array<bool, 12> edge{};
    for (const auto& p : c.corners) {
        if (p.c >= 8 || corner[p.c]) return false;
        corner[p.c] = true;
    }
    for (const auto& p : c.edges) {
        if (p.c >= 12 || edge[p.c]) return false;
        edge[p.c] = true;
    }
    FaceletCube back;
    back.setFromCubieCube(c);
    return back.f == f.f && c.totalTwist() == 0 && c.totalFlip() == 0 && c.cornerParityEven() == c.edgeParityEven();
}

// Corners and edges of a conjugate S_k c S_k^-1 against a target, by cubie products.
inline bool conjugateEquals(const CubieCube& c, int k, const CubieCube& target) {
    const CubieCube conj = conjugate(c, k);
    return conj.corners == target.corners && conj.edges == target.edges;
}

inline std::uint64_t symmetryMaskOf(const FaceletCube& f) {
    const CubieCube c = f.toCubieCube();
    std::uint64_t mask = 0;
    for (int k = 0; k < kSymmetries; ++k)
        if (conjugateEquals(c, k, c)) mask |= std::uint64_t{1} << k;
    return mask;
}

// The smallest facelet image under the 48 symmetries (and of the inverse's images): equal
// for isomorphic cubes and only for them.
inline std::array<std::uint8_t, kFacelets> isoClass(const FaceletCube& cube, bool withInverse) {
    std::array<std::uint8_t, kFacelets> best;
    best.fill(0xFF);
    forEachSymmetricImage(cube, [&](int, const FaceletCube& image) {
        best = std::min(best, image.f);
        return false;
    });
    FaceletCube inverse;
    if (withInverse && inverseCube(cube, inverse)) best = std::min(best, isoClass(inverse, false));
    return best;
}

inline std::size_t classCount(const std::vector<FaceletCube>& cubes, bool withInverse) {
    std::set<std::array<std::uint8_t, kFacelets>> classes;
    for (const auto& c : cubes) classes.insert(isoClass(c, withInverse));
    return classes.size();
}

// Number of different colours on each face.
inline std::array<int, 6> coloursPerFace(const FaceletCube& f) {
    std::array<int, 6> n{};
    for (int face = 0; face < 6; ++face) {
        std::set<int> seen(f.f.begin() + 9 * face, f.f.begin() + 9 * face + 9);
        n[face] = static_cast<int>(seen.size());
    }
    return n;
}

// The continuity rule, found from the grid of each face: next to an edge facelet lie two corner
// facelets of the same face; for each, the edge and that corner must agree in colour on this
// face exactly when they agree on the other face they share.
inline bool continuousByGrid(const FaceletCube& f) {
    static constexpr int kBeside[9][2] = {{}, {0, 2}, {}, {0, 6}, {}, {2, 8}, {}, {6, 8}, {}};
    for (const auto& edge : kEdgeFacelet) {
        const int face = edge[0] / 9, otherFace = edge[1] / 9;
        for (int place : kBeside[edge[0] % 9]) {
            const int cornerFacelet = 9 * face + place;
            for (const auto& corner : kCornerFacelet) {
                if (std::find(corner.begin(), corner.end(), cornerFacelet) == corner.end()) continue;
                for (int other : corner) {
                    if (other / 9 != otherFace) continue;
                    if ((f.f[edge[0]] == f.f[cornerFacelet]) != (f.f[edge[1]] == f.f[other])) return false;
                }
            }
        }
    }
    return true;
}

inline std::size_t continuousCount(const std::vector<FaceletCube>& cubes) {
    return static_cast<std::size_t>(std::count_if(cubes.begin(), cubes.end(), continuousByGrid));
}

}  // namespace tx::testing
