// The search threads: cubes reach the main thread in the order found, and a stop ends a
// long enumeration promptly, also while the worker waits for the main thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "search_support.hpp"
#include "searches/pat_search.hpp"
#include "searches/sy_search.hpp"

namespace tx {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Every cube with a face-axis half turn symmetry, all colour counts: far too many to finish.
SymSearchOptions endless() {
    SymSearchOptions o;
    o.group = closeGroup(GroupMaskTable[29].mask, 0);
    o.colourCounts = 0b1111110;
    o.exact = false;
    o.allowIsomorphs = true;
    return o;
}

TEST(SearchWorker, CubesReachTheMainThreadInTheOrderFound) {
    SymSearchOptions o;
    o.group = closeGroup(GroupMaskTable[13].mask, 0);
    o.colourCounts = 0b1110;
    SySearch direct(o);
    const auto expected = testing::runToEnd(direct);
    ASSERT_GT(expected.size(), 10u);

    QueueEvents events;
    SySearch search(o);
    std::vector<FaceletCube> received;
    bool ended = false, stopped = true;
    const auto mainThread = std::this_thread::get_id();
    bool allOnMain = true;
    search.start(
        &events,
        [&](const FaceletCube& c) {
            allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
            received.push_back(c);
        },
        [&](bool wasStopped) {
            ended = true;
            stopped = wasStopped;
        });
    ASSERT_TRUE(events.runUntil([&] { return ended; }, 60s));
    EXPECT_TRUE(allOnMain);
    EXPECT_FALSE(stopped);
    EXPECT_EQ(received, expected);
    EXPECT_EQ(search.found(), static_cast<long long>(expected.size()));
    EXPECT_FALSE(search.running());
}

TEST(SearchWorker, StopEndsALongEnumerationPromptly) {
    SySearch search(endless());
    std::atomic<long long> received{0};
    std::atomic<bool> ended{false};
    search.start(nullptr, [&](const FaceletCube&) { ++received; }, [&](bool stopped) { ended = stopped; });
    const auto deadline = Clock::now() + 30s;
    while (received < 1000 && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    ASSERT_GE(received.load(), 1000);
    ASSERT_TRUE(search.running());
    const auto t0 = Clock::now();
    search.requestStop();
    search.join();
    EXPECT_LT(Clock::now() - t0, 2s);
    EXPECT_TRUE(ended);
    EXPECT_FALSE(search.running());
    const long long atStop = received;
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(received.load(), atStop);
}

TEST(SearchWorker, StopEndsAWorkerWaitingForTheMainThread) {
    QueueEvents events;
    SySearch search(endless());
    int received = 0;
    bool ended = false, stopped = false;
    search.start(&events, [&](const FaceletCube&) { ++received; }, [&](bool s) {
        ended = true;
        stopped = s;
    });
    ASSERT_TRUE(events.runUntil([&] { return received >= 50; }, 30s));
    // The main thread stops taking cubes; the worker waits for the cube it handed over.
    std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(search.running());
    const auto t0 = Clock::now();
    search.requestStop();
    search.join();
    EXPECT_LT(Clock::now() - t0, 2s);
    ASSERT_TRUE(events.runUntil([&] { return ended; }, 5s));
    EXPECT_TRUE(stopped);
    EXPECT_LE(received, search.found());
}

TEST(SearchWorker, PatternSearchStopsPromptly) {
    // Five rows of many colours allowed everywhere: seconds of enumeration.
    PatternSet patterns;
    patterns.rows = {{{1, 2, 3, 4, 5, 1, 2, 3, 4},
                      {1, 2, 3, 2, 4, 5, 3, 5, 1},
                      {1, 2, 1, 3, 4, 3, 1, 2, 1},
                      {1, 2, 3, 4, 1, 5, 3, 2, 1},
                      {1, 2, 3, 1, 4, 3, 1, 2, 3}}};
    PatSearch search(patterns);
    std::atomic<long long> received{0};
    search.start(nullptr, [&](const FaceletCube&) { ++received; });
    const auto deadline = Clock::now() + 30s;
    while (received < 100 && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    ASSERT_GE(received.load(), 100);
    ASSERT_TRUE(search.running());
    const auto t0 = Clock::now();
    search.requestStop();
    search.join();
    EXPECT_LT(Clock::now() - t0, 2s);
    EXPECT_FALSE(search.running());
}

TEST(SearchWorker, DestroyingARunningSearchStopsIt) {
    const auto t0 = Clock::now();
    {
        SySearch search(endless());
        search.start(nullptr, {});
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_LT(Clock::now() - t0, 2s);
}

}  // namespace
}  // namespace tx
