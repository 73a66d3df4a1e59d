// Autorun over the cube list: the order in which entries are started, the thread limit,
// switching off, the two modes excluding each other; and the process's thread count.
#include "list_support.hpp"

#include "platform/process_threads.hpp"
#include "solver/drivers.hpp"
#include "solver/search_pool.hpp"
#include "workspace/autorun.hpp"

namespace tx {
namespace {

using testing::ListRig;
using testing::randomFaceletCube;

class AutorunTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
    void TearDown() override {
        for (const auto& e : rig.list.entries()) rig.list.stopEntrySearch(*e);
        rig.waitFor([&] { return running() == 0; });
        rig.list.shutdown();
    }

    // Random cubes: their optimal searches run far longer than a test.
    void addRandomCubes(int n, std::uint32_t seed) {
        MersenneTwister rng(seed);
        for (int i = 0; i < n; ++i) ASSERT_TRUE(rig.list.addCube(randomFaceletCube(rng), {}));
    }
    int running() const {
        int n = 0;
        for (const auto& e : rig.list.entries()) n += e->searchRunning ? 1 : 0;
        return n;
    }
    // Each running entry stands for one search thread beside the main thread.
    void countRunningEntries(Autorun& a) {
        a.threadCount = [this] { return 1 + running(); };
    }

    ListRig rig;
};

TEST_F(AutorunTest, OptimalStartsAtTheSelectedEntryOneSearchAStep) {
    addRandomCubes(5, 11);
    rig.list.click(2, CubeList::kNone);  // the third entry
    Autorun a(rig.list);
    countRunningEntries(a);
    EXPECT_EQ(a.labelText(), "Autorun Cube: ");
    ASSERT_TRUE(a.switchOn(AutorunMode::Optimal));
    // The first step runs at once.
    EXPECT_TRUE(rig.list.at(2).searchRunning);
    EXPECT_TRUE(rig.list.at(2).useOptimal);
    EXPECT_EQ(running(), 1);
    EXPECT_EQ(a.position(), 2);
    EXPECT_EQ(a.labelText(), "Autorun Cube: 3");
    EXPECT_EQ(a.step(), 3);
    EXPECT_EQ(a.step(), 4);
    EXPECT_EQ(a.labelText(), "Autorun Cube: 5");
    // From its position on nothing is left; the entries before it wait, and autorun stays on.
    EXPECT_EQ(a.step(), -1);
    EXPECT_EQ(a.position(), 4);
    EXPECT_FALSE(rig.list.at(0).searchRunning);
    EXPECT_FALSE(rig.list.at(1).searchRunning);
    EXPECT_TRUE(a.on());
    // Switching off leaves the searches running.
    a.switchOff();
    EXPECT_FALSE(a.on());
    EXPECT_EQ(a.position(), 0);
    EXPECT_EQ(running(), 3);
    EXPECT_EQ(a.step(), -1);
}

TEST_F(AutorunTest, OptimalNeverExceedsTheThreadLimit) {
    addRandomCubes(4, 12);
    Autorun a(rig.list);
    countRunningEntries(a);
    a.maxThreads = 2;
    ASSERT_TRUE(a.switchOn(AutorunMode::Optimal));  // nothing selected: from the first entry
    EXPECT_EQ(rig.list.at(0).useOptimal, true);
    for (int tick = 0; tick < 5; ++tick) {
        a.step();
        EXPECT_LE(running(), 2);
    }
    EXPECT_EQ(running(), 2);
    EXPECT_TRUE(rig.list.at(1).searchRunning);
    // When a search ends the next entry gets its turn.
    rig.list.stopEntrySearch(rig.list.at(0));
    EXPECT_EQ(a.step(), 2);
    EXPECT_EQ(a.step(), -1);
    EXPECT_EQ(running(), 2);
    // An unknown thread count starts nothing.
    rig.list.stopEntrySearch(rig.list.at(1));
    a.threadCount = [] { return -1; };
    EXPECT_EQ(a.step(), -1);
}

TEST_F(AutorunTest, EntriesWithAProvenManeuverOrNoRealCubeArePassedOver) {
    MersenneTwister rng(13);
    auto proven = testing::entryWithManeuver(rng, 8, true);
    ASSERT_TRUE(rig.list.addCube(*proven, {}));
    FaceletCube pattern;
    pattern.f[0] = kUndefinedFacelet;
    ASSERT_TRUE(rig.list.addCube(pattern, {}));
    addRandomCubes(1, 14);
    Autorun a(rig.list);
    countRunningEntries(a);
    ASSERT_TRUE(a.switchOn(AutorunMode::Optimal));
    EXPECT_TRUE(rig.list.at(2).searchRunning);
    EXPECT_EQ(running(), 1);
    EXPECT_FALSE(rig.list.at(1).useOptimal);  // the pattern keeps its kind
    EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST_F(AutorunTest, TwoPhaseGoesRoundFromOnePastThePosition) {
    rig.list.context().stopAt = 20;
    MersenneTwister rng(15);
    addRandomCubes(1, 16);                                          // 0: no maneuver yet
    ASSERT_TRUE(rig.list.addCube(*testing::entryWithManeuver(rng, 18), {}));  // 1: short enough
    ASSERT_TRUE(rig.list.addCube(*testing::entryWithManeuver(rng, 9, true), {}));  // 2: proven
    addRandomCubes(1, 17);                                          // 3
    rig.list.at(3).useOptimal = true;
    Autorun a(rig.list);
    countRunningEntries(a);
    ASSERT_TRUE(a.switchOn(AutorunMode::TwoPhase));
    EXPECT_EQ(a.position(), 0);
    EXPECT_TRUE(rig.list.at(0).searchRunning);
    EXPECT_EQ(a.step(), 3);
    EXPECT_FALSE(rig.list.at(3).useOptimal);
    ASSERT_TRUE(rig.waitFor([&] { return running() == 0; }));
    EXPECT_LE(rig.list.at(0).bestLength, 20);
    EXPECT_LE(rig.list.at(3).bestLength, 20);
    // From the last entry it looks from the first again; now every maneuver is short enough.
    EXPECT_EQ(a.step(), -1);
    a.switchOff();
    EXPECT_EQ(a.position(), -1);
}

TEST_F(AutorunTest, TwoPhaseSelectionAndADriverThatCannotImprove) {
    // With the target 0 the search proves the two-move maneuver optimal and has nothing left.
    rig.list.context().stopAt = 0;
    rig.list.isoCheck = false;  // the three cubes are turned copies of each other
    ASSERT_TRUE(rig.list.addCube(testing::cubeOf("R U"), {}));
    rig.list.entryButton(0);
    ASSERT_TRUE(rig.waitFor([&] { return running() == 0; }));
    ASSERT_TRUE(rig.list.at(0).twoPhase && rig.list.at(0).twoPhase->cannotImprove());
    ASSERT_TRUE(rig.list.addCube(testing::cubeOf("F D"), {}));
    ASSERT_TRUE(rig.list.addCube(testing::cubeOf("L B"), {}));
    rig.list.click(0, CubeList::kNone);
    Autorun a(rig.list);
    countRunningEntries(a);
    ASSERT_TRUE(a.switchOn(AutorunMode::TwoPhase));
    // One before the selected entry; that one is passed over.
    EXPECT_EQ(a.position(), 1);
    EXPECT_FALSE(rig.list.at(0).searchRunning);
    EXPECT_TRUE(rig.list.at(1).searchRunning || rig.list.at(1).bestLength == 2);
    EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST_F(AutorunTest, TheModesExcludeEachOther) {
    addRandomCubes(2, 18);
    Autorun a(rig.list);
    a.threadCount = [] { return 1; };
    ASSERT_TRUE(a.switchOn(AutorunMode::Optimal));
    EXPECT_FALSE(a.switchOn(AutorunMode::TwoPhase));
    EXPECT_EQ(a.mode(), AutorunMode::Optimal);
    a.switchOff();
    ASSERT_TRUE(a.switchOn(AutorunMode::TwoPhase));
    EXPECT_FALSE(a.switchOn(AutorunMode::Optimal));
    EXPECT_EQ(a.mode(), AutorunMode::TwoPhase);
}

TEST_F(AutorunTest, TheRealThreadCountHoldsTheLimit) {
    addRandomCubes(4, 19);
    // Threads that ended earlier searches wait in the pool: they do not count, and the new
    // searches run on them.
    for (int i = 0; i < 4; ++i) SearchPool::instance().wait(SearchPool::instance().run([] {}));
    ASSERT_GT(SearchPool::instance().idle(), 0);
    Autorun a(rig.list);
    const int base = testing::settledBusyThreadCount();
    ASSERT_GT(base, 0);
    // The threads of this test process besides the searches count as the main thread.
    a.threadCount = [base] { return busyThreadCount() - base + 1; };
    a.maxThreads = 2;
    ASSERT_TRUE(a.switchOn(AutorunMode::Optimal));
    for (int tick = 0; tick < 4; ++tick) a.step();
    EXPECT_EQ(running(), 2);
    EXPECT_GE(busyThreadCount(), base + 2);
}

}  // namespace
}  // namespace tx
