// The coset explorer from the main window: the cube menu item, the window's buttons through
// a run, its memo lines, the refusal to add too many cubes, adding the cubes left and the exit
// question. The search prunes with the phase-1 table of the test tables and stops at a small
// depth, so no huge table is needed.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>

#include "list_fixture.hpp"
#include "searches/coset_text.hpp"
#include "ui/coset_window.hpp"
#include "ui_tests.hpp"

namespace tx::ui::test {

namespace {

constexpr int kSearchTimeout = 120000;

CosetOptions smallSearch(int maxDepth) {
    CosetOptions o;
    o.hugeBound = false;
    o.maxDepth = maxDepth;
    o.threads = 1;
    o.lowPriority = false;
    return o;
}

struct CosetFixture : ListWindow {
    CosetFixture() {
        tables.huge = true;  // the menu offers the explorer
    }
    TCoset* coset() const { return form->cosetForm(); }
    QAction* menuItem() const { return view().cubeMenu()->findChild<QAction*>("RunCosetExplorer"); }
    // Opens the cube menu of entry i and tells whether it offers the explorer.
    bool offered(int i) const {
        click(i, Qt::NoModifier, Qt::RightButton);
        const bool enabled = menuItem()->isEnabled() && menuItem()->isVisible();
        view().cubeMenu()->hide();
        return enabled;
    }
    void run(int i) const {
        click(i, Qt::NoModifier, Qt::RightButton);
        menuItem()->trigger();
        view().cubeMenu()->hide();
    }
    QPushButton* button(const char* name) const { return coset()->findChild<QPushButton*>(name); }
    // Start, Stop, Add Cubes, Exit enabled.
    QString buttons() const {
        QString s;
        for (const char* name : {"ButtonStart", "ButtonStop", "ButtonAddCubes", "ButtonExit"})
            s += button(name)->isEnabled() ? '1' : '0';
        return s;
    }
    std::vector<std::string> linesFrom(std::size_t first) const {
        const auto all = coset()->lines();
        return first < all.size() ? std::vector<std::string>(all.begin() + first, all.end())
                                  : std::vector<std::string>{};
    }
};

bool matches(const std::string& line, const char* pattern) {
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(QString::fromStdString(line)).hasMatch();
}

}  // namespace

void CosetWindowTest::menuItemFollowsTheHugeTableAndTheOpenWindow() {
    REQUIRE_TABLES();
    CosetFixture w;
    w.add(cubeOf("R"));
    QCOMPARE(w.menuItem()->text(), QString("Run &Coset Explorer for this Cube"));
    w.tables.huge = false;
    QVERIFY(!w.offered(0));
    w.tables.huge = true;
    QVERIFY(w.offered(0));

    w.coset()->options = smallSearch(3);
    w.run(0);
    QVERIFY(w.coset()->isVisible());
    QVERIFY(w.coset()->search());
    QVERIFY(!w.offered(0));  // one explorer at a time
    QTRY_VERIFY_WITH_TIMEOUT(w.coset()->search()->finished(), kSearchTimeout);
    QVERIFY(!w.offered(0));

    // Exit asks; No keeps everything.
    w.prompts.answers = {Answer::No};
    w.button("ButtonExit")->click();
    QCOMPARE(w.prompts.shown.back().text, std::string(kCosetExitQuestion));
    QCOMPARE(w.prompts.shown.back().caption, std::string("Maneuver Window"));
    QVERIFY(w.prompts.shown.back().icon == Icon::Warning);
    QVERIFY(w.prompts.shown.back().buttons == Buttons::YesNo);
    QVERIFY(w.coset()->isVisible() && w.coset()->search());
    QVERIFY(!w.coset()->lines().empty());
    // Yes ends the search, empties the memo, hides the window and offers the explorer again.
    w.prompts.answers = {Answer::Yes};
    w.button("ButtonExit")->click();
    QVERIFY(!w.coset()->isVisible());
    QVERIFY(!w.coset()->search());
    QVERIFY(w.coset()->info()->toPlainText().isEmpty());
    QVERIFY(w.offered(0));
}

void CosetWindowTest::aRunWritesItsLinesAndSetsTheButtons() {
    REQUIRE_TABLES();
    CosetFixture w;
    w.add(cubeOf("F U2"));  // a coset whose only symmetry is the identity
    w.coset()->options = smallSearch(4);
    w.run(0);
    // Running: only Stop.
    QCOMPARE(w.buttons(), QString("0100"));
    const auto start = w.coset()->lines();
    QCOMPARE(start.size(), std::size_t(2));
    QVERIFY2(matches(start[0], R"(Search started for Coset \d+  \d{4}-\d\d-\d\d \d\d:\d\d:\d\d \(1 symmetry\))"),
             start[0].c_str());
    QCOMPARE(start[1], std::string());

    QTRY_VERIFY_WITH_TIMEOUT(w.coset()->search()->finished(), kSearchTimeout);
    // Finished: Add Cubes and Exit.
    QCOMPARE(w.buttons(), QString("0011"));
    const CosetSearch& s = *w.coset()->search();
    const auto totals = s.depthTotals();
    std::vector<std::string> expected;
    for (int d = 1; d <= 4; ++d)
        if (totals[d] > 0) expected.push_back(cosetDepthLine(d, totals[d] - totals[d - 1]));
    QVERIFY(!expected.empty());
    expected.push_back(std::to_string(kCosetPositions - s.reachedCount()) + " Cubes with at least 5 moves left.");
    auto end = w.linesFrom(2);
    QCOMPARE(end.size(), expected.size() + 2);
    QVERIFY2(matches(end[end.size() - 2], R"(Search finished \d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"), end[end.size() - 2].c_str());
    QVERIFY2(matches(end.back(), R"(Running time \d\.\d{4} hours\.)"), end.back().c_str());
    end.resize(expected.size());
    QCOMPARE(end, expected);
    // Start and Stop do nothing now.
    w.coset()->buttonStartClick();
    w.coset()->buttonStopClick();
    QCOMPARE(w.coset()->lines().size(), expected.size() + 4);
}

void CosetWindowTest::stopReportsRefusesAndAddsTheCubesLeft() {
    REQUIRE_TABLES();
    CosetFixture w;
    w.add(cubeOf("R"));
    w.coset()->options = smallSearch(9);
    w.run(0);
    CosetSearch& s = *w.coset()->search();
    QTRY_VERIFY_WITH_TIMEOUT(s.progress().depth >= 4, kSearchTimeout);
    w.button("ButtonStop")->click();
    // The report follows once every thread has paused; the buttons wait for it.
    QTRY_COMPARE_WITH_TIMEOUT(w.buttons(), QString("1011"), kSearchTimeout);
    QVERIFY(!s.finished());
    QVERIFY(s.halted());
    auto report = w.linesFrom(2);
    QVERIFY(report.size() >= 9);
    QVERIFY2(matches(report[0], R"(Search stopped \d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"), report[0].c_str());
    QCOMPARE(report[1], std::string());
    const std::size_t n = report.size();
    QCOMPARE(report[n - 5], std::string());
    QCOMPARE(report[n - 4], std::to_string(s.positionsLeft()) + " Cubes left.");
    QVERIFY2(matches(report[n - 3], R"(Just searching [URFDLB][123] \.\.\.)"), report[n - 3].c_str());
    QVERIFY2(matches(report[n - 2], R"(\d+\.\d{4} hours running\.)"), report[n - 2].c_str());
    QCOMPARE(report[n - 1], std::string());
    // The depths done with their ratios, then the one in progress.
    QVERIFY2(matches(report[2], R"( 1f:          1    0\.00)"), report[2].c_str());
    QVERIFY2(matches(report[n - 6], R"( ?\d+f: +\d+ \(íncomplete\))"), report[n - 6].c_str());
    for (std::size_t i = 3; i < n - 6; ++i) QVERIFY2(matches(report[i], R"( ?\d+f: +\d+ +\d+\.\d\d)"), report[i].c_str());

    // More than 1000 left while paused: refused, nothing added.
    const std::size_t before = w.coset()->lines().size();
    w.button("ButtonAddCubes")->click();
    QCOMPARE(w.linesFrom(before), (std::vector<std::string>{kCosetTooManyLeft, ""}));
    QCOMPARE(w.list().size(), std::size_t(1));

    // 1000 or fewer left: added while paused, in ascending order of their positions, each
    // as the cube of the coset that the search did not reach.
    const std::vector<std::uint32_t> left{5, 77777, 123456789, kCosetPositions - 1};
    s.markAllBut(left);
    std::vector<FaceletCube> cubes;
    s.forEachCubeLeft([&](const CubieCube& c) {
        FaceletCube f;
        f.setFromCubieCube(c);
        cubes.push_back(f);
        return true;
    });
    QCOMPARE(cubes.size(), left.size());
    const bool iso = w.list().isoCheck;
    w.button("ButtonAddCubes")->click();
    QCOMPARE(w.list().size(), 1 + left.size());
    for (std::size_t k = 0; k < cubes.size(); ++k) {
        QVERIFY(w.list().at(1 + k).cube.f == cubes[k].f);
        QVERIFY(!w.list().at(1 + k).searchRunning);
    }
    QCOMPARE(w.list().isoCheck, iso);

    // Start continues to the end; then everything left can be added.
    w.button("ButtonStart")->click();
    QCOMPARE(w.buttons(), QString("0100"));
    QTRY_VERIFY_WITH_TIMEOUT(s.finished(), kSearchTimeout);
    QCOMPARE(w.buttons(), QString("0011"));
}

void CosetWindowTest::windowStaysOnTopInTheMiddleWithAFixedPitchMemo() {
    REQUIRE_TABLES();
    CosetFixture w;
    w.add(cubeOf("U"));
    w.coset()->options = smallSearch(2);
    w.run(0);
    TCoset* c = w.coset();
    QVERIFY(c->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(c->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(c->windowFlags() & Qt::WindowSystemMenuHint));
    const QFontMetrics metrics(c->info()->font());  // a fixed pitch: every letter as wide as any other
    QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('M'));
    QCOMPARE(metrics.horizontalAdvance(' '), metrics.horizontalAdvance('8'));
    QCOMPARE(c->info()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(c->info()->isReadOnly());
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY((c->frameGeometry().center() - middle).manhattanLength() < 40);
    // Escape does not close it; only Exit does.
    QTRY_VERIFY_WITH_TIMEOUT(c->search()->finished(), kSearchTimeout);
    QTest::keyClick(c, Qt::Key_Escape);
    QVERIFY(c->isVisible());
}

}  // namespace tx::ui::test
