// Undo of Delete and Clear: the removed entries come back at their places with their texts,
// names and flags, through Ctrl+Z and the Edit menu.
#include <gtest/gtest.h>

#include "ui/desktop_actions.hpp"
#include "ui/list_fixture.hpp"

namespace tx::ui::test {
namespace {

struct Snapshot {
    std::string name, solver, optimal;
    bool useOptimal = false, showSolver = true;
    std::array<std::uint8_t, kFacelets> facelets{};
    bool operator==(const Snapshot&) const = default;
};

std::vector<Snapshot> snapshot(const CubeList& list) {
    std::vector<Snapshot> out;
    for (const auto& e : list.entries())
        out.push_back({e->patternName, e->solverText, e->optimalText, e->useOptimal, e->showSolver, e->cube.f});
    return out;
}

// Five named entries with maneuvers; the third shows its generator and uses the optimal box.
void fill(ListWindow& w) {
    w.addScrambles(5);
    for (int i = 0; i < 5; ++i) w.list().at(i).patternName = "cube " + std::to_string(i + 1);
    w.list().at(2).showSolver = false;
    w.list().at(2).useOptimal = true;
    w.flush();
}

void pressUndo(ListWindow& w) {
    w.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
    QTest::keyClick(w.form.get(), Qt::Key_Z, Qt::ControlModifier);
    w.flush();
}

TEST(Undo, deleteKeyIsTakenBackInPlace) {
    ListWindow w;
    fill(w);
    const auto before = snapshot(w.list());
    QAction* undo = w.item("UndoRemoval");
    EXPECT_FALSE(undo->isEnabled());

    w.view().setFocus();
    w.click(1);
    w.click(2, Qt::ControlModifier);
    w.click(4, Qt::ControlModifier);
    QTest::keyClick(&w.view(), Qt::Key_Delete);
    ASSERT_EQ(w.list().size(), 2u);
    EXPECT_EQ(w.list().at(1).patternName, "cube 4");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->shortcut(), QKeySequence(QKeySequence::Undo));

    pressUndo(w);
    EXPECT_EQ(snapshot(w.list()), before);
    EXPECT_EQ(w.selected(), (std::vector<int>{1, 2, 4}));  // what came back is selected
    EXPECT_FALSE(undo->isEnabled());                      // one removal, one undo
    EXPECT_TRUE(w.list().modified);
    // The rows show the restored entries again.
    ASSERT_NE(w.row(2), nullptr);
    EXPECT_EQ(w.row(2)->nameField()->text(), QString("cube 3"));
    EXPECT_EQ(w.row(2)->captionButton()->text(), QString("Generator:"));
}

TEST(Undo, entriesAddedSinceTheDeleteStayAndTheRemovedGoBackToTheirPlaces) {
    ListWindow w;
    fill(w);
    w.click(0);
    w.item("DeleteselectedCubes1")->trigger();
    w.add(cubeOf("R U"), "added later");
    w.item("UndoRemoval")->trigger();
    ASSERT_EQ(w.list().size(), 6u);
    EXPECT_EQ(w.list().at(0).patternName, "cube 1");
    EXPECT_EQ(w.list().at(5).patternName, "added later");
}

TEST(Undo, clearIsTakenBackWithOrderAndManeuvers) {
    ListWindow w;
    fill(w);
    const auto before = snapshot(w.list());
    w.prompts.answers = {Answer::Yes};  // "All changes ... will be discarded. Proceed?"
    ASSERT_TRUE(w.clearOffered());  // the menu's rules enable the item as it opens
    w.item("ClearMainWindow1")->trigger();
    ASSERT_TRUE(w.list().empty());
    EXPECT_EQ(w.prompts.texts().back(), "All changes to the Main Window will be discarded. Proceed?");

    pressUndo(w);
    EXPECT_EQ(snapshot(w.list()), before);
    EXPECT_TRUE(w.list().modified);  // it was unsaved before the Clear
    EXPECT_EQ(w.form->windowTitle(), QString("*untitled.txt - Tesserix 5.00s"));
}

TEST(Undo, removeCubeOfTheCubeMenuIsTakenBackInPlace) {
    ListWindow w;
    fill(w);
    const auto before = snapshot(w.list());
    w.click(0);  // a selection elsewhere is not what Remove Cube takes
    w.view().openCubeMenu(2, QPoint(10, 10));
    QAction* remove = w.view().cubeMenu()->findChild<QAction*>("RemoveCube1");
    ASSERT_NE(remove, nullptr);
    remove->trigger();
    w.view().cubeMenu()->hide();
    ASSERT_EQ(w.list().size(), 4u);
    EXPECT_EQ(w.list().at(2).patternName, "cube 4");
    QAction* undo = w.item("UndoRemoval");
    emit w.form->findChild<QMenu*>("Edit1")->aboutToShow();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QString("&Undo Remove (1 cube)"));

    pressUndo(w);
    EXPECT_EQ(snapshot(w.list()), before);
    EXPECT_EQ(w.selected(), (std::vector<int>{2}));
    EXPECT_FALSE(undo->isEnabled());
}

TEST(Undo, declinedClearKeepsTheEarlierDeleteUndoable) {
    ListWindow w;
    fill(w);
    w.click(3);
    w.item("DeleteselectedCubes1")->trigger();
    w.prompts.answers = {Answer::No};
    ASSERT_TRUE(w.clearOffered());
    w.item("ClearMainWindow2")->trigger();
    ASSERT_EQ(w.list().size(), 4u);
    EXPECT_EQ(w.form->desktop()->undo().what(), "Delete");
    w.item("UndoRemoval")->trigger();
    ASSERT_EQ(w.list().size(), 5u);
    EXPECT_EQ(w.list().at(3).patternName, "cube 4");
}

TEST(Undo, clearOfASavedListComesBackUnmodified) {
    ListWindow w;
    fill(w);
    w.list().modified = false;  // as after a save: Clear asks nothing
    ASSERT_TRUE(w.clearOffered());  // the menu's rules enable the item as it opens
    w.item("ClearMainWindow1")->trigger();
    ASSERT_TRUE(w.list().empty());
    EXPECT_TRUE(w.prompts.shown.empty());
    w.item("UndoRemoval")->trigger();
    EXPECT_EQ(w.list().size(), 5u);
    EXPECT_FALSE(w.list().modified);
}

}  // namespace
}  // namespace tx::ui::test
