#pragma once
// The coordinates of one cube in three orientations, as the searches start from them:
// axis 0 is the cube, axes 1 and 2 the cube conjugated by the URF-DBL rotation once and twice.
#include <array>
#include <cstdint>

#include "cube/cubie_cube.hpp"

namespace tx {

struct AxisCoords {
    int flipSliceClass = 0;
    int flipSliceSym = 0;
    int twist = 0;
    int dCornerPos = 0;
    int sliceSorted = 0;
    int sliceSortedClass = 0;
    int sliceSortedSym = 0;
    int centerOri = 0;
    int centerParity = 0;
};

struct CoordTables;

class CoordCube {
public:
    CoordCube(const CoordTables& t, CubieCube& cube);  // the cube is conjugated in place and restored
    CoordCube(const CoordTables& t, const CubieCube& cube) : CoordCube(t, copyOf(cube)) {}

    std::uint64_t symmetryMask = 0;  // bit s: the cube equals its conjugate by symmetry s
    bool centers = false;
    std::array<AxisCoords, 3> axis{};
    int cornerPerm = 0;
    int udEdgePerm = 0;  // valid for cubes in the phase-2 group
    int cornerParity = 0;

    // Every coordinate lies within its table's range (udEdgePerm may also be kNoUdEdgePerm, the
    // mark of a cube outside the phase-2 group). A search indexes its tables with these
    // values, so it refuses a cube for which this is false; a cube that no moves reach
    // (cubieProblem) is given coordinates out of range instead of being read.
    bool inRange() const;

private:
    static CubieCube& copyOf(const CubieCube& c) {
        thread_local CubieCube scratch;
        scratch = c;
        return scratch;
    }
};

std::uint64_t symmetryMaskOf(const CubieCube& cube, bool compareCenters);

}  // namespace tx
