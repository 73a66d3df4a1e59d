#include "tables/coord_cube.hpp"

#include "cube/cube_input.hpp"
#include "cube/symmetry.hpp"
#include "tables/coord_tables.hpp"
#include "tables/table_index.hpp"

namespace tx {

std::uint64_t symmetryMaskOf(const CubieCube& cube, bool compareCenters) {
    std::uint64_t mask = 0;
    for (int s = 0; s < kSymmetries; ++s) {
        CubieCube c = conjugate(cube, s);
        bool same = c.corners == cube.corners && c.edges == cube.edges &&
                    (!compareCenters || c.centers == cube.centers);
        if (same) mask |= std::uint64_t(1) << s;
    }
    return mask;
}

CoordCube::CoordCube(const CoordTables& t, CubieCube& cube) {
    centers = cube.centersCount;
    // Pieces missing, doubled or turned beyond their orientations would index the tables
    // below out of range: such a cube gets coordinates that inRange() refuses.
    if (cubieProblem(cube)) {
        cornerPerm = -1;
        return;
    }
    symmetryMask = symmetryMaskOf(cube, centers);
    for (int k = 0; k < 3; ++k) {
        AxisCoords& a = axis[k];
        int fs = flipSliceClassOf(t, cube);
        a.flipSliceClass = static_cast<int>(index::classOf(fs));
        a.flipSliceSym = static_cast<int>(index::symOf(fs));
        a.twist = cube.twist();
        a.dCornerPos = cube.dCornerPos();
        a.sliceSorted = cube.sliceSorted();
        int ss = sliceSortedClassOf(t, cube);
        a.sliceSortedClass = static_cast<int>(index::classOf(ss));
        a.sliceSortedSym = static_cast<int>(index::symOf(ss));
        a.centerOri = cube.centerOri();
        a.centerParity = cube.centerParity();
        if (k == 0) cornerPerm = cube.cornerPerm();
        bool keep = cube.centersCount;
        cube = conjugate(cube, kSymUrf3);
        cube.centersCount = keep;
    }
    // Three conjugations by the URF rotation have restored the cube.
    udEdgePerm = t.udEdgeFromSlices[index::udEdgeFromSlices(axis[1].sliceSorted, axis[2].sliceSorted)];
    cornerParity = cube.cornerParity();
}

namespace {
bool within(int value, int size) { return value >= 0 && value < size; }
}  // namespace

bool CoordCube::inRange() const {
    for (const AxisCoords& a : axis) {
        if (!within(a.flipSliceClass, kFlipSliceClasses) || !within(a.flipSliceSym, kUdSymmetries) ||
            !within(a.twist, kTwists) || !within(a.dCornerPos, kDCornerPos) || !within(a.sliceSorted, kSliceSorted) ||
            !within(a.sliceSortedClass, kSliceSortedClasses) || !within(a.sliceSortedSym, kUdSymmetries) ||
            !within(a.centerOri, kCenterOris) || !within(a.centerParity, kCenterParities))
            return false;
    }
    return within(cornerPerm, kCornerPerms) && (within(udEdgePerm, kUdEdgePerms) || udEdgePerm == kNoUdEdgePerm) &&
           within(cornerParity, 2);
}

}  // namespace tx
