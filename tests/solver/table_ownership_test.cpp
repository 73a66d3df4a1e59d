// Searches hold the tables they started with, and a search whose tables lack a part refuses
// to run instead of reading a table that is not there.
#include <gtest/gtest.h>

#include "solver/drivers.hpp"
#include "solver/solve_sync.hpp"
#include "solver_support.hpp"
#include "support/recording_progress.hpp"
#include "support/scripted_prompts.hpp"
#include "tables/loader.hpp"

namespace tx {
namespace {

class TableOwnership : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::loadTestTables().ready());
        context.events = &events;
        context.tables = &source;
    }
    SearchListener listener() {
        return [this](const SearchReport& r) {
            if (r.state == SearchState::Found) last = r;
            if (r.state == SearchState::Ended) ++ended;
        };
    }

    QueueEvents events;
    FixedTables source{testing::loadTestTables()};
    SearchContext context;
    int ended = 0;
    SearchReport last;
};

TEST_F(TableOwnership, ASearchKeepsItsTablesWhileTheLoaderSwitchesToOthers) {
    // A loader of its own, so that nothing else holds the tables it lets go of.
    NullProgress progress;
    ScriptedPrompts prompts;
    prompts.defaultAnswer = Answer::No;
    TableLoader loader(testing::testDataFolder(), progress, prompts);
    ASSERT_EQ(loader.startUp(false, false), StartResult::Ready);
    context.tables = &loader;
    context.stopAt = 18;  // several runs: the switch happens while the search works
    std::mt19937 rng(211);
    const CubieCube c = testing::randomCubie(rng);
    std::weak_ptr<const StandardTables> faceTurnTables = loader.current().standard;
    auto search = TripleSearch::create(c, 31, context, listener());
    ASSERT_TRUE(search);
    search->start();
    ASSERT_TRUE(loader.switchMode(true, false));
    EXPECT_TRUE(loader.current().sliceMode());
    EXPECT_FALSE(faceTurnTables.expired()) << "the running search holds the face-turn tables";
    ASSERT_TRUE(events.runUntil([&] { return ended == 1; }, std::chrono::seconds(60)));
    // Its maneuver is one of face turns and solves the cube.
    EXPECT_FALSE(last.sliceMode);
    CubieCube check = c;
    for (const Move& m : last.moves) check.applyMove(3 * m.axis + m.power - 1);
    EXPECT_TRUE(testing::solvesCorners(check));
    search.reset();
    EXPECT_TRUE(faceTurnTables.expired()) << "freed with the last search that held them";
}

TEST_F(TableOwnership, SearchesNeedingAbsentTablesAreRefusedWithAMessage) {
    std::mt19937 rng(223);
    CubieCube centres = testing::randomCubie(rng, true);
    centres.centersCount = true;
    std::string whyNot;
    EXPECT_FALSE(TripleSearch::create(centres, 31, context, listener(), &whyNot));
    EXPECT_EQ(whyNot, "The Solver Table for center-twisted Cubes is not loaded.");
    whyNot.clear();
    EXPECT_FALSE(OptimalSearch::create(centres, context, listener(), &whyNot));
    EXPECT_EQ(whyNot, "The Solver Table for center-twisted Cubes is not loaded.");

    const CubieCube plain = testing::randomCubie(rng);
    context.hugeMode = true;
    whyNot.clear();
    EXPECT_FALSE(OptimalSearch::create(plain, context, listener(), &whyNot));
    EXPECT_EQ(whyNot, "The 1881 MB Huge Optimal Solver Table is not loaded.");
    EXPECT_TRUE(TripleSearch::create(plain, 31, context, listener())) << "the two-phase search never reads the huge table";

    context.hugeMode = false;
    context.sliceMode = true;  // face-turn tables loaded
    whyNot.clear();
    EXPECT_FALSE(TripleSearch::create(plain, 31, context, listener(), &whyNot));
    EXPECT_EQ(whyNot, "The solver tables for slice moves are not loaded.");

    FixedTables none;
    context.tables = &none;
    context.sliceMode = false;
    whyNot.clear();
    EXPECT_FALSE(TripleSearch::create(plain, 31, context, listener(), &whyNot));
    EXPECT_EQ(whyNot, "The solver tables are not loaded.");
    context.tables = nullptr;
    EXPECT_FALSE(OptimalSearch::create(plain, context, listener()));
}

TEST_F(TableOwnership, ASearchWithoutItsTableEndsAtOnceAndReadsNothing) {
    std::mt19937 rng(227);
    CubieCube c = testing::randomCubie(rng, true);
    c.centersCount = true;
    // A reachable cube: the centre orientations are drawn freely.
    if (c.cornerParityEven() != c.centerSumEven()) c.centers[U].o = (c.centers[U].o + 1) % 4;
    const TableSet& standardOnly = testing::loadTestTables();
    IDA ida = testing::searchOf(c, false, standardOnly);
    EXPECT_TRUE(ida.centerMode);
    EXPECT_FALSE(ida.canRun());
    EXPECT_EQ(ida.startDistance[0], -1);
    EXPECT_EQ(ida.run(), kNoSolution);
    EXPECT_EQ(ida.totalNodes, 0u);
    IDA optimal = testing::searchOf(testing::randomCubie(rng), true, standardOnly);
    optimal.optimalMode = true;
    optimal.hugeMode = true;
    EXPECT_EQ(optimal.run(), kNoSolution);
    EXPECT_EQ(optimal.totalNodes, 0u);
    // The synchronous searches say why.
    const SyncResult r = solveTwoPhase(standardOnly, c, 20);
    EXPECT_EQ(r.length, -1);
    EXPECT_EQ(r.error, "The Solver Table for center-twisted Cubes is not loaded.");
    EXPECT_EQ(solveOptimal(TableSet{}, testing::randomCubie(rng)).error, "The solver tables are not loaded.");
}

}  // namespace
}  // namespace tx
