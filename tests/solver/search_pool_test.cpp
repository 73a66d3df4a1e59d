// The threads of the searches: reused from a pool, never left behind by finished searches,
// bounded however many searches run one after the other; a stopped search gets a thread at
// once even when every thread is busy.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "solver/drivers.hpp"
#include "solver/search_pool.hpp"
#include "solver_support.hpp"
#include "support/process_status.hpp"

namespace tx {
namespace {

using namespace std::chrono_literals;

// Restores the pool's limits after a test changed them.
struct PoolLimits {
    PoolLimits(int maxThreads, int maxIdle)
        : threads_(SearchPool::instance().maxThreads()), idle_(SearchPool::instance().maxIdle()) {
        SearchPool::instance().setLimits(maxThreads, maxIdle);
    }
    ~PoolLimits() { SearchPool::instance().setLimits(threads_, idle_); }
    int threads_, idle_;
};

bool eventually(const std::function<bool()>& pred, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return pred();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(SearchPool, ReusesThreadsAndKeepsOnlyAFewWaiting) {
    SearchPool& pool = SearchPool::instance();
    PoolLimits limits(64, 3);
    std::atomic<bool> release{false};
    std::atomic<int> ran{0};
    std::vector<std::shared_ptr<SearchPool::Task>> tasks;
    for (int i = 0; i < 10; ++i)
        tasks.push_back(pool.run([&] {
            while (!release) std::this_thread::sleep_for(1ms);
            ++ran;
        }));
    EXPECT_GE(pool.threads(), 10);
    release = true;
    for (auto& t : tasks) pool.wait(t);
    EXPECT_EQ(ran, 10);
    ASSERT_TRUE(eventually([&] { return pool.threads() <= 3 && pool.idle() == pool.threads(); }));
    // One after the other, the same waiting threads run every task.
    const int before = pool.threads();
    for (int i = 0; i < 200; ++i) pool.wait(pool.run([&] { ++ran; }));
    EXPECT_EQ(ran, 210);
    EXPECT_LE(pool.threads(), std::max(before, 1));
}

TEST(SearchPool, TasksBeyondTheLimitWaitAndAStoppedOneRunsAtOnce) {
    SearchPool& pool = SearchPool::instance();
    PoolLimits limits(1, 0);
    ASSERT_TRUE(eventually([&] { return pool.threads() == 0; }));
    std::atomic<bool> release{false};
    std::atomic<int> order{0};
    int blockerAt = -1, waiterAt = -1, stoppedAt = -1;
    auto blocker = pool.run([&] {
        while (!release) std::this_thread::sleep_for(1ms);
        blockerAt = order++;
    });
    auto waiter = pool.run([&] { waiterAt = order++; });
    auto stopped = pool.run([&] { stoppedAt = order++; });
    EXPECT_EQ(pool.threads(), 1);
    ASSERT_TRUE(eventually([&] { return pool.queued() == 2; }));  // the blocker has the thread
    pool.expedite(stopped);  // gets a thread of its own although the limit is reached
    pool.wait(stopped);
    EXPECT_EQ(stoppedAt, 0);
    EXPECT_EQ(waiterAt, -1);  // still in line behind the busy thread
    release = true;
    pool.wait(blocker);
    pool.wait(waiter);
    EXPECT_EQ(blockerAt, 1);
    EXPECT_EQ(waiterAt, 2);
    EXPECT_TRUE(eventually([&] { return pool.threads() == 0; }));
}

// A hundred thousand short two-phase searches, eight at a time (every tenth a triple search
// on three threads), as a batch over a big file or a server over many requests runs them. The drivers of the first
// ten thousand are kept, as list entries keep theirs. Before the pool every kept driver kept
// its finished threads' stacks mapped (a batch ran out of mappings at about 32,000 threads);
// now the threads and the mappings stay as they were after the first round.
TEST(SearchPool, AHundredThousandSearchesRunInBoundedThreadsAndMappings) {
    ASSERT_TRUE(testing::loadTestTables().ready());
    QueueEvents events;
    SearchContext context;
    context.events = &events;
    context.tables = &testing::testTableSource();
    context.stopAt = 21;
    constexpr int kSearches = 100000, kAtOnce = 8;
    std::mt19937 rng(2402);
    int ended = 0, solved = 0;
    const long baseThreads = testing::threadCount(), baseMappings = testing::mappingCount();
    long peakThreads = 0, peakMappings = 0;
    int nextSample = 0;
    std::vector<std::shared_ptr<TripleSearch>> running, kept;
    for (int started = 0; started < kSearches;) {
        while (static_cast<int>(running.size()) < kAtOnce && started < kSearches) {
            const CubieCube cube = testing::scramble(rng, 1 + started % 3);
            context.triple = started % 10 == 0;
            auto search = TripleSearch::create(cube, 31, context, [&](const SearchReport& r) {
                if (r.state == SearchState::Found) ++solved;
                if (r.state == SearchState::Ended) ++ended;
            });
            ASSERT_TRUE(search);
            search->start();
            if (started < 10000) kept.push_back(search);
            running.push_back(std::move(search));
            ++started;
        }
        events.waitAndDrain(5ms);
        std::erase_if(running, [](const auto& s) { return !s->threadsRunning(); });
        if (started >= nextSample) {
            nextSample += 2000;
            // Counted between rounds, once the pool's threads are back waiting: a thread whose
            // search has ended may still be finishing it, and on a loaded machine the next
            // round would briefly start threads beside it. What must not grow is what stays.
            ASSERT_TRUE(events.runUntil([&] {
                std::erase_if(running, [](const auto& s) { return !s->threadsRunning(); });
                return running.empty() && SearchPool::instance().threads() == SearchPool::instance().idle();
            }, 60s));
            peakThreads = std::max(peakThreads, testing::threadCount());
            peakMappings = std::max(peakMappings, testing::mappingCount());
        }
    }
    ASSERT_TRUE(events.runUntil([&] { return ended == kSearches; }, 60s)) << ended;
    EXPECT_EQ(solved, kSearches);
    // Between rounds at most the threads of eight searches of three threads are kept, waiting.
    EXPECT_LE(peakThreads, baseThreads + 3 * kAtOnce + SearchPool::kMaxIdle) << baseThreads;
    // Two mappings per thread stack, and room for the allocator's per-thread arenas.
    EXPECT_LE(peakMappings, baseMappings + 2 * (3 * kAtOnce + SearchPool::kMaxIdle) + 64) << baseMappings;
    EXPECT_LE(SearchPool::instance().threads(), 3 * kAtOnce + SearchPool::kMaxIdle);
}

}  // namespace
}  // namespace tx
