// The desktop program's optimal searches: one that runs alone shares its long depths among
// several threads, autorun counts those threads against its limit, and a search started beside
// it makes it go back to one thread while it keeps one thread itself.
#include "list_support.hpp"

#include "solver/drivers.hpp"
#include "solver/optimal_split.hpp"

namespace tx {
namespace {

using testing::ListRig;
using testing::randomFaceletCube;

class OptimalShareEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::loadTestTables().ready());
        rig.list.context().shareAllCoresWhenAlone();
        rig.list.context().optimalThreads = 2;  // the same on machines of any size
    }
    void TearDown() override {
        for (const auto& e : rig.list.entries()) rig.list.stopEntrySearch(*e);
        rig.waitFor([&] {
            for (const auto& e : rig.list.entries())
                if (e->searchRunning) return false;
            return true;
        });
        rig.list.shutdown();
    }
    const IDA& searchOf(int index) { return *rig.list.at(index).optimal->currentThread(); }
    // Waits (draining the queue) until pred holds; the limit only guards against a hang.
    template <class Pred>
    bool waitUntil(Pred pred) {
        return rig.waitFor(pred, 60);
    }

    ListRig rig;
};

TEST_F(OptimalShareEntryTest, AutorunCountsTheThreadsOfASharedSearchAndASecondSearchTakesThemBack) {
    MersenneTwister rng(41);
    ASSERT_TRUE(rig.list.addCube(randomFaceletCube(rng), {}));  // searched far longer than the test
    const int base = testing::settledBusyThreadCount();
    ASSERT_GT(base, 0);
    Autorun a(rig.list);
    // The threads of this test process besides the searches count as the main thread.
    a.threadCount = [base] { return busyThreadCount() - base + 1; };
    a.maxThreads = 2;
    ASSERT_TRUE(a.switchOn(AutorunMode::Optimal));  // starts the first entry at once
    ASSERT_TRUE(rig.list.at(0).searchRunning);

    // Alone, it shares its long depths: two threads at work, so a limit of two leaves no room
    // (one search on one thread would leave room for another).
    EXPECT_TRUE(waitUntil([&] { return searchOf(0).live.threads.load() == 2 && !a.readyToStart(); }));
    EXPECT_GE(searchOf(0).live.depth.load(), kSplitMinDepth);

    // A second entry's search: the first gives its helper back at its next work item, and the
    // second never shares while the first runs.
    ASSERT_TRUE(rig.list.addCube(randomFaceletCube(rng), {}));
    a.maxThreads = 8;
    ASSERT_EQ(a.step(), 1);
    EXPECT_TRUE(waitUntil([&] { return searchOf(0).live.threads.load() == 1; }));
    EXPECT_TRUE(waitUntil([&] { return searchOf(1).live.depth.load() >= kSplitMinDepth + 1; }));
    EXPECT_EQ(searchOf(1).live.threads.load(), 1);

    rig.list.stopEntrySearch(rig.list.at(1));
    // The entry reads "not running" once the end of its search has been handled.
    ASSERT_TRUE(waitUntil([&] { return rig.list.at(1).optimalText == kStatusNotRunning; }));
    const IDA& second = searchOf(1);
    for (int d = 0; d <= second.depthIndex; ++d) EXPECT_EQ(second.depthThreads[d], 1) << "depth " << d;
}

}  // namespace
}  // namespace tx
