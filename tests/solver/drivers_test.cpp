#include <gtest/gtest.h>

#include <fstream>

#include "cube/notation.hpp"
#include "solver/drivers.hpp"
#include "solver/solve_sync.hpp"
#include "solver_support.hpp"

namespace tx {
namespace {

class DriversTest : public ::testing::Test {
protected:

    QueueEvents events;
    SearchContext context;
    int ended = 0;
    int changes = 0;
    int modified = 0;

    void SetUp() override {
        ASSERT_TRUE(testing::loadTestTables().ready());
        context.events = &events;
        context.tables = &testing::testTableSource();
        context.onSearchEnded = [&](Entry&) { ++ended; };
        context.onEntryChanged = [&](Entry&) { ++changes; };
        context.onModified = [&] { ++modified; };
    }

    std::shared_ptr<Entry> entryOf(const CubieCube& c) {
        auto e = std::make_shared<Entry>();
        e->cube.setFromCubieCube(c);
        e->searchCopy = e->cube.f;
        return e;
    }

    void startTwoPhase(Entry& e) {
        e.searchRunning = true;
        if (!e.twoPhase) e.twoPhase = TripleSearch::create(e, context);
        e.twoPhase->start();
    }

    bool waitEnded(int count) {
        return events.runUntil([&] { return ended >= count; }, std::chrono::seconds(60));
    }
};

// The maneuver text applied to the entry's cube solves it.
void expectSolves(const Entry& e, const std::string& text) {
    FaceletCube f = e.cube;
    applyManeuver(f, text);
    EXPECT_EQ(f.f, FaceletCube().f) << text;
}

TEST_F(DriversTest, TwoPhaseRunsUntilTheTarget) {
    std::mt19937 rng(83);
    for (int i = 0; i < 20; ++i) {
        auto e = entryOf(testing::randomCubie(rng));
        startTwoPhase(*e);
        ASSERT_TRUE(waitEnded(i + 1));
        EXPECT_FALSE(e->searchRunning);
        EXPECT_LE(e->bestLength, 20);
        EXPECT_NE(e->solverText.find("(" + std::to_string(e->bestLength) + "f)"), std::string::npos);
        expectSolves(*e, e->solverText);
        EXPECT_EQ(e->twoPhase->bound, e->bestLength - 1);
    }
    EXPECT_GT(modified, 0);
}

TEST_F(DriversTest, TripleSearchSolutionsSolveTheCube) {
    context.triple = true;
    std::mt19937 rng(89);
    for (int i = 0; i < 20; ++i) {
        auto e = entryOf(testing::randomCubie(rng));
        startTwoPhase(*e);
        ASSERT_TRUE(waitEnded(i + 1));
        EXPECT_LE(e->bestLength, 20);
        expectSolves(*e, e->solverText);
    }
}

TEST_F(DriversTest, ContinuingAfterTheTargetAndProvingNoBetterExists) {
    // A cube two moves from solved: the first run finds 2 moves, later runs prove nothing shorter.
    CubieCube c;
    c.applyMove(3);   // R
    c.applyMove(0);   // U
    auto e = entryOf(c);
    context.stopAt = 20;
    startTwoPhase(*e);
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(e->bestLength, 2);
    expectSolves(*e, e->solverText);
    // Lower the target: the next start continues the kept threads and ends with -1.
    context.stopAt = 0;
    startTwoPhase(*e);
    ASSERT_TRUE(waitEnded(2));
    EXPECT_TRUE(e->twoPhase->cannotImprove());
    EXPECT_EQ(e->bestLength, 2);
}

TEST_F(DriversTest, StopEndsTheRunAndAStartContinues) {
    std::mt19937 rng(97);
    auto e = entryOf(testing::randomCubie(rng));
    context.stopAt = 15;  // far below what the two-phase search reaches quickly
    startTwoPhase(*e);
    events.waitAndDrain(std::chrono::milliseconds(200));
    e->twoPhase->stop();
    ASSERT_TRUE(waitEnded(1));
    EXPECT_FALSE(e->searchRunning);
    const int before = e->bestLength;
    context.stopAt = 30;
    startTwoPhase(*e);
    ASSERT_TRUE(waitEnded(2));
    EXPECT_LE(e->bestLength, before);
}

TEST_F(DriversTest, FreedThreadsStartAgainFromScratch) {
    // With threads freed on termination, a later start builds new threads from the cube and
    // searches with the bound the earlier runs reached.
    context.freeThreadsOnTerminate = true;
    std::mt19937 rng(109);
    auto e = entryOf(testing::randomCubie(rng));
    context.stopAt = 21;
    startTwoPhase(*e);
    ASSERT_TRUE(waitEnded(1));
    const int first = e->bestLength;
    EXPECT_LE(first, 21);
    context.stopAt = 20;
    startTwoPhase(*e);
    ASSERT_TRUE(waitEnded(2));
    EXPECT_LE(e->bestLength, std::min(first, 20));
    expectSolves(*e, e->solverText);
}

// The number of threads of this process.
int threadCount() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
    return -1;
}

TEST_F(DriversTest, FreeingAnEntryWhileItSearchesIsSafe) {
    // Safe means: freeing the driver stops and joins its threads at once (the process has no
    // more threads than before the search), nothing keeps the driver or the entry alive, and
    // no handler runs for the freed entry afterwards, although messages of its threads may
    // still be queued.
    std::mt19937 rng(101);
    context.stopAt = 12;  // far below what the runs reach: the search is busy when it is freed
    const int threadsBefore = threadCount();
    ASSERT_GT(threadsBefore, 0);
    for (int i = 0; i < 5; ++i) {
        auto e = entryOf(testing::randomCubie(rng));
        startTwoPhase(*e);
        events.waitAndDrain(std::chrono::milliseconds(20));
        EXPECT_GT(threadCount(), threadsBefore) << "the search runs on a thread of its own";
        const int endedBefore = ended, changesBefore = changes, modifiedBefore = modified;
        const std::weak_ptr<TripleSearch> driver = e->twoPhase;
        const std::weak_ptr<Entry> entry = e;
        e->removed = true;
        e->twoPhase.reset();
        EXPECT_TRUE(driver.expired());
        EXPECT_EQ(threadCount(), threadsBefore);
        e.reset();
        EXPECT_TRUE(entry.expired());
        events.waitAndDrain(std::chrono::milliseconds(20));
        events.drain();
        EXPECT_EQ(ended, endedBefore);
        EXPECT_EQ(changes, changesBefore);
        EXPECT_EQ(modified, modifiedBefore);
    }
}

TEST_F(DriversTest, OptimalSearchEndsStarredWithItsLog) {
    FaceletCube scrambled;
    applyManeuver(scrambled, "R U F D L B R2 U2 F' D' L2 B'");
    CubieCube c = scrambled.toCubieCube();
    c.centersCount = false;
    auto e = entryOf(c);
    e->useOptimal = true;
    e->startTime = nowDays();
    e->searchRunning = true;
    e->optimal = OptimalSearch::create(*e, context);
    e->optimal->start();
    ASSERT_TRUE(waitEnded(1));
    EXPECT_TRUE(e->hasOptimalManeuver());
    EXPECT_EQ(e->optimalText.substr(e->optimalText.size() - 2), "*)");
    expectSolves(*e, e->optimalText);
    EXPECT_LE(e->optimalLength, 12);
    ASSERT_GE(e->optimalLength, 9) << "the log needs a cube of at least nine moves";
    if (e->optimalLength >= 9) {
        EXPECT_EQ(e->optimalLog.rfind("Pruning Table Start Values: ", 0), 0u);
        EXPECT_NE(e->optimalLog.find(" nodes: "), std::string::npos);
    }
    // Lines start at depth 08 (message v = 9) and name every depth once, up to the solution's.
    for (int d = 1; d <= e->optimalLength; ++d) {
        const std::string line = depthLineText(d);
        const auto first = e->optimalLog.find(line);
        if (d < 8) {
            EXPECT_EQ(first, std::string::npos) << d;
        } else {
            ASSERT_NE(first, std::string::npos) << d;
            EXPECT_EQ(e->optimalLog.find(line, first + 1), std::string::npos) << "depth " << d << " twice";
        }
    }
}

TEST_F(DriversTest, OptimalProgressProvesTheTwoPhaseManeuver) {
    // The two-phase search runs down to the optimal length; the optimal search then proves that
    // maneuver as soon as it has exhausted the shorter depths, stars it and stops.
    std::mt19937 rng(107);
    CubieCube c = testing::scramble(rng, 11);
    const int optimal = solveOptimal(testing::loadTestTables(), c).length;
    ASSERT_GE(optimal, 9) << "progress lines and the proof start at depth 9";
    auto e = entryOf(c);
    context.stopAt = optimal;
    startTwoPhase(*e);
    ASSERT_TRUE(waitEnded(1));
    ASSERT_EQ(e->bestLength, optimal);
    const std::string twoPhase = e->solverText;
    e->useOptimal = true;
    e->startTime = nowDays();
    e->searchRunning = true;
    e->optimal = OptimalSearch::create(*e, context);
    e->optimal->start();
    ASSERT_TRUE(waitEnded(2));
    std::string expected = twoPhase.substr(0, twoPhase.size() - 1) + "*)";
    EXPECT_EQ(e->optimalText, expected);
    EXPECT_NE(e->optimalLog.find(depthLineText(optimal - 1)), std::string::npos);
}

TEST(DepthLines, Format) {
    EXPECT_EQ(depthLineText(9), "\rdepth 09: ");
    EXPECT_EQ(depthLineText(17), "\rdepth 17: ");
    EXPECT_EQ(lengthOfMark("R U  (2f)", 'f'), 2);
    EXPECT_EQ(lengthOfMark("R U  (2f)", 's'), -1);
    EXPECT_EQ(lengthOfMark("R U  (12f*)", 'f'), -1);
}

}  // namespace
}  // namespace tx
