#include <gtest/gtest.h>

#include <random>

#include "cube/cubie_cube.hpp"
#include "cube/symmetry.hpp"

namespace tx {
namespace {

CubieCube randomCube(std::mt19937& rng) {
    CubieCube c = CubieCube::fromCoordinates(int(rng() % 40320), int(rng() % 2187),
                                             std::uint32_t(rng() % 479001600u), int(rng() % 2048),
                                             int(rng() % 4096));
    if (c.cornerParityEven() != c.edgeParityEven()) std::swap(c.edges[UR].c, c.edges[UF].c);
    return c;
}

TEST(CubieCubeProduct, FourQuarterTurnsAreIdentity) {
    for (int axis = 0; axis < kAxes; ++axis) {
        CubieCube c;
        for (int i = 0; i < 4; ++i) c.applyAxis(axis);
        EXPECT_EQ(c, CubieCube()) << "axis " << axis;
    }
}

TEST(CubieCubeProduct, SliceAxisIsFaceAndOppositeInverse) {
    for (int k = 0; k < 3; ++k) {
        CubieCube slice, pair;
        slice.applyAxis(6 + k);
        pair.applyAxis(k);
        for (int i = 0; i < 3; ++i) pair.applyAxis(k + 3);
        EXPECT_EQ(slice, pair) << "axis " << 6 + k;
    }
}

TEST(CubieCubeProduct, MirroredAndUndeterminedOrientations) {
    CubieCube a, b;
    a.corners[0].o = 1;
    b.corners[0].o = 4;
    CubieCube p = a;
    p.multiplyCorners(b);
    EXPECT_EQ(p.corners[0].o, 5);
    p = b;
    p.multiplyCorners(a);
    EXPECT_EQ(p.corners[0].o, 3);
    CubieCube c;
    c.corners[0].o = 5;
    p = b;
    p.multiplyCorners(c);
    EXPECT_EQ(p.corners[0].o, 2);
    CubieCube u;
    u.corners[0].o = kNoOri;
    u.edges[0].o = kNoOri;
    u.multiply(CubieCube::moveCubes()[U]);
    int undetermined = 0;
    for (auto& pc : u.corners) undetermined += pc.o == kNoOri;
    for (auto& pe : u.edges) undetermined += pe.o == kNoOri;
    EXPECT_EQ(undetermined, 2);
    EXPECT_EQ(u.totalTwist(), 0);
    EXPECT_EQ(u.totalFlip(), 0);
}

TEST(CubieCubeProduct, InverseTimesCubeIsIdentity) {
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        CubieCube c = randomCube(rng);
        CubieCube p = c;
        p.multiply(c.inverse());
        EXPECT_EQ(p, CubieCube());
        p = c.inverse();
        p.multiply(c);
        EXPECT_EQ(p, CubieCube());
    }
    const CubieCube& reflection = CubieCube::basicSymmetries()[3];
    CubieCube r = reflection;
    r.multiply(reflection);
    EXPECT_EQ(r, CubieCube());
    EXPECT_EQ(reflection.inverse(), reflection);
}

TEST(CubieCubeCoordinates, IdentityIsZero) {
    CubieCube c;
    EXPECT_EQ(c.twist(), 0);
    EXPECT_EQ(c.flip(), 0);
    EXPECT_EQ(c.slice(), 0);
    EXPECT_EQ(c.sliceSorted(), 0);
    EXPECT_EQ(c.cornerPerm(), 0);
    EXPECT_EQ(c.udEdgePerm(), 0);
    EXPECT_EQ(c.dCornerPos(), 0);
    EXPECT_EQ(c.centerOri(), 0);
    EXPECT_EQ(c.edgePermFull(), 0u);
    EXPECT_EQ(c.cornerParity(), 1);
    EXPECT_EQ(CubieCube::fromCoordinates(0, 0, 0, 0, 0), c);
}

TEST(CubieCubeCoordinates, SettersRoundTrip) {
    CubieCube c;
    for (int v = 0; v < 2187; ++v) { c.setTwist(v); ASSERT_EQ(c.twist(), v); ASSERT_EQ(c.totalTwist(), 0); }
    for (int v = 0; v < 2048; ++v) { c.setFlip(v); ASSERT_EQ(c.flip(), v); ASSERT_EQ(c.totalFlip(), 0); }
    for (int v = 0; v < 495; ++v) { c.setSlice(v); ASSERT_EQ(c.slice(), v); }
    for (int v = 0; v < 11880; ++v) { c.setSliceSorted(v); ASSERT_EQ(c.sliceSorted(), v); }
    for (int v = 0; v < 40320; ++v) { c.setCornerPerm(v); ASSERT_EQ(c.cornerPerm(), v); }
    for (int v = 0; v < 40320; ++v) { c.setUdEdgePerm(v); ASSERT_EQ(c.udEdgePerm(), v); ASSERT_EQ(c.slice(), 0); }
    for (int v = 0; v < 70; ++v) { c.setDCornerPos(v); ASSERT_EQ(c.dCornerPos(), v); }
    for (int v = 0; v < 4096; ++v) { c.setCenterOri(v); ASSERT_EQ(c.centerOri(), v); }
    std::mt19937 rng(3);
    for (int i = 0; i < 5000; ++i) {
        std::uint32_t r = rng() % 479001600u;
        c.setEdgePermFull(r);
        ASSERT_EQ(c.edgePermFull(), r);
    }
}

TEST(CubieCubeCoordinates, SliceSetByDefinition) {
    CubieCube c;
    c.setSlice(0);
    for (int k = 8; k < 12; ++k) EXPECT_GE(c.edges[k].c, FR);
    // The slice edges standing in positions 0..3 give the largest value.
    CubieCube d;
    for (int k = 0; k < 4; ++k) std::swap(d.edges[k].c, d.edges[k + 8].c);
    EXPECT_EQ(d.slice(), 494);
}

TEST(Symmetries, InverseAndProductTables) {
    const auto& s = symmetries();
    EXPECT_EQ(s.symCube[0], CubieCube());
    EXPECT_EQ(s.symInverse[0], 0);
    EXPECT_EQ(s.symInverse[1], 1);
    EXPECT_EQ(s.symInverse[4], 4);
    EXPECT_EQ(s.symInverse[2], 6);
    for (int a = 0; a < kSymmetries; ++a) {
        EXPECT_EQ(s.symProduct[a][s.symInverse[a]], 0);
        CubieCube p = s.symCube[a];
        p.multiply(s.symCube[s.symInverse[a]]);
        EXPECT_EQ(p, CubieCube()) << a;
    }
    for (int a = 0; a < 16; ++a)
        for (int b = 0; b < 16; ++b) EXPECT_LT(s.symProduct[a][b], 16);
    for (int a = 0; a < kSymmetries; ++a)
        for (int b = 0; b < kSymmetries; ++b) {
            CubieCube p = s.symCube[a];
            p.multiply(s.symCube[b]);
            EXPECT_EQ(p, s.symCube[s.symProduct[a][b]]);
        }
}

TEST(Symmetries, MoveConjugation) {
    const auto& s = symmetries();
    for (int m = 0; m < kMoves; ++m) EXPECT_EQ(s.symMoveConj[0][m], m);
    EXPECT_EQ(s.symMoveConj[1][0], 2);
    EXPECT_EQ(s.symMoveConj[1][3], 14);
    // Conjugated moves agree with cubie conjugation on corners and edges.
    for (int k = 0; k < kSymmetries; ++k) {
        for (int m = 0; m < kMoves; ++m) {
            CubieCube mv;
            mv.applyMove(m);
            CubieCube conj = conjugate(mv, k);
            CubieCube expect;
            expect.applyMove(s.symMoveConj[k][m]);
            EXPECT_EQ(conj.corners, expect.corners) << k << " " << m;
            EXPECT_EQ(conj.edges, expect.edges) << k << " " << m;
        }
    }
}

TEST(Symmetries, GroupMasksHaveTheirOrder) {
    for (const auto& row : GroupMaskTable) {
        EXPECT_EQ(__builtin_popcountll(row.mask), row.order) << row.name;
        EXPECT_TRUE(row.mask & 1);
        // closed under products
        const auto& s = symmetries();
        for (int a = 0; a < 48; ++a)
            for (int b = 0; b < 48; ++b)
                if ((row.mask >> a & 1) && (row.mask >> b & 1)) {
                    EXPECT_TRUE(row.mask >> s.symProduct[a][b] & 1) << row.name;
                }
    }
    EXPECT_EQ(groupRowOfMask(0xFFFFFFFFFFFF), 0);
    EXPECT_EQ(groupRowOfMask(1), 32);
}

}  // namespace
}  // namespace tx
