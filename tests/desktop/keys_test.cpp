// The usual keys and File items beside the window's own: New, Open, Save, Save As, recent
// files, Select All, moving in the list, the title mark, and where the file dialogs start.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMenu>
#include <QStandardPaths>

#include "support/temp_folder.hpp"
#include "ui/desktop_actions.hpp"
#include "ui/list_fixture.hpp"
#include "ui/recent_files.hpp"
#include "workspace/settings.hpp"

namespace tx::ui::test {
namespace {

void activate(ListWindow& w) {
    w.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
}

TEST(Keys, fileItemsCarryTheUsualShortcuts) {
    ListWindow w;
    EXPECT_EQ(w.item("NewWorkspace")->shortcut(), QKeySequence(QKeySequence::New));
    EXPECT_EQ(w.item("LoadWorkspace1")->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(w.item("SaveWorkspaceNow")->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(w.item("SaveWorkspace1")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    EXPECT_EQ(w.item("SelectAllCubes")->shortcut(), QKeySequence(QKeySequence::SelectAll));
    EXPECT_EQ(w.item("HelpContents")->shortcut(), QKeySequence(QKeySequence::HelpContents));
    // The window's own items keep their captions.
    EXPECT_EQ(w.item("LoadWorkspace1")->text(), QString("&Load Workspace..."));
    EXPECT_EQ(w.item("SaveWorkspace1")->text(), QString("&Save Workspace..."));
}

TEST(Keys, ctrlSSavesIntoTheCurrentFileAndAsksOnlyWithoutOne) {
    ListWindow w;
    w.addScrambles(2);
    const auto file = w.folder.path() / "mine.txt";
    int asked = 0;
    w.form->chooseSaveFile = [&](const QString&) {
        ++asked;
        return QString::fromStdString(file.string());
    };
    activate(w);
    w.flush();
    EXPECT_EQ(w.form->windowTitle(), QString("*untitled.txt - Tesserix 5.00s"));
    QTest::keyClick(w.form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);  // untitled: Save asks where
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(w.list().modified);
    EXPECT_EQ(w.form->windowTitle(), QString("mine.txt - Tesserix 5.00s"));

    w.add(cubeOf("R U"), "third");
    w.flush();
    EXPECT_EQ(w.form->windowTitle(), QString("*mine.txt - Tesserix 5.00s"));
    QTest::keyClick(w.form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);  // the current file, without the dialog
    EXPECT_NE(testing::readFile(file).find("//third"), std::string::npos);
    EXPECT_EQ(w.form->windowTitle(), QString("mine.txt - Tesserix 5.00s"));

    QTest::keyClick(w.form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(asked, 2);  // Save As always asks
}

TEST(Keys, ctrlNClearsWithTheQuestionAndStartsUntitled) {
    ListWindow w;
    w.addScrambles(3);
    w.list().workspaceFile = (w.folder.path() / "old.txt").string();
    activate(w);
    w.prompts.answers = {Answer::No};
    QTest::keyClick(w.form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(w.list().size(), 3u);
    EXPECT_EQ(w.prompts.texts().back(), "All changes to the Main Window will be discarded. Proceed?");
    w.prompts.answers = {Answer::Yes};
    QTest::keyClick(w.form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(w.list().empty());
    EXPECT_EQ(w.list().workspaceFile, "untitled.txt");
    EXPECT_EQ(w.form->windowTitle(), QString("untitled.txt - Tesserix 5.00s"));
    EXPECT_TRUE(w.item("UndoRemoval")->isEnabled());  // New is a Clear: it can be taken back
}

TEST(Keys, recentFilesAreOfferedOpenedAndKeptInCubeIni) {
    ListWindow w;
    w.addScrambles(2);
    const auto a = w.folder.path() / "a.txt";
    const auto b = w.folder.path() / "b.txt";
    w.form->chooseSaveFile = [&](const QString&) { return QString::fromStdString(a.string()); };
    w.item("SaveWorkspace1")->trigger();
    w.form->chooseSaveFile = [&](const QString&) { return QString::fromStdString(b.string()); };
    w.item("SaveWorkspace1")->trigger();
    RecentFiles& recent = w.form->desktop()->recentFiles();
    ASSERT_EQ(recent.files().size(), 2);
    EXPECT_TRUE(recent.files()[0].endsWith("b.txt"));

    QMenu* menu = w.form->findChild<QMenu*>("RecentFiles");
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    auto* first = menu->findChild<QAction*>("RecentFile2");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->text().endsWith("a.txt"));

    // Opening a recent file loads it without a dialog and moves it to the top.
    w.form->chooseLoadFile = [](const QString&) -> QString { ADD_FAILURE() << "no dialog expected"; return {}; };
    w.list().shutdown();
    w.list().modified = false;
    first->trigger();
    EXPECT_EQ(w.list().size(), 2u);
    EXPECT_FALSE(w.list().modified);  // just as read: no mark, nothing to save
    EXPECT_EQ(w.form->windowTitle(), QString("a.txt - Tesserix 5.00s"));
    EXPECT_TRUE(recent.files()[0].endsWith("a.txt"));

    // A second session reads them back; a file that has gone is dropped when the menu opens.
    std::filesystem::remove(b);
    Settings again(w.folder.path() / "cube.ini");
    RecentFiles next(again);
    ASSERT_EQ(next.files().size(), 2);
    QMenu nextMenu;
    next.attachMenu(&nextMenu);
    EXPECT_EQ(next.files().size(), 1);
    EXPECT_EQ(next.lastFolder(), QString::fromStdString(w.folder.path().string()));
}

TEST(Keys, fileDialogsStartInTheDocumentsFolderThenTheLastOne) {
    ListWindow w;
    auto first = w.form->createWorkspaceDialog(false, "untitled.txt");
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (QDir(documents).exists())
        EXPECT_EQ(QDir(first->directory()).absolutePath(), QDir(documents).absolutePath());
    else
        EXPECT_EQ(QDir(first->directory()).absolutePath(), QDir::homePath());
    w.form->desktop()->fileUsed(QString::fromStdString((w.folder.path() / "x.txt").string()));
    auto later = w.form->createWorkspaceDialog(true, "untitled.txt");
    EXPECT_EQ(QDir(later->directory()).absolutePath(), QString::fromStdString(w.folder.path().string()));
}

TEST(Keys, selectAllAndMovingInTheList) {
    ListWindow w({1100, 700});
    w.addScrambles(30);
    w.flush();
    activate(w);
    QTest::keyClick(w.form.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.selected().size(), 30u);
    EXPECT_TRUE(w.item("DeleteselectedCubes1")->isEnabled());

    w.view().setFocus();
    QTest::keyClick(&w.view(), Qt::Key_End);
    EXPECT_EQ(w.selected(), std::vector<int>{29});
    EXPECT_NE(w.row(29), nullptr);  // scrolled into view
    QTest::keyClick(&w.view(), Qt::Key_Home);
    EXPECT_EQ(w.selected(), std::vector<int>{0});
    EXPECT_EQ(w.view().scrollY(), 0);
    const int page = w.viewport()->height() / w.view().rowHeight();
    QTest::keyClick(&w.view(), Qt::Key_PageDown);
    EXPECT_EQ(w.selected(), std::vector<int>{page});
    QTest::keyClick(&w.view(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(w.selected(), (std::vector<int>{page, page + 1}));
    QTest::keyClick(&w.view(), Qt::Key_PageUp);
    EXPECT_EQ(w.selected(), std::vector<int>{std::max(0, page + 1 - page)});
    QTest::keyClick(&w.view(), Qt::Key_Up);
    QTest::keyClick(&w.view(), Qt::Key_Up);
    EXPECT_EQ(w.selected(), std::vector<int>{0});  // stops at the first
}

}  // namespace
}  // namespace tx::ui::test
