// The timing test: a random cube is added and solved on each tick whose last entry has its
// maneuver; the longest gap between such ticks and the list size at which it occurred are
// told at the end.
#include "list_support.hpp"

#include "workspace/timing_test.hpp"

namespace tx {
namespace {

using namespace std::chrono_literals;
using testing::ListRig;
using testing::solves;

TEST(TimingTest, AddsAndSolvesUntilTheSizeAndTellsTheLongestGap) {
    ListRig rig;
    rig.list.isoCheck = true;  // random cubes are added even so, without a question
    MersenneTwister rng(88);
    TimingTest timing(rig.list, rng, 4);
    auto now = TimingTest::Clock::time_point{} + 1h;
    const std::vector<std::chrono::milliseconds> gaps = {0ms, 150ms, 400ms, 120ms};
    std::optional<std::string> done;
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        now += gaps[i];
        // A tick while the last entry has no maneuver yet does nothing.
        if (!rig.list.empty()) {
            ASSERT_TRUE(rig.waitFor([&] { return rig.list.entries().back()->solverText.size() > 3; }));
        }
        done = timing.tick(now);
        ASSERT_EQ(rig.list.size(), i + 1);
        if (i + 1 < gaps.size()) {
            EXPECT_FALSE(done);
            // Ticking again at once, before the new cube is solved, adds nothing.
            if (rig.list.entries().back()->solverText.size() <= 3) {
                EXPECT_FALSE(timing.tick(now + 1ms));
                EXPECT_EQ(rig.list.size(), i + 1);
            }
        }
    }
    ASSERT_TRUE(done);
    // The gaps are measured before each cube is added: 400 ms before the third cube, with
    // two entries in the list.
    EXPECT_EQ(*done, "MaxTime(ms): 400 Nr.: 2");
    EXPECT_EQ(timing.maxMs(), 400);
    EXPECT_TRUE(rig.prompts.shown.empty());
    ASSERT_TRUE(rig.waitFor([&] {
        for (const auto& e : rig.list.entries())
            if (e->searchRunning) return false;
        return true;
    }));
    for (const auto& e : rig.list.entries()) {
        EXPECT_TRUE(e->showSolver);
        EXPECT_LE(e->bestLength, 20);
        EXPECT_TRUE(solves(e->cube, e->solverText)) << e->solverText;
    }
    // At the size, a further tick only repeats the result.
    EXPECT_EQ(timing.tick(now + 1s), done);
    EXPECT_EQ(rig.list.size(), 4u);
}

}  // namespace
}  // namespace tx
