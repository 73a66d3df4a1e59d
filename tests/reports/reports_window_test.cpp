// The main window's statistics window, autorun items, timer and label, autorun setup, the
// web pages it saves and the enabling of the File menu.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "support/temp_folder.hpp"
#include "ui/list_fixture.hpp"
#include "ui/list_reports.hpp"
#include "ui/optimal_batch.hpp"
#include "ui/stats_form.hpp"
#include "workspace/autorun.hpp"
#include "workspace/html_page.hpp"
#include "workspace/modern_page.hpp"
#include "workspace/settings.hpp"
#include "workspace/statistics.hpp"

namespace tx::ui::test {
namespace {

QStringList itemNames(QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) names << a->objectName();
    return names;
}

struct ReportsWindow : ListWindow {
    ReportsWindow() {
        // Autorun counts only the searches of this list, not the threads of the test process.
        reports().autorun().threadCount = [this] {
            int n = 1;
            for (const auto& e : list().entries()) n += e->searchRunning ? 1 : 0;
            return n;
        };
    }
    ~ReportsWindow() {
        for (const auto& e : list().entries()) list().stopEntrySearch(*e);
    }
    ListReports& reports() const { return *form->reports(); }
    int running() const {
        int n = 0;
        for (const auto& e : list().entries()) n += e->searchRunning ? 1 : 0;
        return n;
    }
    void addRandom(int n, std::uint32_t seed) {
        MersenneTwister rng(seed);
        for (int i = 0; i < n; ++i) add(randomFaceletCube(rng));
    }
    static FaceletCube randomFaceletCube(MersenneTwister& rng) {
        FaceletCube c;
        randomCube(c, rng);
        return c;
    }
};

TEST(ReportsWindow, MenusHoldTheNewItems) {
    ReportsWindow w;
    EXPECT_EQ(itemNames(w.form->fileMenu()),
              QStringList({"NewWorkspace", "LoadWorkspace1", "SaveWorkspaceNow", "SaveWorkspace1", "RecentFilesItem",
                           "SaveasHtml1", "SaveasModernHtml1", "PrintMainWindow", "PrintSelectedCubes", "PrinterSetup1",
                           "Exit1"}));
    EXPECT_EQ(itemNames(w.form->cubesMenu()).last(), "GenerateStatistics1");
    auto* autorun = w.form->findChild<QMenu*>("Autorun1");
    ASSERT_TRUE(autorun);
    EXPECT_EQ(itemNames(autorun), QStringList({"StartAutomodusforOptimalSolver1", "StartAutorunforTFS", "MaximumNumber1"}));
    EXPECT_EQ(w.item("SaveasModernHtml1")->text(), QString::fromUtf8("Save as Web Page (modern)\u2026"));
    EXPECT_EQ(w.item("StartAutomodusforOptimalSolver1")->text(), "Sta&rt Autorun for Optimal Solver");
    EXPECT_EQ(w.item("StartAutorunforTFS")->text(), "St&art Autorun for Two-Phase-Solver");
}

TEST(ReportsWindow, FileItemsFollowTheList) {
    ReportsWindow w;
    QMenu* file = w.form->fileMenu();
    const char* listItems[] = {"PrintMainWindow", "SaveWorkspace1", "SaveasHtml1", "SaveasModernHtml1"};
    emit file->aboutToShow();
    for (const char* name : listItems) EXPECT_FALSE(w.item(name)->isEnabled()) << name;
    EXPECT_FALSE(w.item("PrintSelectedCubes")->isEnabled());
    EXPECT_TRUE(w.item("PrinterSetup1")->isEnabled());
    w.add(cubeOf("R U"), "one", "U' R'  (2f)");
    emit file->aboutToShow();
    for (const char* name : listItems) EXPECT_TRUE(w.item(name)->isEnabled()) << name;
    EXPECT_FALSE(w.item("PrintSelectedCubes")->isEnabled());
    w.click(0);
    emit file->aboutToShow();
    EXPECT_TRUE(w.item("PrintSelectedCubes")->isEnabled());
}

TEST(ReportsWindow, StatisticsWindowShowsTheLinesOnTop) {
    ReportsWindow w;
    w.addScrambles(3, 12);
    w.add(FaceletCube(), "solved");
    w.item("GenerateStatistics1")->trigger();
    TStats* stats = w.reports().stats();
    ASSERT_TRUE(stats->isVisible());
    EXPECT_EQ(stats->objectName(), "Stats");
    EXPECT_TRUE(stats->windowFlags() & Qt::WindowStaysOnTopHint);
    const auto lines = statisticsLines(countStatistics(w.list().entries()), 'f');
    EXPECT_TRUE(stats->text().startsWith("Number of Cubes: 4\nCubes not solved yet: 1\n"));
    QStringList expected;
    for (const auto& l : lines) expected << QString::fromStdString(l);
    EXPECT_EQ(stats->text(), expected.join('\n'));
    EXPECT_TRUE(stats->text().contains("12f:      3"));
    // A snapshot: the window keeps its text when the list changes, and is emptied on the next run.
    w.list().clear(false);
    EXPECT_EQ(stats->text(), expected.join('\n'));
    w.item("GenerateStatistics1")->trigger();
    EXPECT_TRUE(stats->text().startsWith("Number of Cubes: 0\n"));
}

TEST(ReportsWindow, OptimalAutorunCaptionTimerLabelAndExclusion) {
    ASSERT_TRUE(loadSharedTables());
    ReportsWindow w;
    w.addRandom(3, 21);
    w.click(1);
    QAction* optimal = w.item("StartAutomodusforOptimalSolver1");
    QAction* twoPhase = w.item("StartAutorunforTFS");
    auto* label = w.form->findChild<QLabel*>("AutoRunIdx");
    ASSERT_TRUE(label);
    EXPECT_FALSE(label->isVisible());

    optimal->trigger();
    EXPECT_EQ(optimal->text(), "Stop Autorun for Optimal Solver");
    EXPECT_FALSE(twoPhase->isEnabled());
    EXPECT_TRUE(w.reports().autorunTimer().isActive());
    EXPECT_EQ(w.reports().autorunTimer().interval(), kOptimalAutorunInterval);
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), "Autorun Cube: 2");
    EXPECT_TRUE(w.list().at(1).searchRunning);
    // A tick starts the next entry.
    w.reports().autorunStep();
    EXPECT_EQ(label->text(), "Autorun Cube: 3");
    EXPECT_EQ(w.running(), 2);

    optimal->trigger();
    EXPECT_EQ(optimal->text(), "Sta&rt Autorun for Optimal Solver");
    EXPECT_TRUE(twoPhase->isEnabled());
    EXPECT_FALSE(w.reports().autorunTimer().isActive());
    EXPECT_FALSE(label->isVisible());
    EXPECT_EQ(w.reports().autorun().position(), 0);
    EXPECT_EQ(w.running(), 2);  // the searches go on
}

TEST(ReportsWindow, TwoPhaseAutorunUsesAutoTime) {
    ASSERT_TRUE(loadSharedTables());
    ReportsWindow w;
    w.addRandom(2, 22);
    QAction* optimal = w.item("StartAutomodusforOptimalSolver1");
    QAction* twoPhase = w.item("StartAutorunforTFS");
    twoPhase->trigger();
    EXPECT_EQ(twoPhase->text(), "St&op Autorun for Two-Phase-Solver");
    EXPECT_FALSE(optimal->isEnabled());
    EXPECT_EQ(w.reports().autorunTimer().interval(), w.form->autorunInterval());
    EXPECT_EQ(w.form->autorunInterval(), 10);
    EXPECT_EQ(w.reports().autorun().mode(), AutorunMode::TwoPhase);
    EXPECT_FALSE(w.list().at(0).useOptimal);
    // The timer itself works through the list.
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.list().at(1).searchRunning || w.list().at(1).bestLength <= 20; }, 60000));
    twoPhase->trigger();
    EXPECT_EQ(twoPhase->text(), "St&art Autorun for Two-Phase-Solver");
    EXPECT_TRUE(optimal->isEnabled());
    EXPECT_EQ(w.reports().autorun().position(), -1);
}

TEST(ReportsWindow, AutorunWaitsWhileTheTablesLoad) {
    WindowFixture w(false);  // tables not there yet
    emit w.form->findChild<QMenu*>("Autorun1")->aboutToShow();
    EXPECT_FALSE(w.item("StartAutomodusforOptimalSolver1")->isEnabled());
    EXPECT_FALSE(w.item("StartAutorunforTFS")->isEnabled());
    w.item("StartAutomodusforOptimalSolver1")->trigger();
    EXPECT_FALSE(w.form->reports()->autorun().on());
}

TEST(ReportsWindow, AutorunSetupWritesAndReadsNThreads) {
    ReportsWindow w;
    TOptimalBatch* batch = w.reports().optimalBatch();
    EXPECT_EQ(batch->maxThreads(), 8);
    EXPECT_TRUE(batch->findChild<QRadioButton*>("RBThreads8")->isChecked());
    w.item("MaximumNumber1")->trigger();
    EXPECT_TRUE(batch->isVisible());
    batch->findChild<QRadioButton*>("RBThreads16")->click();
    EXPECT_EQ(w.reports().autorun().maxThreads, 16);
    EXPECT_EQ(Settings(w.folder / "cube.ini").readInt("Autorun", "nThreads", 0), 16);
    batch->findChild<QPushButton*>("OKButton")->click();
    EXPECT_FALSE(batch->isVisible());

    // A new window reads the value back.
    FakeTables tables;
    TForm1 again(TForm1::Options{w.folder.path(), &w.prompts, false, "", &tables});
    EXPECT_EQ(again.reports()->optimalBatch()->maxThreads(), 16);
    EXPECT_TRUE(again.reports()->optimalBatch()->findChild<QRadioButton*>("RBThreads16")->isChecked());
    EXPECT_EQ(again.reports()->autorun().maxThreads, 16);
}

TEST(ReportsWindow, SavesBothPagesAndTellsWhenItCannot) {
    ReportsWindow w;
    w.add(cubeOf("R U"), "first <one>", "U' R'  (2f)");
    w.add(cubeOf("F"), "pattern");
    w.list().at(1).solverText.clear();
    QString asked;
    bool askedModern = true;
    const auto target = w.folder / "cubes.page.htm";
    w.reports().chooseHtmlFile = [&](bool modern, const QString& suggested) {
        asked = suggested;
        askedModern = modern;
        return QString::fromStdString(target.string());
    };
    w.item("SaveasHtml1")->trigger();
    EXPECT_FALSE(askedModern);
    EXPECT_TRUE(asked.endsWith("untitled.htm"));
    EXPECT_EQ(testing::readFile(target), htmlPage(w.list().entries(), "cubes", w.form->editor().scheme()));

    w.item("SaveasModernHtml1")->trigger();
    EXPECT_TRUE(askedModern);
    EXPECT_EQ(testing::readFile(target), modernHtmlPage(w.list().entries(), "cubes", w.form->editor().scheme()));

    // A folder that does not exist: the user hears why, nothing is written.
    const auto nowhere = w.folder / "missing" / "page.htm";
    w.reports().chooseHtmlFile = [&](bool, const QString&) { return QString::fromStdString(nowhere.string()); };
    w.prompts.shown.clear();
    w.item("SaveasHtml1")->trigger();
    ASSERT_EQ(w.prompts.shown.size(), 1u);
    EXPECT_EQ(w.prompts.shown[0].caption, "Error");
    EXPECT_TRUE(w.prompts.shown[0].text.starts_with("The web page could not be saved: ")) << w.prompts.shown[0].text;
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    // A cancelled dialog writes nothing and says nothing.
    w.reports().chooseHtmlFile = [&](bool, const QString&) { return QString(); };
    w.prompts.shown.clear();
    w.item("SaveasModernHtml1")->trigger();
    EXPECT_TRUE(w.prompts.shown.empty());
}

// Pictures of the statistics window and of the list with optimal autorun on, for looking at them.
TEST(ReportsWindow, Screenshot) {
    const QString dir = qEnvironmentVariable("TESSERIX_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "TESSERIX_SCREENSHOT_DIR is not set";
    ASSERT_TRUE(loadSharedTables());
    ReportsWindow w;
    w.addScrambles(3, 12);
    w.addRandom(3, 21);
    w.add(FaceletCube(), "solved");
    w.item("GenerateStatistics1")->trigger();
    TStats* stats = w.reports().stats();
    EXPECT_TRUE(stats->grab().save(dir + "/stats.png"));
    w.click(3);
    w.item("StartAutomodusforOptimalSolver1")->trigger();
    QTest::qWait(2000);
    EXPECT_TRUE(w.form->grab().save(dir + "/autorun.png"));
    w.item("StartAutomodusforOptimalSolver1")->trigger();
}

}  // namespace
}  // namespace tx::ui::test
