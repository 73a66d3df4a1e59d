// The searches of an entry: the reports of the drivers become the entry's texts, marks, log
// and status; the texts are made from the reports, never read back.
#include <gtest/gtest.h>

#include "cube/notation.hpp"
#include "solver/solve_sync.hpp"
#include "list_support.hpp"
#include "workspace/entry_search.hpp"

namespace tx {
namespace {

class EntrySearch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::loadTestTables().ready());
        context.events = &events;
        context.tables = &testing::testTableSource();
        notices.changed = [this](Entry&) { ++changes; };
        notices.modified = [this] { ++modified; };
        notices.ended = [this](Entry&) { ++ended; };
        notices.logged = [this](Entry&, const std::string& line) { logged.push_back(line); };
    }
    std::shared_ptr<Entry> entryOf(const CubieCube& c) {
        auto e = std::make_shared<Entry>();
        e->cube.setFromCubieCube(c);
        e->searchCopy = e->cube.f;
        return e;
    }
    void startTwoPhase(Entry& e) {
        if (!e.twoPhase) e.twoPhase = makeTwoPhaseSearch(e, context, notices);
        ASSERT_TRUE(e.twoPhase);
        e.searchRunning = true;
        e.twoPhase->start();
    }
    void startOptimal(Entry& e) {
        e.useOptimal = true;
        e.startTime = nowDays();
        e.optimal = makeOptimalSearch(e, context, notices);
        ASSERT_TRUE(e.optimal);
        e.searchRunning = true;
        e.optimal->start();
    }
    bool waitEnded(int count) { return events.runUntil([&] { return ended >= count; }, std::chrono::seconds(60)); }

    QueueEvents events;
    SearchContext context;
    EntryNotices notices;
    int changes = 0, modified = 0, ended = 0;
    std::vector<std::string> logged;
};

TEST_F(EntrySearch, TwoPhaseMarksAndTextsComeFromTheReports) {
    std::mt19937 rng(83);
    for (int i = 0; i < 10; ++i) {
        auto e = entryOf(testing::randomCubie(rng));
        startTwoPhase(*e);
        ASSERT_TRUE(waitEnded(i + 1));
        EXPECT_FALSE(e->searchRunning);
        EXPECT_LE(e->bestLength, 20);
        EXPECT_EQ(e->solverMark, e->bestLength);
        EXPECT_TRUE(e->solverText.ends_with("  (" + std::to_string(e->bestLength) + "f)"))
            << e->solverText;
        EXPECT_EQ(countFaceTurns(e->solverText), e->bestLength);
        EXPECT_TRUE(testing::solves(e->cube, e->solverText)) << e->solverText;
        EXPECT_EQ(e->twoPhase->bound, e->bestLength - 1);
    }
    EXPECT_GT(modified, 0);
    EXPECT_GE(changes, modified);
}

TEST_F(EntrySearch, TripleSearchTextsAreTurnedBackToTheEntrysCube) {
    context.triple = true;
    std::mt19937 rng(89);
    for (int i = 0; i < 10; ++i) {
        auto e = entryOf(testing::randomCubie(rng));
        startTwoPhase(*e);
        ASSERT_TRUE(waitEnded(i + 1));
        EXPECT_TRUE(testing::solves(e->cube, e->solverText)) << e->solverText;
    }
}

TEST_F(EntrySearch, OptimalSearchEndsStarredWithItsLog) {
    FaceletCube scrambled;
    applyManeuver(scrambled, "R U F D L B R2 U2 F' D' L2 B'");
    CubieCube c = scrambled.toCubieCube();
    c.centersCount = false;
    auto e = entryOf(c);
    startOptimal(*e);
    ASSERT_TRUE(waitEnded(1));
    EXPECT_TRUE(e->hasOptimalManeuver());
    EXPECT_EQ(e->optimalText.substr(e->optimalText.size() - 2), "*)");
    EXPECT_EQ(e->optimalMark, e->optimalLength);
    EXPECT_TRUE(testing::solves(e->cube, e->optimalText));
    EXPECT_LE(e->optimalLength, 12);
    ASSERT_GE(e->optimalLength, 9) << "the log needs a cube of at least nine moves";
    EXPECT_EQ(e->optimalLog.rfind("Pruning Table Start Values: ", 0), 0u);
    EXPECT_NE(e->optimalLog.find(" nodes: "), std::string::npos);
    // Lines start at depth 08 (progress of depth 9) and name every depth once, up to the solution's.
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
    // The same lines reached the owner one by one, without their "\r".
    ASSERT_FALSE(logged.empty());
    std::string joined = logged[0];
    for (std::size_t k = 1; k < logged.size(); ++k) joined += "\r" + logged[k];
    EXPECT_EQ(joined, e->optimalLog);
}

TEST_F(EntrySearch, OptimalProgressProvesTheTwoPhaseManeuver) {
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
    startOptimal(*e);
    ASSERT_TRUE(waitEnded(2));
    EXPECT_EQ(e->optimalText, twoPhase.substr(0, twoPhase.size() - 1) + "*)");
    EXPECT_TRUE(e->hasOptimalManeuver());
    EXPECT_EQ(e->optimalMark, optimal);
    EXPECT_NE(e->optimalLog.find(depthLineText(optimal - 1)), std::string::npos);
}

TEST_F(EntrySearch, AStoppedOptimalSearchWithoutResultSaysNotRunning) {
    std::mt19937 rng(131);
    auto e = entryOf(testing::randomCubie(rng));  // about 18 moves: far from done at once
    startOptimal(*e);
    ASSERT_TRUE(events.runUntil([&] { return e->optimalText.rfind("Status: Searching depth ", 0) == 0; },
                                std::chrono::seconds(60)));
    EXPECT_TRUE(e->optimalIsStatus());
    e->optimal->stop();
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(e->optimalText, kStatusNotRunning);
    EXPECT_TRUE(e->optimalIsStatus());
    EXPECT_FALSE(e->searchRunning);
}

TEST(EntryTexts, DepthLinesProvenTextsAndTurnedManeuvers) {
    EXPECT_EQ(depthLineText(9), "\rdepth 09: ");
    EXPECT_EQ(depthLineText(17), "\rdepth 17: ");
    EXPECT_EQ(provenText("R U  (2f)"), "R U  (2f*)");
    EXPECT_EQ(provenText("  (0f) "), "(0f*)");
    SearchReport r;
    r.state = SearchState::Found;
    r.moves = {{0, 1}, {1, 2}};  // U R2
    r.length = 2;
    EXPECT_EQ(maneuverText(r), "U R2  (2f)");
    EXPECT_EQ(maneuverText(r, true), "U R2  (2f*)");
    r.orientation = 2;
    EXPECT_EQ(maneuverText(r), transformManeuver(transformManeuver("U R2  (2f)", 0), 0));
}

TEST(EntryTexts, SettersKeepTextAndDataTogether) {
    Entry e;
    EXPECT_TRUE(e.optimalIsStatus());
    EXPECT_FALSE(e.hasOptimalText());
    e.setOptimalManeuver("R  (1f)", 1, false);
    EXPECT_TRUE(e.hasOptimalText());
    EXPECT_FALSE(e.hasOptimalManeuver());
    e.setOptimalManeuver("R  (1f*)", 1, true);
    EXPECT_TRUE(e.hasOptimalManeuver());
    e.setOptimalStatus("Status: Searching depth 12...");
    EXPECT_TRUE(e.optimalIsStatus());
    EXPECT_EQ(e.optimalMark, -1);
    e.setSolverText("R U  (2f)", 2);
    const auto copy = e.copyData();
    EXPECT_EQ(copy->solverMark, 2);
    EXPECT_EQ(copy->optimalKind, OptimalText::Status);
}

}  // namespace
}  // namespace tx
