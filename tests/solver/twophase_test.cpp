#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "solver_support.hpp"

namespace tx {
namespace {

using testing::applyLevels;
using testing::randomCubie;
using testing::solvesCorners;

class TwoPhaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
};

// Checks the move rules on the levels of a solution.
void expectWellFormed(const IDA& ida) {
    for (int j = 1; j < ida.length; ++j) {
        int a = ida.levels[j].axis, prev = ida.levels[j - 1].axis;
        EXPECT_NE(a, prev) << "two moves on one axis";
        EXPECT_FALSE(a < 3 && prev == a + 3) << "U directly after D (or R after L, F after B)";
    }
}

TEST_F(TwoPhaseTest, RandomCubesAreSolvedWithinTheBound) {
    std::mt19937 rng(41);
    for (int i = 0; i < 400; ++i) {
        CubieCube c = randomCubie(rng);
        IDA ida = testing::searchOf(c, false);
        ida.maxLen = 30;
        ida.stopAt = 30;
        int r = ida.run();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 30);
        EXPECT_TRUE(solvesCorners(applyLevels(c, ida)));
        expectWellFormed(ida);
        // Tighten the bound by copying, as the driver does, down to 20 moves.
        std::unique_ptr<IDA> cur = std::make_unique<IDA>(ida);
        int best = r;
        while (best > 20) {
            auto next = std::make_unique<IDA>(*cur);
            next->maxLen = best - 1;
            next->stopAt = 20;
            int r2 = next->run();
            ASSERT_GE(r2, 0) << "every cube has a 20-move maneuver";
            ASSERT_LE(r2, best - 1);
            EXPECT_TRUE(solvesCorners(applyLevels(c, *next)));
            expectWellFormed(*next);
            best = r2;
            cur = std::move(next);
        }
    }
}

TEST_F(TwoPhaseTest, SliceModeSolutions) {
    std::mt19937 rng(43);
    for (int i = 0; i < 100; ++i) {
        CubieCube c = randomCubie(rng);
        IDA ida = testing::searchOf(c, false, testing::loadSliceTestTables());
        ida.sliceMode = true;
        ida.maxLen = 22;
        ida.stopAt = 20;
        int r = ida.run();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 22);
        EXPECT_TRUE(solvesCorners(applyLevels(c, ida)));
        for (int j = 1; j < ida.length; ++j) {
            int a = ida.levels[j].axis, prev = ida.levels[j - 1].axis;
            EXPECT_NE(a, prev);
            if (a < 6 && prev < 6) {
                EXPECT_FALSE(a < 3 && prev == a + 3);
            }
            // Where phase 2 takes over only the axis itself and the opposite-face order are checked.
            if (a >= 6 && j != ida.depthIndex + 1) {
                EXPECT_TRUE(prev != a - 6 && prev != a - 3) << "slice move after a face of its axis";
            }
        }
    }
}

TEST_F(TwoPhaseTest, SolvedCubeAndOneMove) {
    IDA solved = testing::searchOf(CubieCube{}, false);
    solved.maxLen = 30;
    EXPECT_EQ(solved.run(), 2);
    EXPECT_EQ(solved.levels[0].axis, 0);
    EXPECT_EQ(solved.levels[0].power, 1);
    EXPECT_EQ(solved.levels[1].axis, 0);
    EXPECT_EQ(solved.levels[1].power, 3);
    for (int m = 0; m < kFaceMoves; ++m) {
        CubieCube c;
        c.applyMove(m);
        IDA ida = testing::searchOf(c, false);
        ida.maxLen = 30;
        EXPECT_EQ(ida.run(), 1) << m;
        EXPECT_TRUE(solvesCorners(applyLevels(c, ida)));
    }
}

TEST_F(TwoPhaseTest, BoundBelowTheDistanceGivesNoSolution) {
    std::mt19937 rng(47);
    CubieCube c = testing::scramble(rng, 6);
    IDA ida = testing::searchOf(c, false);
    ida.maxLen = 3;
    EXPECT_EQ(ida.run(), kNoSolution);
}

TEST_F(TwoPhaseTest, CopyContinuesLikeAnUninterruptedSearch) {
    std::mt19937 rng(53);
    for (int i = 0; i < 30; ++i) {
        CubieCube c = randomCubie(rng);
        IDA straight = testing::searchOf(c, false);
        straight.maxLen = 30;
        straight.stopAt = 30;
        straight.run();
        straight.run();  // the second solution, found by the same thread
        IDA first = testing::searchOf(c, false);
        first.maxLen = 30;
        first.stopAt = 30;
        first.run();
        IDA copy(first);
        copy.run();
        ASSERT_EQ(copy.result, straight.result);
        for (int j = 0; j < copy.length; ++j) {
            EXPECT_EQ(copy.levels[j].axis, straight.levels[j].axis);
            EXPECT_EQ(copy.levels[j].power, straight.levels[j].power);
        }
    }
}

TEST_F(TwoPhaseTest, StopRequestEndsTheSearchPromptly) {
    std::mt19937 rng(59);
    CubieCube c = randomCubie(rng);
    IDA ida = testing::searchOf(c, false);
    ida.maxLen = 30;
    ida.stopAt = 10;  // it would run for a very long time
    std::thread t([&] { ida.run(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto t0 = std::chrono::steady_clock::now();
    ida.requestStop();
    t.join();
    EXPECT_EQ(ida.result, kStopped);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    // The stopped search continues in a copy.
    IDA copy(ida);
    copy.stopAt = 30;
    EXPECT_GE(copy.run(), 0);
    EXPECT_TRUE(solvesCorners(applyLevels(c, copy)));
}

}  // namespace
}  // namespace tx
