#pragma once
// Random cubes for property tests, drawn from std::mt19937 so that each test's sequence is
// fixed by its seed.
#include <random>

#include "cube/cubie_cube.hpp"
#include "cube/facelet_cube.hpp"
#include "cube/random.hpp"

namespace tx::testing {

// A reachable cube: random coordinates, then the parity repair. With centres, the six centre
// orientations are drawn too; without, they stay 0 and nothing more is drawn.
inline CubieCube randomCubie(std::mt19937& rng, bool centres = false) {
    // One expression per case, as the tests were written: the order in which the draws are
    // made is the compiler's, and it fixes each seed's cubes.
    CubieCube c = centres ? CubieCube::fromCoordinates(int(rng() % 40320), int(rng() % 2187),
                                                       std::uint32_t(rng() % 479001600u), int(rng() % 2048),
                                                       int(rng() % 4096))
                          : CubieCube::fromCoordinates(int(rng() % 40320), int(rng() % 2187),
                                                       std::uint32_t(rng() % 479001600u), int(rng() % 2048), 0);
    if (c.cornerParityEven() != c.edgeParityEven()) std::swap(c.edges[UR].c, c.edges[UF].c);
    return c;
}

// A cube made by `moves` random moves (no axis twice in a row) from solved.
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

inline FaceletCube faceletCubeOf(const CubieCube& c) {
    FaceletCube f;
    f.setFromCubieCube(c);
    return f;
}

// A uniformly random cube from the program's own generator.
inline FaceletCube randomFaceletCube(MersenneTwister& rng) {
    FaceletCube c;
    randomCube(c, rng);
    return c;
}

}  // namespace tx::testing
