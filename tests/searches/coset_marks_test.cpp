// What the coset search works with: the positions of H' and their indices, the images of a
// position under the coset's symmetries, the coset's number and symmetries, the reached set,
// and the cubes left that Add Cubes puts into the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "coset_support.hpp"
#include "cube/symmetry.hpp"
#include "support/random_cubes.hpp"
#include "tables/coord_cube.hpp"

namespace tx {
namespace {

using testing::cubeOf;
using testing::inSubgroup;
using testing::loadTestTables;
using testing::weakBound;

class CosetMarksTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(loadTestTables().ready()); }
    const CoordTables& coords() const { return *loadTestTables().coords; }
};

TEST_F(CosetMarksTest, positionsAndIndicesCorrespond) {
    const CosetPositions positions(coords());
    std::mt19937 rng(5);
    std::vector<std::uint32_t> samples{0, 1, 23, 24, 6911, 6912, kCosetPositions - 1};
    for (int i = 0; i < 2000; ++i) samples.push_back(rng() % kCosetPositions);
    for (std::uint32_t b : samples) {
        const CubieCube p = positions.position(b);
        ASSERT_TRUE(inSubgroup(p)) << b;
        ASSERT_EQ(p.cornerParityEven(), p.edgeParityEven()) << b;
        ASSERT_EQ(positions.indexOf(p), b);
        // The corners are the first permutation with that signature and the edges' parity.
        const int signature = coords().cornerSignature[p.cornerPerm()];
        for (int cp = 0; cp < p.cornerPerm(); ++cp) {
            CubieCube c;
            c.setCornerPerm(cp);
            ASSERT_FALSE(coords().cornerSignature[cp] == signature && c.cornerParityEven() == p.cornerParityEven())
                << b << " " << cp;
        }
        if (b > 200) break;  // the search for smaller permutations is slow; a few suffice
    }
    for (std::uint32_t b : samples) ASSERT_EQ(positions.indexOf(positions.position(b)), b);
}

TEST_F(CosetMarksTest, imagesOfTheSolvedCosetAreConjugates) {
    const CosetImages images = buildCosetImages(coords(), CubieCube(), 0xFFFF, {});
    ASSERT_EQ(images.symmetries.size(), 15u);
    const CosetPositions positions(coords());
    const auto& sym = symmetries();
    std::mt19937 rng(6);
    for (int i = 0; i < 300; ++i) {
        const CubieCube p = positions.position(rng() % kCosetPositions);
        for (std::size_t k = 0; k < images.symmetries.size(); ++k) {
            const int s = images.symmetries[k];
            const CubieCube image = conjugate(p, sym.symInverse[s]);  // S^-1 p S
            ASSERT_TRUE(inSubgroup(image));
            ASSERT_EQ(cosetIndex(images.udEdgePerm[k][p.udEdgePerm()], images.cornerSignature[k][p.cornerPerm()],
                                 images.sliceOrder[k][sliceOrderOf(p)]),
                      positions.indexOf(image))
                << "symmetry " << s;
        }
    }
}

// A maneuver that reaches p from the coset's cube R, turned by a symmetry of the coset,
// reaches the image of p: the images are where the symmetric maneuvers end.
TEST_F(CosetMarksTest, imagesAreWhereSymmetricManeuversEnd) {
    const CubieCube r = cubeOf("R2 F2 U");
    const std::uint16_t mask = cosetSymmetryMask(r);
    const CosetImages images = buildCosetImages(coords(), r, mask, {});
    ASSERT_FALSE(images.symmetries.empty());
    const CosetPositions positions(coords());
    const auto& sym = symmetries();
    // Maneuvers from R into H': R^-1 p for p in H'.
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        const CubieCube p = positions.position(rng() % kCosetPositions);
        const CubieCube m = [&] {
            CubieCube x = r.inverse();
            x.multiply(p);
            return x;
        }();
        for (std::size_t k = 0; k < images.symmetries.size(); ++k) {
            const int s = images.symmetries[k];
            CubieCube reached = r;  // R S^-1 m S: the maneuver m with each move conjugated by S^-1
            reached.multiply(conjugate(m, sym.symInverse[s]));
            ASSERT_TRUE(inSubgroup(reached)) << s;
            ASSERT_EQ(cosetIndex(images.udEdgePerm[k][p.udEdgePerm()], images.cornerSignature[k][p.cornerPerm()],
                                 images.sliceOrder[k][sliceOrderOf(p)]),
                      positions.indexOf(reached))
                << "symmetry " << s;
        }
    }
}

TEST_F(CosetMarksTest, numberAndSymmetriesOfACoset) {
    EXPECT_EQ(cosetSymmetryMask(CubieCube()), 0xFFFF);
    EXPECT_EQ(cosetNumberOf(CoordCube(coords(), CubieCube())), 0u);
    // Every cube of H' has the solved cube's coset.
    const CubieCube inH = cubeOf("F2 R2 F2 R2 F2 R2 U");
    ASSERT_TRUE(inSubgroup(inH));
    EXPECT_EQ(cosetSymmetryMask(inH), 0xFFFF);
    EXPECT_EQ(cosetNumberOf(CoordCube(coords(), inH)), 0u);
    // Corners moved out of the D layer: another coset of the phase-2 group.
    EXPECT_NE(cosetNumberOf(CoordCube(coords(), cubeOf("R2 D2 R2"))), 0u);
    EXPECT_EQ(__builtin_popcount(cosetSymmetryMask(cubeOf("R2"))), 4);
    EXPECT_EQ(__builtin_popcount(cosetSymmetryMask(cubeOf("R"))), 2);
    EXPECT_EQ(cosetSymmetryMask(cubeOf("F U2")), 1);

    std::mt19937 rng(8);
    for (int i = 0; i < 20; ++i) {
        const CubieCube c = testing::randomCubie(rng);
        const CoordCube coord(coords(), c);
        const std::uint64_t n = cosetNumberOf(coord);
        EXPECT_EQ(n % kDCornerPos, std::uint64_t(c.dCornerPos()));
        EXPECT_EQ(n / kDCornerPos % kTwists, std::uint64_t(c.twist()));
        EXPECT_EQ(n / kDCornerPos / kTwists, std::uint64_t(coord.axis[0].flipSliceClass));
        // A symmetry of the coset maps it onto itself: same number.
        const std::uint16_t mask = cosetSymmetryMask(c);
        for (int s = 0; s < 16; ++s) {
            if (mask >> s & 1) {
                EXPECT_EQ(cosetNumberOf(CoordCube(coords(), conjugate(c, s))), n);
            }
        }
        // Cubes of one coset (X and h X for h in H') share number and symmetries.
        CubieCube other = testing::faceletCubeOf(CubieCube()).toCubieCube();
        other.applyMove(0);   // U
        other.applyMove(10);  // D2
        other.multiply(c);
        EXPECT_EQ(cosetNumberOf(CoordCube(coords(), other)), n);
        EXPECT_EQ(cosetSymmetryMask(other), mask);
    }
}

TEST_F(CosetMarksTest, reachedSetIsKeptForTheNextSearch) {
    std::shared_ptr<CosetBits> first = CosetBits::acquire();
    CosetBits* kept = first.get();
    first->clear();  // an earlier search may have left its positions
    EXPECT_TRUE(first->set(12345));
    EXPECT_FALSE(first->set(12345));
    EXPECT_TRUE(first->test(12345));
    EXPECT_EQ(first->count(), 1u);
    // Held by a search: another search gets a set of its own.
    std::shared_ptr<CosetBits> second = CosetBits::acquire();
    EXPECT_NE(second.get(), kept);
    EXPECT_EQ(second->count(), 0u);
    second.reset();
    first.reset();
    // Let go of: the next search gets the same one.
    EXPECT_EQ(CosetBits::acquire().get(), kept);
    // The same through the searches: one closed, the next one marks into its set.
    QueueEvents events;
    const CosetBits* used = &CosetSearch::create(CubieCube(), loadTestTables(), events, weakBound(3))->bits();
    EXPECT_EQ(used, kept);
    EXPECT_EQ(&CosetSearch::create(cubeOf("R"), loadTestTables(), events, weakBound(3))->bits(), kept);

    CosetBits bits;
    bits.setAll();
    EXPECT_EQ(bits.count(), std::uint64_t(kCosetPositions));
    for (std::uint32_t b : {0u, 31u, 32u, kCosetPositions - 1}) bits.reset(b);
    std::vector<std::uint32_t> clear;
    bits.forEachClear([&](std::uint32_t b) {
        clear.push_back(b);
        return true;
    });
    EXPECT_EQ(clear, (std::vector<std::uint32_t>{0, 31, 32, kCosetPositions - 1}));
}

TEST_F(CosetMarksTest, cubesLeftAreThePositionsLeftAndLieInTheCoset) {
    const CubieCube r = cubeOf("L F' D2 B R'");
    QueueEvents events;
    auto search = CosetSearch::create(r, loadTestTables(), events, weakBound(3));
    ASSERT_TRUE(search);
    const std::vector<std::uint32_t> left{kCosetPositions - 1, 7, 123456789, 0, 99999};
    search->markAllBut(left);
    EXPECT_EQ(search->positionsLeft(), left.size());

    std::vector<std::uint32_t> sorted = left;
    std::sort(sorted.begin(), sorted.end());
    const CosetPositions positions(coords());
    std::vector<std::uint32_t> seen;
    search->forEachCubeLeft([&](const CubieCube& x) {
        // X = p^-1 R lies in the coset of R: twist, flip, slice and D corners of R.
        EXPECT_EQ(x.twist(), r.twist());
        EXPECT_EQ(x.flip(), r.flip());
        EXPECT_EQ(x.slice(), r.slice());
        EXPECT_EQ(x.dCornerPos(), r.dCornerPos());
        // The maneuver that solves X takes R to p.
        CubieCube p = r;
        p.multiply(x.inverse());
        EXPECT_TRUE(inSubgroup(p));
        seen.push_back(positions.indexOf(p));
        return true;
    });
    EXPECT_EQ(seen, sorted);

    // Stopping early is possible.
    int calls = 0;
    search->forEachCubeLeft([&](const CubieCube&) { return ++calls < 2; });
    EXPECT_EQ(calls, 2);
}

TEST_F(CosetMarksTest, searchesThatCannotRunAreRefused) {
    QueueEvents events;
    std::string why;
    CosetOptions huge;
    EXPECT_FALSE(CosetSearch::create(CubieCube(), loadTestTables(), events, huge, {}, &why));
    EXPECT_EQ(why, "The 1881 MB Huge Optimal Solver Table is not loaded.");
    CubieCube twisted;
    twisted.corners[0].o = 1;
    EXPECT_FALSE(CosetSearch::create(twisted, loadTestTables(), events, weakBound(3), {}, &why));
    EXPECT_EQ(why, "The Coset Explorer needs a completely defined, solvable cube.");
    EXPECT_FALSE(CosetSearch::create(CubieCube(), TableSet{}, events, weakBound(3), {}, &why));
    EXPECT_FALSE(CosetSearch::create(CubieCube(), loadTestTables(), events, weakBound(20), {}, &why));
    EXPECT_EQ(why, "The Coset Explorer searches 1 to 19 moves deep.");
}

}  // namespace
}  // namespace tx
