// The status bar's progress with Cancel for saving a long workspace and adding many random
// cubes: Cancel stops the work, a cancelled save writes nothing and leaves the list unsaved.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <filesystem>
#include <functional>

#include "ui/desktop_actions.hpp"
#include "ui/list_fixture.hpp"
#include "ui/list_progress.hpp"

namespace tx::ui::test {
namespace {

// While `run` works, the first pump that finds Cancel shown records the label and, when
// `press` is set, clicks Cancel. Answers the label seen (empty when Cancel never showed).
QString watchProgress(ListWindow& w, bool press, const std::function<void()>& run) {
    ListProgress& progress = w.form->desktop()->listProgress();
    QString seen;
    const auto pump = w.list().hooks.pump;
    w.list().hooks.pump = [&] {
        if (seen.isEmpty() && progress.cancelButton()->isVisible()) {
            seen = progress.label()->text();
            EXPECT_TRUE(progress.bar()->isVisible());
            if (press) QTest::mouseClick(progress.cancelButton(), Qt::LeftButton);
        }
        pump();
    };
    run();
    w.list().hooks.pump = pump;
    EXPECT_FALSE(progress.cancelButton()->isVisible()) << "Cancel outlived the operation";
    return seen;
}

int lineCount(const std::filesystem::path& file) {
    const std::string text = testing::readFile(file);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Progress, savingALongListCanBeCancelledWithoutWritingAnything) {
    ListWindow w;
    w.addScrambles(2500, 10);
    const std::filesystem::path file = w.folder.path() / "long.txt";
    w.form->chooseSaveFile = [&](const QString&) { return QString::fromStdString(file.string()); };

    const QString label = watchProgress(w, true, [&] { w.item("SaveWorkspace1")->trigger(); });
    EXPECT_TRUE(label.startsWith("saving cube 1000")) << label.toStdString();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(w.list().modified);
    EXPECT_TRUE(w.form->windowTitle().startsWith('*'));

    // Not cancelled: every entry is written and the list counts as saved.
    EXPECT_FALSE(watchProgress(w, false, [&] { w.item("SaveWorkspace1")->trigger(); }).isEmpty());
    EXPECT_EQ(lineCount(file), 2500);
    EXPECT_FALSE(w.list().modified);
    EXPECT_EQ(w.form->windowTitle(), QString("long.txt - Tesserix 5.00s"));
}

TEST(Progress, anEntryChangedWhileSavingKeepsTheListUnsaved) {
    ListWindow w;
    w.addScrambles(2500, 10);
    const std::filesystem::path file = w.folder.path() / "long.txt";
    w.form->chooseSaveFile = [&](const QString&) { return QString::fromStdString(file.string()); };
    const auto pump = w.list().hooks.pump;
    bool renamed = false;
    w.list().hooks.pump = [&] {
        if (!renamed) w.list().setPatternName(0, "renamed while saving");  // as typed during the save
        renamed = true;
        pump();
    };
    w.item("SaveWorkspace1")->trigger();
    w.list().hooks.pump = pump;
    ASSERT_TRUE(renamed);
    EXPECT_EQ(lineCount(file), 2500);
    EXPECT_TRUE(w.list().modified);
}

TEST(Progress, addingRandomCubesShowsProgressAndStopsAtCancel) {
    ListWindow w;
    w.prompts.inputs = {std::string("20000")};
    const QString label = watchProgress(w, true, [&] { w.item("AddRandomCubes1")->trigger(); });
    EXPECT_EQ(label, QString("Adding random cubes, press ESC to cancel..."));
    // Cancelled at the first pump: the cubes added so far stay, the rest were not made.
    EXPECT_GE(w.list().size(), 1000u);
    EXPECT_LT(w.list().size(), 20000u);
    EXPECT_EQ(w.form->windowTitle(), QString("*untitled.txt - Tesserix 5.00s"));
}

}  // namespace
}  // namespace tx::ui::test
