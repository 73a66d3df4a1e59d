// The search drivers: runs of the two-phase search until the target, the optimal search's
// progress, and what they report as data.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "cube/symmetry.hpp"
#include "solver/drivers.hpp"
#include "solver/search_pool.hpp"
#include "solver/solve_sync.hpp"
#include "solver_support.hpp"

namespace tx {
namespace {

class DriversTest : public ::testing::Test {
protected:
    QueueEvents events;
    SearchContext context;
    std::vector<SearchReport> reports;
    int ended = 0;

    void SetUp() override {
        ASSERT_TRUE(testing::loadTestTables().ready());
        context.events = &events;
        context.tables = &testing::testTableSource();
    }
    SearchListener listener() {
        return [this](const SearchReport& r) {
            reports.push_back(r);
            if (r.state == SearchState::Ended) ++ended;
        };
    }
    std::shared_ptr<TripleSearch> twoPhase(const CubieCube& c, int bestLength = 31) {
        auto search = TripleSearch::create(c, bestLength, context, listener());
        EXPECT_TRUE(search);
        return search;
    }
    bool waitEnded(int count) { return events.runUntil([&] { return ended >= count; }, std::chrono::seconds(60)); }
    std::vector<SearchReport> found() const {
        std::vector<SearchReport> out;
        for (const auto& r : reports)
            if (r.state == SearchState::Found) out.push_back(r);
        return out;
    }
};

// The moves, found on the cube turned `orientation` times about the URF-DBL diagonal, solve
// that turned cube.
void expectSolves(CubieCube c, const SearchReport& r) {
    for (int i = 0; i < r.orientation; ++i) c = conjugate(c, kSymUrf3);
    for (const Move& m : r.moves) c.applyMove(3 * m.axis + m.power - 1);
    EXPECT_TRUE(testing::solvesCorners(c)) << "orientation " << r.orientation;
    EXPECT_EQ(static_cast<int>(r.moves.size()), r.length);
}

TEST_F(DriversTest, TwoPhaseRunsUntilTheTarget) {
    std::mt19937 rng(83);
    for (int i = 0; i < 20; ++i) {
        reports.clear();
        const CubieCube c = testing::randomCubie(rng);
        auto search = twoPhase(c);
        search->start();
        ASSERT_TRUE(waitEnded(i + 1));
        const auto maneuvers = found();
        ASSERT_FALSE(maneuvers.empty());
        for (std::size_t k = 0; k < maneuvers.size(); ++k) {
            expectSolves(c, maneuvers[k]);
            EXPECT_EQ(maneuvers[k].metric, 'f');
            if (k > 0) {
                EXPECT_LT(maneuvers[k].length, maneuvers[k - 1].length) << "each maneuver is shorter";
            }
        }
        EXPECT_LE(maneuvers.back().length, 20);
        EXPECT_EQ(search->bound, maneuvers.back().length - 1);
        ASSERT_EQ(reports.back().state, SearchState::Ended);
        EXPECT_EQ(reports.back().length, search->lastResult);
        EXPECT_FALSE(search->threadsRunning());
    }
}

TEST_F(DriversTest, TripleSearchSolutionsSolveTheTurnedCube) {
    context.triple = true;
    std::mt19937 rng(89);
    for (int i = 0; i < 20; ++i) {
        reports.clear();
        const CubieCube c = testing::randomCubie(rng);
        auto search = twoPhase(c);
        search->start();
        ASSERT_TRUE(waitEnded(i + 1));
        for (const auto& r : found()) {
            EXPECT_GE(r.orientation, 0);
            EXPECT_LE(r.orientation, 2);
            expectSolves(c, r);
        }
        EXPECT_LE(found().back().length, 20);
    }
}

TEST_F(DriversTest, ContinuingAfterTheTargetAndProvingNoBetterExists) {
    // A cube two moves from solved: the first run finds 2 moves, later runs prove nothing shorter.
    CubieCube c;
    c.applyMove(3);  // R
    c.applyMove(0);  // U
    context.stopAt = 20;
    auto search = twoPhase(c);
    search->start();
    ASSERT_TRUE(waitEnded(1));
    ASSERT_EQ(found().size(), 1u);
    EXPECT_EQ(found()[0].length, 2);
    // Lower the target: the next start continues the kept threads and ends with -1.
    context.stopAt = 0;
    search->start();
    ASSERT_TRUE(waitEnded(2));
    EXPECT_TRUE(search->cannotImprove());
    EXPECT_EQ(found().size(), 1u);
    EXPECT_EQ(reports.back().length, -1);
}

TEST_F(DriversTest, StopEndsTheRunAndAStartContinues) {
    std::mt19937 rng(97);
    const CubieCube c = testing::randomCubie(rng);
    context.stopAt = 15;  // far below what the two-phase search reaches quickly
    auto search = twoPhase(c);
    search->start();
    events.waitAndDrain(std::chrono::milliseconds(200));
    search->stop();
    ASSERT_TRUE(waitEnded(1));
    const std::size_t before = found().size();
    const int best = before ? found().back().length : 31;
    context.stopAt = 30;
    search->start();
    ASSERT_TRUE(waitEnded(2));
    for (std::size_t k = before; k < found().size(); ++k) EXPECT_LT(found()[k].length, best);
}

TEST_F(DriversTest, FreedThreadsStartAgainFromScratch) {
    // With threads freed on termination, a later start builds new threads from the cube and
    // searches with the bound the earlier runs reached.
    context.freeThreadsOnTerminate = true;
    std::mt19937 rng(109);
    const CubieCube c = testing::randomCubie(rng);
    context.stopAt = 21;
    auto search = twoPhase(c);
    search->start();
    ASSERT_TRUE(waitEnded(1));
    const int first = found().back().length;
    EXPECT_LE(first, 21);
    context.stopAt = 20;
    search->start();
    ASSERT_TRUE(waitEnded(2));
    EXPECT_LE(found().back().length, std::min(first, 20));
    expectSolves(c, found().back());
}

// The number of threads of this process.
int threadCount() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
    return -1;
}

TEST_F(DriversTest, FreeingADriverWhileItSearchesIsSafe) {
    // Safe means: freeing the driver stops its threads at once (the process has no more threads
    // at work than before the search; a stopped search's thread waits in the pool), nothing
    // keeps the driver alive, and nothing is reported afterwards, although messages of its
    // threads may still be queued.
    const auto working = [] { return threadCount() - SearchPool::instance().idle(); };
    std::mt19937 rng(101);
    context.stopAt = 12;  // far below what the runs reach: the search is busy when it is freed
    const int threadsBefore = working();
    ASSERT_GT(threadsBefore, 0);
    for (int i = 0; i < 5; ++i) {
        auto search = twoPhase(testing::randomCubie(rng));
        search->start();
        events.waitAndDrain(std::chrono::milliseconds(20));
        EXPECT_GT(working(), threadsBefore) << "the search runs on a thread of its own";
        const std::size_t reportsBefore = reports.size();
        const std::weak_ptr<TripleSearch> driver = search;
        search.reset();
        EXPECT_TRUE(driver.expired());
        // The stopped thread files itself as idle in the pool a moment after its run ends.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (working() != threadsBefore && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(working(), threadsBefore);
        events.waitAndDrain(std::chrono::milliseconds(20));
        events.drain();
        EXPECT_EQ(reports.size(), reportsBefore);
    }
}

TEST_F(DriversTest, OptimalSearchReportsEachDepthThenItsProvenSolution) {
    std::mt19937 rng(113);
    const CubieCube c = testing::scramble(rng, 9);
    const int length = solveOptimal(testing::loadTestTables(), c).length;
    ASSERT_GE(length, 5);
    auto search = OptimalSearch::create(c, context, listener());
    ASSERT_TRUE(search);
    search->start();
    ASSERT_TRUE(waitEnded(1));
    // Progress: depths 1, 2, ... length in order, then the solution at that depth; then the
    // maneuver, then the end.
    std::vector<int> depths;
    std::uint64_t lastNodes = 0;
    for (const auto& r : reports) {
        if (r.state != SearchState::Progress || r.solved) continue;
        depths.push_back(r.depth);
        EXPECT_GE(r.nodes, lastNodes) << "nodes at the end of each depth only grow";
        lastNodes = r.nodes;
    }
    ASSERT_EQ(static_cast<int>(depths.size()), length);
    for (int d = 1; d <= length; ++d) EXPECT_EQ(depths[d - 1], d);
    ASSERT_GE(reports.size(), 3u);
    const SearchReport& solved = reports[reports.size() - 3];
    EXPECT_EQ(solved.state, SearchState::Progress);
    EXPECT_TRUE(solved.solved);
    EXPECT_EQ(solved.depth, length);
    EXPECT_GE(solved.nodes, lastNodes);
    const SearchReport& maneuver = reports[reports.size() - 2];
    ASSERT_EQ(maneuver.state, SearchState::Found);
    EXPECT_TRUE(maneuver.optimal);
    EXPECT_EQ(maneuver.length, length);
    expectSolves(c, maneuver);
    EXPECT_EQ(reports.back().state, SearchState::Ended);
    EXPECT_EQ(reports.back().length, length);
}

}  // namespace
}  // namespace tx
