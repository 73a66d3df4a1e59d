// The optimal search shared among threads: the maneuver, its length and the node counts of
// every depth are those of the single-threaded search, and a stop under threads continues to
// the same end.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "solver/drivers.hpp"
#include "solver/optimal_split.hpp"
#include "solver/solve_sync.hpp"
#include "solver_support.hpp"

namespace tx {
namespace {

class OptimalThreadsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
};

std::unique_ptr<IDA> optimalSearchOf(const CubieCube& c, int threads,
                                     const TableSet& tables = testing::loadTestTables()) {
    auto ida = std::make_unique<IDA>(tables, CoordCube(*tables.coords, c), true);
    ida->optimalMode = true;
    ida->threads = threads;
    return ida;
}

// Same result, same maneuver, same nodes at the end of every depth, same progress messages.
void expectSameSearch(const IDA& one, const IDA& many, const std::vector<int>& oneProgress,
                      const std::vector<int>& manyProgress, const char* what, bool sameTotal = true) {
    ASSERT_EQ(many.result, one.result) << what;
    ASSERT_EQ(many.length, one.length) << what;
    for (int j = 0; j < one.length; ++j) {
        EXPECT_EQ(many.levels[j].axis, one.levels[j].axis) << what << " level " << j;
        EXPECT_EQ(many.levels[j].power, one.levels[j].power) << what << " level " << j;
    }
    ASSERT_EQ(many.depthIndex, one.depthIndex) << what;
    for (int d = 0; d <= one.depthIndex; ++d) EXPECT_EQ(many.depthNodes[d], one.depthNodes[d]) << what << " depth " << d;
    if (sameTotal) {
        EXPECT_EQ(many.totalNodes, one.totalNodes) << what;
    }
    EXPECT_EQ(manyProgress, oneProgress) << what;
}

void compareThreads(const CubieCube& c, const char* what, const TableSet& tables = testing::loadTestTables()) {
    std::vector<int> oneProgress;
    auto onePtr = optimalSearchOf(c, 1, tables);
    IDA& one = *onePtr;
    one.onProgress = [&](int v) { oneProgress.push_back(v); };
    one.run();
    ASSERT_GE(one.result, 1) << what;
    EXPECT_TRUE(testing::solvesCorners(testing::applyLevels(c, one))) << what;
    for (int threads : {2, 3, 5}) {
        std::vector<int> manyProgress;
        auto manyPtr = optimalSearchOf(c, threads, tables);
        IDA& many = *manyPtr;
        many.onProgress = [&](int v) { manyProgress.push_back(v); };
        many.run();
        expectSameSearch(one, many, oneProgress, manyProgress, what);
    }
}

TEST_F(OptimalThreadsTest, ScramblesUpToTwelveMovesGiveTheSingleThreadedSearch) {
    std::mt19937 rng(211);
    int split = 0;
    for (int moves = 7; moves <= 12; ++moves) {
        for (int i = 0; i < 6; ++i) {
            const CubieCube c = testing::scramble(rng, moves);
            const std::string what = std::to_string(moves) + " moves, cube " + std::to_string(i);
            compareThreads(c, what.c_str());
            split += solveOptimal(testing::loadTestTables(), c).length > kSplitMinDepth;
        }
    }
    EXPECT_GE(split, 20);  // most of them reach the depths that are shared
}

TEST_F(OptimalThreadsTest, SymmetricAndSliceMovePositionsGiveTheSingleThreadedSearch) {
    // Symmetric cubes: the rule on images of smaller first moves looks at the split levels.
    const std::vector<std::vector<int>> patterns = {
        {4, 13, 7, 16, 1, 10},                       // all six half turns
        {0, 9 + 2, 3, 12 + 2, 6, 15 + 2, 0, 9 + 2},  // U D' R L' F B' U D'
        {1, 10, 4, 13, 7, 16, 0, 9, 3, 12},          // half turns, then quarter turns
    };
    for (const auto& pattern : patterns) {
        CubieCube c;
        for (int m : pattern) c.applyMove(m);
        compareThreads(c, "pattern");
    }
    std::mt19937 rng(223);
    for (int i = 0; i < 4; ++i)
        compareThreads(testing::scramble(rng, 9, kMoves), "slice moves", testing::loadSliceTestTables());
}

// Stops the search from another thread once it has counted `after` nodes in all.
struct StopLater {
    std::jthread thread;
    StopLater(IDA& ida, std::uint64_t after)
        : thread([&ida, after](std::stop_token token) {
              while (!token.stop_requested() && ida.live.nodes.load() < after)
                  std::this_thread::sleep_for(std::chrono::microseconds(200));
              ida.requestStop();
          }) {}
};

TEST_F(OptimalThreadsTest, StopAndContinueUnderThreadsEndWhereTheSingleSearchEnds) {
    std::mt19937 rng(227);
    for (int i = 0; i < 6; ++i) {
        const CubieCube c = testing::scramble(rng, 12);
        auto onePtr = optimalSearchOf(c, 1);
        IDA& one = *onePtr;
        one.run();
        ASSERT_GE(one.length, kSplitMinDepth + 2);
        // Stopped as a shared depth begins, continued on two threads and on one.
        for (int continueThreads : {2, 1}) {
            auto idaPtr = optimalSearchOf(c, 2);
            IDA& ida = *idaPtr;
            int calls = 0;
            ida.onProgress = [&](int v) {
                if (v == kSplitMinDepth + 2 && calls++ == 0) ida.requestStop();
            };
            ASSERT_EQ(ida.run(), kStopped);
            IDA copy(ida);
            copy.optimalMode = true;
            copy.threads = continueThreads;
            EXPECT_GE(copy.depthIndex, kSplitMinDepth + 1);  // depths without a prefix to share run through
            copy.run();
            // All work counts in the total: one thread counts the split's first levels again.
            expectSameSearch(one, copy, {}, {}, "stopped at a depth's start", continueThreads > 1);
            EXPECT_GE(copy.totalNodes, one.totalNodes);
        }
    }
}

TEST_F(OptimalThreadsTest, StopsFromAnotherThreadPartWayEndWhereTheSingleSearchEnds) {
    std::mt19937 rng(233);
    int stoppedInside = 0;
    for (int i = 0; i < 3; ++i) {
        const CubieCube c = testing::scramble(rng, 14);
        auto onePtr = optimalSearchOf(c, 1);
        IDA& one = *onePtr;
        one.run();
        // Stopped from another thread part way through, maybe several times.
        auto ida = optimalSearchOf(c, 2);
        std::uint64_t after = one.totalNodes / 4;
        int stops = 0;
        for (;;) {
            {
                StopLater stopper(*ida, after);
                ida->run();
            }
            if (ida->result != kStopped) break;
            ++stops;
            stoppedInside += ida->depthIndex >= kSplitMinDepth;
            ida = std::make_unique<IDA>(*ida);
            ida->optimalMode = true;
            // No more stops after eight: the search must end.
            after = stops < 8 ? ida->live.nodes.load() + one.totalNodes / 4 : ~std::uint64_t(0);
        }
        EXPECT_EQ(ida->result, one.result);
        ASSERT_EQ(ida->length, one.length);
        for (int j = 0; j < one.length; ++j) {
            EXPECT_EQ(ida->levels[j].axis, one.levels[j].axis);
            EXPECT_EQ(ida->levels[j].power, one.levels[j].power);
        }
        EXPECT_EQ(ida->depthNodes[one.depthIndex], one.depthNodes[one.depthIndex]);
    }
    EXPECT_GE(stoppedInside, 3);
}

TEST_F(OptimalThreadsTest, DriverWithThreadsReportsTheSameOptimalManeuver) {
    QueueEvents events;
    SearchContext context;
    context.events = &events;
    context.tables = &testing::testTableSource();
    context.optimalThreads = 2;
    std::mt19937 rng(229);
    const CubieCube c = testing::scramble(rng, 11);
    auto onePtr = optimalSearchOf(c, 1);
    const IDA& one = *onePtr;
    onePtr->run();
    std::vector<SearchReport> reports;
    bool ended = false;
    auto search = OptimalSearch::create(c, context, [&](const SearchReport& r) {
        reports.push_back(r);
        ended = ended || r.state == SearchState::Ended;
    });
    ASSERT_TRUE(search);
    search->start();
    ASSERT_TRUE(events.runUntil([&] { return ended; }, std::chrono::seconds(60)));
    ASSERT_GE(reports.size(), 2u);
    const SearchReport& found = reports[reports.size() - 2];
    ASSERT_EQ(found.state, SearchState::Found);
    EXPECT_TRUE(found.optimal);
    ASSERT_EQ(found.length, one.length);
    const auto moves = one.maneuver();
    ASSERT_EQ(found.moves.size(), moves.size());
    for (std::size_t j = 0; j < moves.size(); ++j) {
        EXPECT_EQ(found.moves[j].axis, moves[j].axis);
        EXPECT_EQ(found.moves[j].power, moves[j].power);
    }
    EXPECT_EQ(found.nodes, one.totalNodes);
}

}  // namespace
}  // namespace tx
