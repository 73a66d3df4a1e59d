// Cancelling table builds from the status bar: the Cancel button stands beside the table
// progress, it and Escape make the window's progress report a cancel, and a cancelled start
// leaves the window usable with a button that loads the tables again.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "ui/desktop_actions.hpp"
#include "ui/list_fixture.hpp"
#include "ui/list_progress.hpp"

namespace tx::ui::test {
namespace {

namespace fs = std::filesystem;

QPushButton* cancelButton(const WindowFixture& w) { return w.form->desktop()->listProgress().cancelButton(); }
QProgressBar* tableBar(const WindowFixture& w) { return w.find<QProgressBar>("ProgressBar"); }

TEST(TableCancel, theStatusBarCancelAndEscapeReachTheTableProgress) {
    WindowFixture w;
    w.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
    w.tables.centerResult = false;  // the fake build ends as a cancelled one does
    Progress& progress = w.form->progress();
    int builds = 0;
    bool useEscape = false;
    w.tables.during = [&] {
        ++builds;
        progress.setVisible(true);
        QCoreApplication::processEvents();
        EXPECT_TRUE(cancelButton(w)->isVisible());
        EXPECT_TRUE(tableBar(w)->isVisible());
        EXPECT_FALSE(progress.cancelRequested()) << "a cancel from before the build was kept";
        if (useEscape)
            QTest::keyClick(w.form.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(cancelButton(w), Qt::LeftButton);
        EXPECT_TRUE(progress.cancelRequested());
        progress.setVisible(false);
    };
    EXPECT_FALSE(cancelButton(w)->isVisible());
    for (bool escape : {false, true}) {
        useEscape = escape;
        w.prompts.answers = {Answer::Yes};  // build the centre tables
        w.item("FixCenterFacelets")->trigger();
        EXPECT_FALSE(cancelButton(w)->isVisible());
        EXPECT_FALSE(tableBar(w)->isVisible());
        EXPECT_FALSE(w.item("FixCenterFacelets")->isChecked());
        EXPECT_FALSE(w.form->busy());
        EXPECT_TRUE(w.addButtonsEnabled());
    }
    EXPECT_EQ(builds, 2);
}

// The real loader on a folder without the corner table: Cancel while it is generated stops
// the start, the window stays open without tables and with nothing half-written; Load Tables
// starts again and builds the table.
TEST(TableCancel, aCancelledStartKeepsTheWindowAndLoadTablesBuildsAfterwards) {
    const fs::path shared = testing::testDataFolder();
    if (!fs::exists(shared / "phase2P.prun")) GTEST_SKIP() << "no shared test tables";
    TempFolder folder;
    for (const char* name : {"RawFlipSlice", "flipUDslicex.move", "phase1PF.prun", "phase2P.prun", "fullCornerFs.prun"})
        fs::create_symlink(shared / name, folder.path() / name);
    ScriptedPrompts prompts;
    prompts.defaultAnswer = Answer::No;
    TForm1 form({folder.path(), &prompts, false, ""});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ListProgress& listProgress = form.desktop()->listProgress();
    auto* label = form.findChild<QLabel*>("ProgressLabel");
    bool pressed = false;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (pressed || !label->text().startsWith("Creating fullCornerF.prun")) return;
        pressed = true;
        EXPECT_TRUE(listProgress.cancelButton()->isVisible());
        QTest::mouseClick(listProgress.cancelButton(), Qt::LeftButton);
    });
    watch.start();
    form.runStartUp();
    watch.stop();
    ASSERT_TRUE(pressed) << "the build showed no progress";
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.tablesReady());
    EXPECT_FALSE(form.busy());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(form.findChild<QProgressBar*>("ProgressBar")->isVisible());
    EXPECT_FALSE(listProgress.cancelButton()->isVisible());
    EXPECT_TRUE(listProgress.loadTablesButton()->isVisible());
    for (const auto& e : fs::directory_iterator(folder.path()))
        EXPECT_TRUE(e.is_symlink() || e.path().filename() == "cube.ini") << e.path().filename();
    // The list and the editor stay usable.
    FaceletCube cube;
    applyManeuver(cube, "R U");
    form.editor().cube() = cube;
    QTest::mouseClick(form.findChild<QPushButton*>("ButtonAddGen"), Qt::LeftButton);
    EXPECT_EQ(form.list().size(), 1u);

    QTest::mouseClick(listProgress.loadTablesButton(), Qt::LeftButton);
    EXPECT_TRUE(form.tablesReady());
    EXPECT_FALSE(listProgress.loadTablesButton()->isVisible());
    EXPECT_EQ(fs::file_size(folder.path() / "fullCornerF.prun"), 1513408u);
}

}  // namespace
}  // namespace tx::ui::test
