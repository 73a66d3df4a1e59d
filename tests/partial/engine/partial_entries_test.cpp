// The partial-cube window's "add": the entries its lines make in the cube list.
#include <gtest/gtest.h>

#include "../../workspace/list_support.hpp"
#include "workspace/incomp_entries.hpp"

namespace tx {
namespace {

TEST(PartialEntries, StarredLinesBecomeOptimalEntriesAndOthersSolverEntries) {
    testing::ListRig rig;
    const std::vector<std::string> lines = {
        "Using D-Face accelerator table.",
        "computation started...",
        "",
        "R U F'  (3f*)",
        "R U F'  (3f*)",  // the same cube again: no isomorphism test
        "Searching depth 7",
        "E y R2 F2 M x'  (5f)   //  Superflip corner  ",
        "U R  (2s)",  // another metric: not this list's
        "computation stopped.",
    };
    EXPECT_EQ(addIncompLines(rig.list, lines), 3);
    ASSERT_EQ(rig.list.size(), 3u);
    EXPECT_TRUE(rig.list.isoCheck);  // switched back on after the call
    for (int i = 0; i < 2; ++i) {
        const Entry& e = rig.list.at(i);
        EXPECT_EQ(e.optimalText, "R U F'  (3f*)");
        EXPECT_TRUE(e.hasOptimalManeuver());
        EXPECT_TRUE(e.useOptimal);
        EXPECT_EQ(e.optimalLength, 3);
        EXPECT_EQ(e.bestLength, 31);
        EXPECT_TRUE(e.solverText.empty());
        EXPECT_TRUE(e.showSolver);
        EXPECT_FALSE(e.searchRunning);
        EXPECT_TRUE(testing::solves(e.cube, e.optimalText));
    }
    const Entry& e = rig.list.at(2);
    EXPECT_EQ(e.solverText, "E y R2 F2 M x'  (5f)");
    EXPECT_EQ(e.solverMark, 5);
    EXPECT_EQ(e.bestLength, 5);
    EXPECT_FALSE(e.useOptimal);
    EXPECT_TRUE(e.optimalIsStatus());
    EXPECT_EQ(e.patternName, "Superflip corner");
    // The middle-layer form moves the centres and turns them back: the cube is a real position
    // that the maneuver solves.
    FaceletCube c = e.cube;
    applyManeuver(c, e.solverText);
    EXPECT_EQ(c.f, FaceletCube().f);
    EXPECT_NE(e.cube.f, FaceletCube().f);
}

TEST(PartialEntries, TheListsMetricDecidesWhichLinesCount) {
    testing::ListRig rig;
    rig.list.context().sliceMode = true;
    rig.list.options.fixCenterFacelets = true;
    EXPECT_EQ(addIncompLines(rig.list, {"R U F'  (3f*)", "E y  (1s*)"}), 1);
    ASSERT_EQ(rig.list.size(), 1u);
    EXPECT_EQ(rig.list.at(0).optimalText, "E y  (1s*)");
    EXPECT_TRUE(rig.list.at(0).cube.centersCount);
    // E y is the slice pair U D': the cube it solves has the U centre a quarter turn back and
    // the D centre a quarter turn on.
    EXPECT_EQ(rig.list.at(0).cube.centerOri, (std::array<std::uint8_t, 6>{3, 0, 0, 1, 0, 0}));
}

}  // namespace
}  // namespace tx
