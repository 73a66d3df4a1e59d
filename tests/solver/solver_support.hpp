#pragma once
#include <random>
#include <vector>

#include "cube/cubie_cube.hpp"
#include "solver/ida.hpp"
#include "tables/coord_cube.hpp"
#include "support/random_cubes.hpp"
#include "support/test_tables.hpp"

namespace tx::testing {

// A search of the cube on the given tables (the face-turn test tables unless said otherwise).
inline IDA searchOf(const CubieCube& c, bool optimal, const TableSet& tables = loadTestTables()) {
    return IDA(tables, CoordCube(*tables.coords, c), optimal);
}

// Applies the first `length` levels of a finished search to the cube.
inline CubieCube applyLevels(CubieCube c, const IDA& ida) {
    for (int j = 0; j < ida.length; ++j) c.applyMove(3 * ida.levels[j].axis + ida.levels[j].power - 1);
    return c;
}

inline bool solvesCorners(const CubieCube& c) { return c.corners == CubieCube().corners && c.edges == CubieCube().edges; }

}  // namespace tx::testing
