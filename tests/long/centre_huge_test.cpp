// Solves that need the optional tables: cubes whose centre orientation counts (two-phase and
// optimal, checked with the cube model, centres included), and the huge table of the optimal
// solver (the same lengths as without it, and its start values in the progress log).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>

#include "cli/cli_runner.hpp"
#include "platform/progress.hpp"
#include "platform/prompts.hpp"
#include "solver/ida.hpp"
#include "solver/solve_sync.hpp"
#include "support/random_cubes.hpp"
#include "tables/coord_cube.hpp"
#include "tables/loader.hpp"

namespace tx {
namespace {

std::string longDataFolder() {
    if (const char* env = std::getenv("TESSERIX_LONG_DATA")) return env;
    return TESSERIX_LONG_DATA;
}

// The standard, centre and huge tables of the long folder, loaded once per process; nothing
// is built here (the fixture has built them).
const TableSet& longTables() {
    static const TableSet tables = [] {
        NullProgress progress;
        AutoPrompts prompts(Answer::No);
        TableLoader loader(longDataFolder(), progress, prompts);
        if (loader.startUp(false, false) != StartResult::Ready) return TableSet{};
        if (!loader.loadCenterTables() || !loader.loadHugeTable()) return TableSet{};
        return loader.current();
    }();
    return tables;
}

class LongTables : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(longTables().ready() && longTables().hasCenter() && longTables().hasHuge())
            << "no centre and huge tables in " << longDataFolder();
    }
};

CubieCube applied(CubieCube c, const std::vector<Move>& moves) {
    for (const Move& m : moves) c.applyMove(3 * m.axis + m.power - 1);
    return c;
}

// Solved, the six centres straight included.
bool solvedWithCentres(const CubieCube& c) {
    const CubieCube home;
    return c.corners == home.corners && c.edges == home.edges && c.centers == home.centers;
}

TEST_F(LongTables, CentreTwistedCubesAreSolvedCentresIncluded) {
    std::mt19937 rng(1204);
    for (int i = 0; i < 4; ++i) {
        CubieCube c = testing::randomCubie(rng, true);
        c.centersCount = true;
        // The centre orientations are drawn freely: one quarter turn of U makes the cube reachable.
        if (c.cornerParityEven() != c.centerSumEven()) c.centers[U].o = (c.centers[U].o + 1) % 4;
        const SyncResult r = solveTwoPhase(longTables(), c, 24);
        ASSERT_TRUE(r.error.empty()) << r.error;
        ASSERT_GE(r.length, 0);
        EXPECT_LE(r.length, 30);
        EXPECT_TRUE(solvedWithCentres(applied(c, r.moves)));
    }
    // Only the centres turned: U a half turn, F a quarter and B a quarter back.
    CubieCube centresOnly;
    centresOnly.centersCount = true;
    centresOnly.centers[U].o = 2;
    centresOnly.centers[F].o = 1;
    centresOnly.centers[B].o = 3;
    const SyncResult r = solveTwoPhase(longTables(), centresOnly, 30);
    ASSERT_GE(r.length, 1) << r.error;
    EXPECT_TRUE(solvedWithCentres(applied(centresOnly, r.moves)));
    // Optimal: short scrambles, solved no longer than they were made.
    for (int moves : {5, 7, 8}) {
        CubieCube c = testing::scramble(rng, moves);
        c.centersCount = true;
        const SyncResult o = solveOptimal(longTables(), c);
        ASSERT_TRUE(o.error.empty()) << o.error;
        ASSERT_GE(o.length, 0);
        EXPECT_LE(o.length, moves);
        EXPECT_TRUE(solvedWithCentres(applied(c, o.moves)));
        // Without centres the cube is never longer.
        c.centersCount = false;
        EXPECT_LE(solveOptimal(longTables(), c).length, o.length);
    }
}

TEST_F(LongTables, HugeModeFindsTheSameLengthsWithFewerNodes) {
    std::mt19937 rng(1212);
    for (int moves : {4, 7, 9, 10, 11}) {
        const CubieCube c = testing::scramble(rng, moves);
        const SyncResult normal = solveOptimal(longTables(), c, false, false);
        const SyncResult huge = solveOptimal(longTables(), c, false, true);
        ASSERT_TRUE(huge.error.empty()) << huge.error;
        EXPECT_EQ(huge.length, normal.length) << moves << " moves";
        EXPECT_LE(huge.length, moves);
        EXPECT_TRUE(solvedWithCentres(applied(c, huge.moves)));
        EXPECT_LE(huge.nodes, normal.nodes) << moves << " moves";
    }
}

TEST_F(LongTables, TheLogShowsTheHugeStartValues) {
    std::mt19937 rng(1224);
    CubieCube c;
    std::unique_ptr<IDA> search;
    // A cube far enough from solved that the log has a depth line (from depth 9 on).
    do {
        c = testing::scramble(rng, 12);
        search = std::make_unique<IDA>(longTables(), CoordCube(*longTables().coords, c), true, true);
    } while (search->startDistance[0] < 9);
    const IDA& huge = *search;
    const IDA normal(longTables(), CoordCube(*longTables().coords, c), true, false);
    const std::string expected = "Pruning Table Start Values: " + std::to_string(huge.startDistance[0]) + " " +
                                 std::to_string(huge.startDistance[1]) + " " + std::to_string(huge.startDistance[2]);
    const auto r = testing::runCli({"solve", "--optimal", "--huge", "--log", "--data-dir", longDataFolder(), "--yes",
                                    testing::faceletCubeOf(c).faceletString()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find(expected), std::string::npos) << r.err;
    for (int k = 0; k < 3; ++k) EXPECT_GE(huge.startDistance[k], normal.startDistance[k]);
}

}  // namespace
}  // namespace tx
