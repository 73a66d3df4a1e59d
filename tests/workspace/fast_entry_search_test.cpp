// The fast search for new entries: with the option on, a new entry's search asks the fast
// engine for a maneuver within the target and ends there; a fast run that finds none hands
// over to the improving search; a stopped fast run leaves the entry as it was and runs again.
#include "list_support.hpp"

#include <thread>

#include "solver/drivers.hpp"

namespace tx {
namespace {

using testing::cubeOf;
using testing::ListRig;
using testing::randomFaceletCube;
using testing::solves;

class FastEntrySearch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::loadTestTables().ready());
        rig.list.context().fastSearch = true;
    }
    // Adds the cube and presses its run button; the entry's driver is made by the press.
    std::shared_ptr<Entry> addAndRun(const FaceletCube& cube) {
        auto e = rig.list.addCube(cube, {});
        rig.list.entryButton(int(rig.list.size()) - 1);
        return e;
    }
    ListRig rig;
};

TEST_F(FastEntrySearch, NewEntriesGetOneManeuverWithinTheTarget) {
    MersenneTwister rng(191);
    for (int target : {20, 21, 19}) {
        rig.list.context().stopAt = target;
        for (int round = 0; round < 4; ++round) {
            auto e = addAndRun(randomFaceletCube(rng));
            ASSERT_TRUE(e->twoPhase);
            EXPECT_TRUE(e->twoPhase->fast) << "the first run is the fast engine's";
            EXPECT_TRUE(e->searchRunning);
            ASSERT_TRUE(rig.waitFor([&] { return !e->searchRunning; }));
            EXPECT_FALSE(e->twoPhase->fast) << "later runs are the improving search's";
            EXPECT_LE(e->bestLength, target);
            EXPECT_EQ(e->twoPhase->bound, e->bestLength - 1);
            EXPECT_EQ(e->solverMark, e->bestLength);
            EXPECT_TRUE(e->solverText.ends_with("  (" + std::to_string(e->bestLength) + "f)")) << e->solverText;
            EXPECT_EQ(countFaceTurns(e->solverText), e->bestLength);
            EXPECT_TRUE(solves(e->cube, e->solverText)) << e->solverText;
        }
    }
    EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST_F(FastEntrySearch, PressingRunAgainImprovesWithTheOrdinarySearch) {
    rig.list.context().stopAt = 21;
    MersenneTwister rng(193);
    auto e = addAndRun(randomFaceletCube(rng));
    ASSERT_TRUE(rig.waitFor([&] { return !e->searchRunning; }));
    const int first = e->bestLength;
    ASSERT_LE(first, 21);
    rig.list.context().stopAt = first - 1;
    rig.list.entryButton(0);
    ASSERT_TRUE(rig.waitFor([&] { return !e->searchRunning; }));
    EXPECT_FALSE(e->twoPhase->fast);
    EXPECT_LT(e->bestLength, first);
    EXPECT_TRUE(solves(e->cube, e->solverText)) << e->solverText;
}

TEST_F(FastEntrySearch, NoneWithinTheTargetHandsOverToTheImprovingSearch) {
    // Three moves cannot be solved in two: the fast run finds nothing, the improving search
    // then finds the three-move maneuver and proves that nothing shorter exists.
    rig.list.context().stopAt = 2;
    auto e = addAndRun(cubeOf("R U F"));
    ASSERT_TRUE(rig.waitFor([&] { return !e->searchRunning; }));
    EXPECT_FALSE(e->twoPhase->fast);
    EXPECT_EQ(e->bestLength, 3);
    EXPECT_TRUE(e->twoPhase->cannotImprove());
    EXPECT_TRUE(solves(e->cube, e->solverText)) << e->solverText;
}

TEST_F(FastEntrySearch, AStoppedFastRunLeavesTheEntryAndRunsFastAgain) {
    // Sixteen moves for a random cube keeps the fast engine busy far longer than this test.
    rig.list.context().stopAt = 16;
    MersenneTwister rng(197);
    auto e = addAndRun(randomFaceletCube(rng));
    ASSERT_TRUE(e->twoPhase && e->twoPhase->fast);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    rig.list.entryButton(0);  // stop
    EXPECT_FALSE(e->searchRunning);
    ASSERT_TRUE(rig.waitFor([&] { return !e->twoPhase->threadsRunning(); }));
    EXPECT_EQ(e->bestLength, 31) << e->solverText;
    EXPECT_EQ(e->twoPhase->lastResult, -2);
    EXPECT_TRUE(e->twoPhase->fast) << "a stopped fast run is tried again at the next start";
    rig.list.context().stopAt = 21;  // to the target of that time
    rig.list.entryButton(0);
    EXPECT_TRUE(e->searchRunning);
    ASSERT_TRUE(rig.waitFor([&] { return !e->searchRunning; }));
    EXPECT_FALSE(e->twoPhase->fast);
    EXPECT_LE(e->bestLength, 21);
    EXPECT_TRUE(solves(e->cube, e->solverText)) << e->solverText;
}

TEST_F(FastEntrySearch, KnownManeuversWithinTheTargetAndTheOptionOffKeepTheImprovingSearch) {
    MersenneTwister rng(199);
    auto known = rig.list.addCube(*testing::entryWithManeuver(rng, 12), {});
    ASSERT_TRUE(known);
    ASSERT_EQ(known->bestLength, 12);
    rig.list.entryButton(0);
    ASSERT_TRUE(known->twoPhase);
    EXPECT_FALSE(known->twoPhase->fast) << "a maneuver within the target is already known";
    ASSERT_TRUE(rig.waitFor([&] { return !known->searchRunning; }));

    // One move over the target is not within it: the fast engine is asked.
    auto over = rig.list.addCube(*testing::entryWithManeuver(rng, 21), {});
    ASSERT_TRUE(over);
    rig.list.entryButton(int(rig.list.size()) - 1);
    ASSERT_TRUE(over->twoPhase);
    EXPECT_TRUE(over->twoPhase->fast);
    ASSERT_TRUE(rig.waitFor([&] { return !over->searchRunning; }));
    EXPECT_LE(over->bestLength, 20);
    EXPECT_TRUE(solves(over->cube, over->solverText)) << over->solverText;

    rig.list.context().fastSearch = false;
    auto e = addAndRun(randomFaceletCube(rng));
    ASSERT_TRUE(e->twoPhase);
    EXPECT_FALSE(e->twoPhase->fast);
    ASSERT_TRUE(rig.waitFor([&] { return !e->searchRunning; }));
    EXPECT_LE(e->bestLength, 20);
    EXPECT_TRUE(solves(e->cube, e->solverText)) << e->solverText;
}

}  // namespace
}  // namespace tx
