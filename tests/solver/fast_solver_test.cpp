#include <gtest/gtest.h>

#include "cube/notation.hpp"
#include "solver/fast_solver.hpp"
#include "solver/fast_tables.hpp"
#include "solver/solve_sync.hpp"
#include "solver_support.hpp"

namespace tx {
namespace {

using testing::randomCubie;
using testing::scramble;

class FastSolverTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
    const TableSet& tables() const { return testing::loadTestTables(); }
};

CubieCube applied(CubieCube c, const std::vector<Move>& moves) {
    for (const auto& m : moves) c.applyMove(3 * m.axis + m.power - 1);
    return c;
}

// The maneuver solves the cube (checked on the cubie model), keeps the bound and never turns
// one axis twice in a row.
void expectSolution(const CubieCube& c, const FastResult& r, int bound) {
    ASSERT_TRUE(r.error.empty()) << r.error;
    ASSERT_GE(r.length, 0);
    ASSERT_LE(r.length, bound);
    ASSERT_EQ(static_cast<int>(r.moves.size()), r.length);
    EXPECT_TRUE(testing::solvesCorners(applied(c, r.moves)));
    for (std::size_t j = 1; j < r.moves.size(); ++j) EXPECT_NE(r.moves[j].axis, r.moves[j - 1].axis);
}

TEST_F(FastSolverTest, RandomCubesAreSolvedWithinTwentyAndTwentyOneMoves) {
    std::mt19937 rng(1907);
    for (int i = 0; i < 1500; ++i) {
        const CubieCube c = randomCubie(rng);
        const int bound = i % 2 == 0 ? 20 : 21;
        FastOptions o;
        o.maxLength = bound;
        expectSolution(c, solveFast(tables(), c, o), bound);
    }
}

TEST_F(FastSolverTest, EachPresentationAloneMapsItsManeuverBack) {
    // One presentation at a time: the axis turns and the inverse must be undone correctly.
    std::mt19937 rng(77);
    for (unsigned k = 0; k < 6; ++k) {
        for (int i = 0; i < 40; ++i) {
            const CubieCube c = randomCubie(rng);
            FastOptions o;
            o.maxLength = 22;
            o.presentations = 1u << k;
            expectSolution(c, solveFast(tables(), c, o), 22);
        }
    }
}

TEST_F(FastSolverTest, CubesWhoseInverseIsShortAreSolvedThroughIt) {
    // Scrambles of phase-2 moves followed by one quarter turn: the cube itself needs a long
    // phase 1 along some axes, its inverse starts with a short one; both must come out right.
    std::mt19937 rng(5);
    for (int i = 0; i < 200; ++i) {
        CubieCube c = scramble(rng, 8);
        c.applyMove(static_cast<int>(rng() % 18));
        FastOptions o;
        o.maxLength = 12;
        o.presentations = 0x38;  // the inverse only
        expectSolution(c, solveFast(tables(), c, o), 12);
        o.presentations = 0x3F;
        expectSolution(c, solveFast(tables(), c, o), 12);
    }
}

TEST_F(FastSolverTest, ShortAndTrivialCubes) {
    const CubieCube solved;
    FastResult r = solveFast(tables(), solved);
    ASSERT_EQ(r.length, 2) << "the solved cube is answered U U' as by the improving search";
    EXPECT_EQ(writeManeuver(r.moves.data(), r.length, 'f', false), "U U'  (2f)");
    for (int m = 0; m < kFaceMoves; ++m) {
        CubieCube c;
        c.applyMove(m);
        r = solveFast(tables(), c);
        ASSERT_EQ(r.length, 1) << "move " << m;
        EXPECT_EQ(3 * r.moves[0].axis + r.moves[0].power - 1, m / 3 * 3 + 2 - m % 3);
    }
}

TEST_F(FastSolverTest, TooTightABoundFindsNothingAndSaysSo) {
    CubieCube c;
    for (int m : {3, 0, 6, 9, 15}) c.applyMove(m);  // R U F D B: five moves
    FastOptions o;
    o.maxLength = 3;
    FastResult r = solveFast(tables(), c, o);
    EXPECT_EQ(r.length, -1);
    EXPECT_FALSE(r.stopped);
    EXPECT_TRUE(r.error.empty());
    o.maxLength = 5;
    expectSolution(c, solveFast(tables(), c, o), 5);
    o.maxLength = 60;  // more than a maneuver can hold: bounded, not overrun
    std::mt19937 rng(8);
    const CubieCube random = randomCubie(rng);
    expectSolution(random, solveFast(tables(), random, o), 31);
}

TEST_F(FastSolverTest, StopsAtTheDeadlineOrOnRequest) {
    std::mt19937 rng(3);
    const CubieCube c = randomCubie(rng);
    FastOptions o;
    o.maxLength = 16;  // far too hard to finish quickly
    o.deadline = std::chrono::steady_clock::now();
    FastResult r = solveFast(tables(), c, o);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.length, -1);
    std::atomic<bool> stop{true};
    FastOptions s;
    s.maxLength = 16;
    s.stop = &stop;
    EXPECT_TRUE(solveFast(tables(), c, s).stopped);
}

TEST_F(FastSolverTest, RefusesCubesItCannotSolve) {
    CubieCube twisted;
    twisted.corners[0].o = 1;
    EXPECT_FALSE(solveFast(tables(), twisted).error.empty());
    CubieCube swapped;
    std::swap(swapped.edges[0], swapped.edges[1]);
    EXPECT_FALSE(solveFast(tables(), swapped).error.empty());
    CubieCube withCentres;
    withCentres.centersCount = true;
    EXPECT_FALSE(solveFast(tables(), withCentres).error.empty());
    CubieCube unknown;
    unknown.edges[3].c = kNoEdge;
    EXPECT_FALSE(solveFast(tables(), unknown).error.empty());
    EXPECT_FALSE(solveFast(TableSet{}, CubieCube()).error.empty());
}

TEST_F(FastSolverTest, BothEnginesSolveTheSameCubes) {
    std::mt19937 rng(2026);
    for (int i = 0; i < 12; ++i) {
        const CubieCube c = randomCubie(rng);
        for (int target : {20, 21}) {
            SyncResult specified = solveTwoPhase(tables(), c, target);
            ASSERT_GE(specified.length, 0);
            EXPECT_LE(specified.length, target);
            FastOptions o;
            o.maxLength = target;
            expectSolution(c, solveFast(tables(), c, o), target);
        }
    }
}

TEST_F(FastSolverTest, SmallTablesAreLowerBounds) {
    const CoordTables& t = *tables().coords;
    const FastTables& f = fastTables(t);
    EXPECT_EQ(f.cornerSlice[0], 0);
    EXPECT_EQ(f.edgeSlice[0], 0);
    EXPECT_EQ(f.twistSlice[0], 0);
    EXPECT_EQ(f.flipSlice[0], 0);
    std::mt19937 rng(11);
    for (int i = 0; i < 300; ++i) {
        const CubieCube c = randomCubie(rng);
        const int fs = flipSliceClassOf(t, c);
        const int phase1 = phase1Distance(tables(), index::classOf(fs), index::symOf(fs), c.twist());
        EXPECT_LE(f.twistSlice[c.twist() * kSlices + c.slice()], phase1);
        EXPECT_LE(f.flipSlice[c.flip() * kSlices + c.slice()], phase1);
        // A cube of the phase-2 group, a few phase-2 moves from solved.
        CubieCube h;
        const int n = 1 + static_cast<int>(rng() % 9);
        const int phase2Moves[] = {0, 1, 2, 4, 7, 9, 10, 11, 13, 16};
        for (int j = 0; j < n; ++j) h.applyMove(phase2Moves[rng() % 10]);
        const int sp = h.sliceSorted();
        ASSERT_LT(sp, 24);
        const int exact = phase2Distance(tables(), h.cornerPerm(), h.udEdgePerm());
        EXPECT_LE(f.cornerSlice[h.cornerPerm() * 24 + sp], n);
        EXPECT_LE(f.edgeSlice[h.udEdgePerm() * 24 + sp], n);
        EXPECT_LE(exact, n);
    }
}

}  // namespace
}  // namespace tx
