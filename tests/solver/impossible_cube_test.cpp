// What the searches do with cubes that no sequence of moves reaches, with coordinates out of
// range, with the solved cube, and with a stop whatever the target length.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "solver/drivers.hpp"
#include "solver/solve_sync.hpp"
#include "solver_support.hpp"
#include "tables/table_index.hpp"

namespace tx {
namespace {

using namespace std::chrono_literals;

// Cubie cubes that are no cubes: the kinds of fault an unchecked piece list produced.
std::vector<std::pair<const char*, CubieCube>> impossibleCubes() {
    std::vector<std::pair<const char*, CubieCube>> v;
    CubieCube c;
    c.corners[3].c = 0;  // URF twice, UBR never
    v.emplace_back("doubled corner", c);
    c = CubieCube();
    c.edges[4].c = kNoEdge;
    v.emplace_back("undetermined edge", c);
    c = CubieCube();
    c.corners[2].o = 5;  // a mirrored orientation
    v.emplace_back("mirrored corner", c);
    c = CubieCube();
    c.corners[0].o = 1;
    v.emplace_back("twisted corner", c);
    c = CubieCube();
    c.edges[7].o = 1;
    v.emplace_back("flipped edge", c);
    c = CubieCube();
    std::swap(c.edges[0], c.edges[1]);
    v.emplace_back("odd parity", c);
    c = CubieCube();
    c.applyMove(3);  // R: an odd corner permutation with all centres at 0
    c.centers[1].o = 0;
    c.centersCount = true;
    v.emplace_back("centre parity", c);
    return v;
}

TEST(ImpossibleCube, TheSearchRefusesItWithoutReadingATable) {
    const TableSet& tables = testing::loadTestTables();
    for (const auto& [what, cube] : impossibleCubes()) {
        const CoordCube coords(*tables.coords, cube);
        EXPECT_FALSE(coords.inRange()) << what;
        for (bool optimal : {false, true}) {
            IDA ida(tables, coords, optimal);
            ida.optimalMode = optimal;
            ida.maxLen = 30;
            EXPECT_FALSE(ida.canRun()) << what;
            EXPECT_EQ(ida.run(), kNoSolution) << what;
            EXPECT_EQ(ida.totalNodes, 0u) << what;
        }
    }
}

TEST(ImpossibleCube, CoordinatesOutOfRangeAreRefused) {
    const TableSet& tables = testing::loadTestTables();
    std::mt19937 rng(2401);
    const CoordCube good(*tables.coords, testing::randomCubie(rng));
    ASSERT_TRUE(good.inRange());
    auto refused = [&](auto&& spoil) {
        CoordCube bad = good;
        spoil(bad);
        IDA ida(tables, bad, false);
        ida.maxLen = 30;
        return !bad.inRange() && !ida.canRun() && ida.run() == kNoSolution && ida.totalNodes == 0;
    };
    EXPECT_TRUE(refused([](CoordCube& c) { c.axis[0].twist = kTwists; }));
    EXPECT_TRUE(refused([](CoordCube& c) { c.axis[2].flipSliceClass = -1; }));
    EXPECT_TRUE(refused([](CoordCube& c) { c.axis[1].flipSliceSym = kUdSymmetries; }));
    EXPECT_TRUE(refused([](CoordCube& c) { c.axis[1].sliceSorted = kSliceSorted; }));
    EXPECT_TRUE(refused([](CoordCube& c) { c.cornerPerm = kCornerPerms; }));
}

TEST(ImpossibleCube, DriversAndSynchronousSearchesSayWhy) {
    QueueEvents events;
    SearchContext context;
    context.events = &events;
    context.tables = &testing::testTableSource();
    const TableSet& tables = testing::loadTestTables();
    for (const auto& [what, cube] : impossibleCubes()) {
        if (cube.centersCount) continue;  // the test folder has no centre tables
        std::string whyNot;
        EXPECT_FALSE(TripleSearch::create(cube, 31, context, [](const SearchReport&) {}, &whyNot)) << what;
        EXPECT_TRUE(whyNot.starts_with("the cube cannot be solved: ")) << whyNot;
        whyNot.clear();
        EXPECT_FALSE(OptimalSearch::create(cube, context, [](const SearchReport&) {}, &whyNot)) << what;
        EXPECT_TRUE(whyNot.starts_with("the cube cannot be solved: ")) << whyNot;
        EXPECT_EQ(solveTwoPhase(tables, cube, 20).error, whyNot) << what;
        EXPECT_EQ(solveOptimal(tables, cube).error, whyNot) << what;
    }
    CubieCube twisted;
    twisted.corners[0].o = 2;
    twisted.corners[1].o = 2;
    EXPECT_EQ(solveOptimal(tables, twisted).error, "the cube cannot be solved: twist error (a corner is twisted)");
}

TEST(SolvedCube, OptimalIsTheEmptyManeuverTwoPhaseKeepsItsRule) {
    const TableSet& tables = testing::loadTestTables();
    const SyncResult optimal = solveOptimal(tables, CubieCube());
    EXPECT_TRUE(optimal.error.empty()) << optimal.error;
    EXPECT_EQ(optimal.length, 0);
    EXPECT_TRUE(optimal.moves.empty());
    EXPECT_EQ(solveTwoPhase(tables, CubieCube(), 20).length, 2);  // U U'

    QueueEvents events;
    SearchContext context;
    context.events = &events;
    context.tables = &testing::testTableSource();
    std::vector<SearchReport> reports;
    auto search = OptimalSearch::create(CubieCube(), context, [&](const SearchReport& r) { reports.push_back(r); });
    ASSERT_TRUE(search);
    search->start();
    ASSERT_TRUE(events.runUntil([&] { return !reports.empty() && reports.back().state == SearchState::Ended; }, 60s));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].state, SearchState::Found);
    EXPECT_EQ(reports[0].length, 0);
    EXPECT_TRUE(reports[0].optimal);
    EXPECT_TRUE(reports[0].moves.empty());
    // One move from solved is still searched as before.
    CubieCube one;
    one.applyMove(0);
    EXPECT_EQ(solveOptimal(tables, one).length, 1);
}

// A target below every length the search can give (a careless cube.ini) must not keep the
// search from ending when it is told to stop, or when it has proved that no shorter exists.
TEST(StopAlwaysEnds, WhateverTheTarget) {
    std::mt19937 rng(243);
    for (int target : {-5, -3, -2, 0}) {
        IDA ida = testing::searchOf(testing::randomCubie(rng), false);
        ida.maxLen = 30;
        ida.stopAt = target;
        auto done = std::async(std::launch::async, [&] { return ida.run(); });
        std::this_thread::sleep_for(50ms);
        ida.requestStop();
        ASSERT_EQ(done.wait_for(30s), std::future_status::ready) << "target " << target;
        EXPECT_EQ(done.get(), kStopped);
        // A bound that no maneuver meets ends with "none" at once.
        IDA bounded = testing::searchOf(testing::randomCubie(rng), false);
        bounded.maxLen = 5;
        bounded.stopAt = target;
        auto none = std::async(std::launch::async, [&] { return bounded.run(); });
        ASSERT_EQ(none.wait_for(30s), std::future_status::ready) << "target " << target;
        EXPECT_EQ(none.get(), kNoSolution);
    }
}

}  // namespace
}  // namespace tx
