#include <gtest/gtest.h>

#include <random>
#include <set>

#include "cube/symmetry.hpp"
#include "tables/coord_cube.hpp"
#include "tables/coord_tables.hpp"
#include "support/random_cubes.hpp"
#include "support/test_tables.hpp"

namespace tx {
namespace {

class CoordTablesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
    const CoordTables& t = *testing::loadTestTables().coords;
};

CubieCube randomCube(std::mt19937& rng) { return testing::randomCubie(rng); }

TEST_F(CoordTablesTest, ClassCounts) {
    EXPECT_EQ(t.flipSliceRep.size(), 64430u);
    EXPECT_EQ(t.sliceSortedRep.size(), 788u);
    EXPECT_EQ(t.cornerRep.size(), 2768u);
    EXPECT_TRUE(std::is_sorted(t.flipSliceRep.begin(), t.flipSliceRep.end()));
    EXPECT_EQ(t.flipSliceRep[0], 0u);
}

TEST_F(CoordTablesTest, ClassLookupGivesRepresentative) {
    std::mt19937 rng(11);
    for (int i = 0; i < 3000; ++i) {
        CubieCube c = randomCube(rng);
        int v = flipSliceClassOf(t, c);
        ASSERT_GE(v, 0);
        CubieCube conj;
        conjugateEdges(c, v & 15, conj);
        EXPECT_EQ(static_cast<std::uint32_t>(conj.flipSlice()), t.flipSliceRep[v >> 4]);
        int cc = t.cornerClassOf[c.cornerPerm()];
        conjugateCorners(c, cc & 15, conj);
        EXPECT_EQ(conj.cornerPerm(), t.cornerRep[cc >> 4]);
        int sc = sliceSortedClassOf(t, c);
        conjugateEdges(c, sc & 15, conj);
        EXPECT_EQ(conj.sliceSorted(), t.sliceSortedRep[sc >> 4]);
    }
}

TEST_F(CoordTablesTest, MoveTablesAgreeWithCubieMoves) {
    std::mt19937 rng(5);
    for (int i = 0; i < 500; ++i) {
        CubieCube c = randomCube(rng);
        c.setCenterOri(int(rng() % 4096));
        for (int m = 0; m < kMoves; ++m) {
            CubieCube d = c;
            d.applyMove(m);
            ASSERT_EQ(t.twistMove[c.twist() * kMoves + m], d.twist());
            ASSERT_EQ(t.flipMove[c.flip() * kMoves + m], d.flip());
            ASSERT_EQ(t.sliceMove[c.slice() * kMoves + m], d.slice());
            ASSERT_EQ(t.sliceSortedMove[c.sliceSorted() * kMoves + m], d.sliceSorted());
            ASSERT_EQ(t.cornerPermMove[c.cornerPerm() * kMoves + m], d.cornerPerm());
            ASSERT_EQ(t.dCornerPosMove[c.dCornerPos() * kMoves + m], d.dCornerPos());
            ASSERT_EQ(t.centerOriMove[c.centerOri() * kMoves + m], d.centerOri());
            ASSERT_EQ(t.centerParityMove[c.centerParity() * kMoves + m], d.centerParity());
            // In the cube's frame the move is conjugated by the class symmetry first.
            int fs = flipSliceClassOf(t, c);
            int conjMove = symmetries().symMoveConj[fs & 15][m];
            std::uint32_t next = t.flipSliceMove[(fs >> 4) * kMoves + conjMove];
            int total = symmetries().symProduct[next & 15][fs & 15];
            ASSERT_EQ(static_cast<int>(next >> 4), flipSliceClassOf(t, d) >> 4);
            CubieCube rep;
            conjugateEdges(d, total, rep);
            ASSERT_EQ(static_cast<std::uint32_t>(rep.flipSlice()), t.flipSliceRep[next >> 4]);
        }
    }
    // Four applications of an axis restore every coordinate.
    for (int r = 0; r < kTwists; ++r)
        for (int axis = 0; axis < kAxes; ++axis) {
            int v = r;
            for (int k = 0; k < 4; ++k) v = t.twistMove[v * kMoves + 3 * axis];
            ASSERT_EQ(v, r);
        }
}

TEST_F(CoordTablesTest, Phase2EdgeMovesOnPhase2Cubes) {
    std::mt19937 rng(9);
    for (int i = 0; i < 300; ++i) {
        CubieCube c;
        c.setUdEdgePerm(int(rng() % 40320));
        for (int m = 0; m < kMoves; ++m) {
            if (!isPhase2Move(m)) continue;
            CubieCube d = c;
            d.applyMove(m);
            ASSERT_EQ(t.udEdgePermMove[c.udEdgePerm() * kMoves + m], d.udEdgePerm());
        }
    }
}

TEST_F(CoordTablesTest, ConjugationTablesAgreeWithCubieConjugation) {
    std::mt19937 rng(13);
    for (int i = 0; i < 500; ++i) {
        CubieCube c = randomCube(rng);
        CubieCube p2;
        p2.setUdEdgePerm(int(rng() % 40320));
        c.setCenterOri(int(rng() % 4096));
        for (int s = 0; s < 16; ++s) {
            CubieCube x = conjugate(c, s);
            EXPECT_EQ(t.twistConj[c.twist() * 16 + s], x.twist());
            EXPECT_EQ(t.cornerPermConj[c.cornerPerm() * 16 + s], x.cornerPerm());
            EXPECT_EQ(t.dCornerPosConj[c.dCornerPos() * 16 + s], x.dCornerPos());
            EXPECT_EQ(t.centerParityConj[c.centerParity() * 16 + s], x.centerParity());
            CubieCube y = conjugate(p2, s);
            EXPECT_EQ(t.udEdgePermConj[p2.udEdgePerm() * 16 + s], y.udEdgePerm());
        }
    }
}

TEST_F(CoordTablesTest, UdEdgesFromTheOtherAxes) {
    std::mt19937 rng(17);
    EXPECT_EQ(t.udEdgeFromSlices[0], 0);
    for (int i = 0; i < 1000; ++i) {
        CubieCube c;
        c.setUdEdgePerm(int(rng() % 40320));
        c.setSliceSorted(int(rng() % 24));
        CubieCube a = conjugate(c, kSymUrf3);
        CubieCube b = conjugate(a, kSymUrf3);
        EXPECT_EQ(t.udEdgeFromSlices[a.sliceSorted() * 24 + b.sliceSorted() % 24], c.udEdgePerm());
    }
}

TEST_F(CoordTablesTest, AuxiliaryTables) {
    int odd = 0;
    for (int r = 0; r < 24; ++r) odd += t.sliceSortedParity[r];
    EXPECT_EQ(odd, 12);
    EXPECT_EQ(t.centerSumParity[0], 0);
    CubieCube c;
    c.centers[R].o = 1;
    EXPECT_EQ(t.centerSumParity[c.centerOri()], 1);
    EXPECT_EQ(t.cornerSignature[0], 0);
    std::set<int> signatures;
    for (int r = 0; r < kCornerPerms; ++r)
        if (t.cornerSignature[r] != kSignatureNone) signatures.insert(t.cornerSignature[r]);
    EXPECT_EQ(signatures.size(), 288u);
    EXPECT_EQ(*signatures.rbegin(), 287);
}

TEST_F(CoordTablesTest, CoordCubeOfIdentityAndSymmetricCubes) {
    CoordCube identity(t, CubieCube{});
    EXPECT_EQ(identity.symmetryMask, 0xFFFFFFFFFFFFull);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(identity.axis[k].flipSliceClass, 0);
        EXPECT_EQ(identity.axis[k].twist, 0);
        EXPECT_EQ(identity.axis[k].sliceSorted, 0);
    }
    EXPECT_EQ(identity.cornerPerm, 0);
    EXPECT_EQ(identity.udEdgePerm, 0);
    EXPECT_EQ(identity.cornerParity, 1);
    // Every edge flipped in place: invariant under all 48 symmetries.
    CubieCube checker;
    for (auto& e : checker.edges) e.o = 1;
    CoordCube cc(t, checker);
    EXPECT_EQ(cc.symmetryMask, 0xFFFFFFFFFFFFull);
    // One quarter turn U is invariant only under the symmetries that keep U and its sense.
    CubieCube u;
    u.applyMove(0);
    EXPECT_EQ(CoordCube(t, u).symmetryMask, GroupMaskTable[21].mask) << "C4";
    CubieCube copy = checker;
    CoordCube again(t, copy);
    EXPECT_EQ(copy, checker) << "construction leaves the cube as it was";
    // Axis 1 and 2 hold the cube conjugated by the URF rotation once and twice.
    std::mt19937 rng(23);
    CubieCube r = randomCube(rng);
    CoordCube rc(t, r);
    CubieCube a1 = conjugate(r, kSymUrf3);
    EXPECT_EQ(rc.axis[1].twist, a1.twist());
    EXPECT_EQ(rc.axis[1].sliceSorted, a1.sliceSorted());
    EXPECT_EQ(rc.symmetryMask, 1u);
}

}  // namespace
}  // namespace tx
