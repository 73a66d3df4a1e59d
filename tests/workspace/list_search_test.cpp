// Searches of the list's entries: the run/stop button, the "optimal" box, the start and stop
// commands for selected entries, removal while searches run, and the mode switches.
#include "list_support.hpp"

#include "solver/drivers.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/settings.hpp"

namespace tx {
namespace {

using testing::cubeOf;
using testing::ListRig;
using testing::randomFaceletCube;
using testing::TempFolder;
using testing::solves;

class ListSearch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::loadTestTables().ready()); }
};

// A cube with its URF corner twisted in place: complete, but no real cube.
FaceletCube twistedCorner() {
    FaceletCube c;
    std::swap(c.f[8], c.f[20]);  // U8 F2 R0 = U F R -> F U R, then R into the middle
    std::swap(c.f[20], c.f[9]);
    return c;
}

TEST_F(ListSearch, EntryButtonRunsTheTwoPhaseSearchToTheTarget) {
    ListRig rig;
    MersenneTwister rng(61);
    for (int round = 0; round < 3; ++round) {
        auto e = rig.list.addCube(randomFaceletCube(rng), {});
        rig.list.modified = false;
        rig.list.entryButton(int(rig.list.size()) - 1);
        EXPECT_TRUE(e->searchRunning);
        ASSERT_TRUE(rig.waitFor([&] { return !e->searchRunning; }));
        EXPECT_LE(e->bestLength, 20);
        EXPECT_TRUE(e->solverText.ends_with("  (" + std::to_string(e->bestLength) + "f)"))
            << e->solverText;
        EXPECT_EQ(e->solverMark, e->bestLength);
        EXPECT_TRUE(solves(e->cube, e->solverText)) << e->solverText;
        EXPECT_TRUE(rig.list.modified);
    }
    EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST_F(ListSearch, EditorButtonsAddAndSolve) {
    ListRig rig;
    MersenneTwister rng(62);
    FaceletEditor editor;
    editor.randomize(rng);
    EXPECT_EQ(rig.list.addFromEditor(editor, true), EditorAdd::Added);
    editor.randomize(rng);
    EXPECT_EQ(rig.list.addFromEditor(editor, false), EditorAdd::Added);
    ASSERT_EQ(rig.list.size(), 2u);
    EXPECT_TRUE(rig.list.at(0).showSolver);
    EXPECT_FALSE(rig.list.at(1).showSolver);
    ASSERT_TRUE(rig.waitFor([&] { return !rig.list.at(0).searchRunning && !rig.list.at(1).searchRunning; }));
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(solves(rig.list.at(i).cube, rig.list.at(i).solverText));
    // The same cube again: the isomorphism question, No adds nothing.
    rig.prompts.answers = {Answer::No};
    EXPECT_EQ(rig.list.addFromEditor(editor, true), EditorAdd::Declined);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "Cube 2 is isomorphic to the Cube you want to add. Proceed?");
}

TEST_F(ListSearch, OptimalSearchOnAShortCubeEndsProven) {
    ListRig rig;
    auto e = rig.list.addCube(cubeOf("R U F' D2"), {});
    EXPECT_TRUE(rig.list.setOptimalBox(0, true));
    rig.list.entryButton(0);
    EXPECT_TRUE(e->searchRunning);
    ASSERT_TRUE(rig.waitFor([&] { return !e->searchRunning; }));
    EXPECT_NE(e->optimalText.find("(4f*)"), std::string::npos) << e->optimalText;
    EXPECT_TRUE(solves(e->cube, e->optimalText));
    EXPECT_EQ(e->optimalLength, 4);

    // A proven box stays checked.
    EXPECT_TRUE(rig.list.setOptimalBox(0, false));
    EXPECT_TRUE(e->useOptimal);
    // Restarting asks first; No leaves it as it is.
    rig.prompts.answers = {Answer::No};
    rig.list.entryButton(0);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text,
              "The maneuver already is optimal. If you proceed you may loose optimality. Proceed?");
    EXPECT_EQ(rig.prompts.shown[0].buttons, Buttons::YesNo);
    EXPECT_FALSE(e->searchRunning);
}

TEST_F(ListSearch, RefusalsOfTheEntryButton) {
    ListRig rig;
    rig.list.isoCheck = false;
    FaceletCube incomplete;
    incomplete.f[7] = kUndefinedFacelet;
    rig.list.addCube(incomplete, {});
    rig.list.addCube(twistedCorner(), {});
    // One move, marked as known: the two-phase search proves that nothing shorter exists.
    auto known = rig.list.addCube(cubeOf("R"), {});
    known->setSolverText("R'  (1f)", 1);
    known->bestLength = 1;
    rig.list.entryButton(0);
    rig.list.entryButton(1);
    ASSERT_EQ(rig.prompts.shown.size(), 2u);
    EXPECT_EQ(rig.prompts.shown[0].text, "You cannot solve an incomplete cube!");
    EXPECT_EQ(rig.prompts.shown[0].caption, "Maneuver Window");
    EXPECT_EQ(rig.prompts.shown[1].text, "Cube cannot be solved. Missing or wrong facelet colors!");
    EXPECT_FALSE(rig.list.at(0).searchRunning);
    EXPECT_FALSE(rig.list.at(1).searchRunning);

    rig.list.entryButton(2);
    ASSERT_TRUE(rig.waitFor([&] { return !known->searchRunning; }));
    EXPECT_TRUE(known->twoPhase->cannotImprove());
    EXPECT_EQ(known->solverText, "R'  (1f)");
    rig.list.entryButton(2);
    ASSERT_EQ(rig.prompts.shown.size(), 3u);
    EXPECT_EQ(rig.prompts.shown[2].text, "The Two-Phase-Algorithm can not find a better solution.");
    EXPECT_EQ(rig.prompts.shown[2].icon, Icon::Warning);
    EXPECT_FALSE(known->searchRunning);
}

TEST_F(ListSearch, ACentreCubeWithoutTheCentreTablesIsRefusedWithAMessage) {
    // Once a crash: only the standard tables are loaded (the centre tables were freed or never
    // made) and an entry counts its centre orientation.
    ListRig rig;
    MersenneTwister rng(91);
    AddRequest how;
    how.centersCount = true;
    auto e = rig.list.addCube(randomFaceletCube(rng), how);
    ASSERT_TRUE(e);
    ASSERT_TRUE(e->cube.centersCount);
    for (bool optimal : {false, true}) {
        rig.list.setOptimalBox(0, optimal);
        rig.prompts.shown.clear();
        rig.list.entryButton(0);
        EXPECT_FALSE(e->searchRunning);
        EXPECT_FALSE(e->twoPhase);
        EXPECT_FALSE(e->optimal);
        ASSERT_EQ(rig.prompts.shown.size(), 1u);
        EXPECT_EQ(rig.prompts.shown[0].text, "The Solver Table for center-twisted Cubes is not loaded.");
        EXPECT_EQ(rig.prompts.shown[0].caption, "Maneuver Window");
    }
    // Searches started for the selection skip it without a message.
    rig.prompts.shown.clear();
    e->selected = true;
    EXPECT_EQ(rig.list.startSearchForSelected(false, 0), 0);
    EXPECT_EQ(rig.list.startSearchForSelected(true, 0), 0);
    EXPECT_TRUE(rig.prompts.shown.empty());
    EXPECT_FALSE(e->searchRunning);
}

TEST_F(ListSearch, StopAndRestartAtOnceRunsOneSearch) {
    ListRig rig;
    MersenneTwister rng(63);
    rig.list.context().stopAt = 16;  // many runs: the restart meets runs at every stage
    auto e = rig.list.addCube(randomFaceletCube(rng), {});
    for (int i = 0; i < 15; ++i) {
        rig.list.entryButton(0);  // start
        rig.events.waitAndDrain(std::chrono::milliseconds(10 + 5 * i));
        rig.list.entryButton(0);  // stop
        EXPECT_FALSE(e->searchRunning);
    }
    // The last run ends (a search thread at the lowest priority may take a while on a busy
    // machine) and no further run starts after it.
    EXPECT_TRUE(rig.events.runUntil([&] { return e->twoPhase->endedThreads >= 1; }, std::chrono::seconds(20)));
    rig.events.runUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_FALSE(e->searchRunning);
    if (!e->solverText.empty()) {
        EXPECT_TRUE(solves(e->cube, e->solverText));
    }
}

TEST_F(ListSearch, OptimalBoxSwitchesTheKindAndPausedTimeIsKept) {
    ListRig rig;
    MersenneTwister rng(64);
    auto e = rig.list.addCube(randomFaceletCube(rng), {});
    rig.list.entryButton(0);  // two-phase
    EXPECT_TRUE(e->searchRunning);
    rig.list.setOptimalBox(0, true);  // checking stops the two-phase search
    EXPECT_FALSE(e->searchRunning);
    rig.list.entryButton(0);  // optimal now
    EXPECT_TRUE(e->searchRunning);
    ASSERT_TRUE(e->optimal);
    EXPECT_TRUE(rig.waitFor([&] { return e->optimalText.rfind("Status: Searching depth ", 0) == 0; }, 20));
    EXPECT_EQ(e->optimalLog.rfind("Pruning Table Start Values: ", 0), 0u);
    rig.list.entryButton(0);  // pause
    EXPECT_FALSE(e->searchRunning);
    EXPECT_GT(e->pauseTime, 0);
    // The stopped thread's end (on a busy machine it may take a moment) shows the status.
    EXPECT_TRUE(rig.waitFor([&] { return e->optimalText == "Status: Not running"; }, 20)) << e->optimalText;
    rig.list.entryButton(0);  // continue
    EXPECT_TRUE(e->searchRunning);
    EXPECT_GT(e->pausedTotal, 0);
    EXPECT_LT(e->pausedTotal, 1.0 / 24);  // well under an hour, in days
    EXPECT_FALSE(rig.list.setOptimalBox(0, false));  // unchecking stops the optimal search
    EXPECT_FALSE(e->searchRunning);
}

TEST_F(ListSearch, StartAndStopForSelected) {
    ListRig rig;
    MersenneTwister rng(65);
    rig.list.isoCheck = false;
    for (int length : {31, 18, 20}) {
        auto e = rig.list.addCube(randomFaceletCube(rng), {});
        e->bestLength = length;
    }
    rig.list.selectAll();
    EXPECT_EQ(rig.list.startSearchForSelected(false, 19), 2);
    EXPECT_TRUE(rig.list.at(0).searchRunning);
    EXPECT_FALSE(rig.list.at(1).searchRunning);
    EXPECT_TRUE(rig.list.at(2).searchRunning);
    EXPECT_EQ(rig.list.startSearchForSelected(false, 0), 0);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "The search for some selected cubes already is running. Action aborted.");
    EXPECT_EQ(rig.prompts.shown[0].caption, "Error");
    rig.list.stopSearchForSelected();
    for (const auto& e : rig.list.entries()) EXPECT_FALSE(e->searchRunning);

    // An optimal start for one selected short cube.
    rig.list.clear(false);
    auto shortCube = rig.list.addCube(cubeOf("F2 L D'"), {});
    shortCube->selected = true;
    EXPECT_EQ(rig.list.startSearchForSelected(true, 0), 1);
    EXPECT_TRUE(shortCube->useOptimal);
    ASSERT_TRUE(rig.waitFor([&] { return !shortCube->searchRunning; }));
    EXPECT_NE(shortCube->optimalText.find("(3f*)"), std::string::npos);
    // Proven entries are no candidates.
    EXPECT_EQ(rig.list.startSearchForSelected(false, 0), 0);
}

TEST_F(ListSearch, NoMoreThan500Searches) {
    ListRig rig;
    MersenneTwister rng(66);
    rig.list.isoCheck = false;
    for (int i = 0; i < 501; ++i) rig.list.addCube(randomFaceletCube(rng), {});
    rig.list.selectAll();
    EXPECT_EQ(rig.list.startSearchForSelected(false, 0), 0);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "You may not start more than 500 searches at the same time.");
    EXPECT_EQ(rig.prompts.shown[0].caption, "Error");
    for (const auto& e : rig.list.entries()) EXPECT_FALSE(e->searchRunning);
}

TEST_F(ListSearch, RemovingRunningSearchesDropsTheirLateMessages) {
    ListRig rig;
    MersenneTwister rng(67);
    AddRequest solve;
    solve.startSearch = true;
    std::vector<std::shared_ptr<Entry>> held;
    for (int i = 0; i < 4; ++i) held.push_back(rig.list.addCube(randomFaceletCube(rng), solve));
    auto optimal = rig.list.addCube(randomFaceletCube(rng), {});
    rig.list.setOptimalBox(4, true);
    rig.list.entryButton(4);
    held.push_back(optimal);
    for (const auto& e : held) EXPECT_TRUE(e->searchRunning);

    rig.list.removeEntry(1);
    EXPECT_TRUE(held[1]->removed);
    EXPECT_FALSE(held[1]->twoPhase);
    rig.prompts.answers = {Answer::Yes};
    EXPECT_TRUE(rig.list.clear(true));
    EXPECT_TRUE(rig.list.empty());
    std::vector<std::string> texts;
    for (const auto& e : held) {
        EXPECT_TRUE(e->removed);
        EXPECT_FALSE(e->searchRunning);
        EXPECT_FALSE(e->twoPhase);
        EXPECT_FALSE(e->optimal);
        texts.push_back(e->solverText + "|" + e->optimalText);
    }
    rig.events.runUntil([] { return false; }, std::chrono::milliseconds(200));
    for (std::size_t i = 0; i < held.size(); ++i) EXPECT_EQ(held[i]->solverText + "|" + held[i]->optimalText, texts[i]);
}

TEST_F(ListSearch, ScramblesUseTheirOwnColoursAndTarget) {
    TempFolder dir("wca");
    Settings settings(dir / "cube.ini");
    FaceletEditor editor(&settings);
    MersenneTwister rng(68);
    ListRig rig;
    rig.list.addCube(cubeOf("R"), {});
    rig.prompts.answers = {Answer::Yes};
    rig.list.wcaScramble(editor, rng);
    ASSERT_EQ(rig.prompts.shown.size(), 1u);
    EXPECT_EQ(rig.prompts.shown[0].text, "All changes to the Main Window will be discarded. Proceed?");
    EXPECT_EQ(rig.list.context().stopAt, 21);
    EXPECT_EQ(editor.scheme().colors[0], 0xFFFFFFu);
    EXPECT_EQ(editor.scheme().colors[5], 0xFF0000u);
    ASSERT_EQ(rig.list.size(), 5u);
    ASSERT_TRUE(rig.waitFor([&] {
        for (const auto& e : rig.list.entries())
            if (e->searchRunning) return false;
        return true;
    }));
    for (const auto& e : rig.list.entries()) {
        EXPECT_FALSE(e->showSolver);
        EXPECT_FALSE(e->cube.centersCount);
        EXPECT_LE(e->bestLength, 21);
        EXPECT_TRUE(solves(e->cube, e->solverText));
    }
    EXPECT_FALSE(settings.readString("Two-Phase-Algorithm", "stopAt"));
    EXPECT_FALSE(settings.readString("Color Scheme", "UColor"));
}

}  // namespace
}  // namespace tx
