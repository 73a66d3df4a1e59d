#pragma once
#include <random>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "solver/ida.hpp"
#include "tables/coord_cube.hpp"
#include "../tables/test_tables.hpp"

namespace tx::testing {

inline CubieCube randomCubie(std::mt19937& rng) {
    CubieCube c = CubieCube::fromCoordinates(int(rng() % 40320), int(rng() % 2187),
                                             std::uint32_t(rng() % 479001600u), int(rng() % 2048), 0);
    if (c.cornerParityEven() != c.edgeParityEven()) std::swap(c.edges[UR].c, c.edges[UF].c);
    return c;
}

inline CubieCube scramble(std::mt19937& rng, int moves, int moveLimit = kFaceMoves) {
    CubieCube c;
    int prev = -1;
    for (int i = 0; i < moves; ++i) {
        int m;
        do m = int(rng() % moveLimit); while (m / 3 == prev);
        prev = m / 3;
        c.applyMove(m);
    }
    return c;
}

// Applies the first `length` levels of a finished search to the cube.
inline CubieCube applyLevels(CubieCube c, const IDA& ida) {
    for (int j = 0; j < ida.length; ++j) c.applyMove(3 * ida.levels[j].axis + ida.levels[j].power - 1);
    return c;
}

inline bool solvesCorners(const CubieCube& c) { return c.corners == CubieCube().corners && c.edges == CubieCube().edges; }

}  // namespace tx::testing
