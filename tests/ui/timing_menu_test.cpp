// The timing test from the Options menu: the blink timer adds and solves random cubes while
// the item is checked; unchecking it stops the timer and tells what was measured.
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>

#include "list_fixture.hpp"
#include "ui_tests.hpp"

namespace tx::ui::test {

void ListSearchTest::timingTestRunsFromTheOptionsMenu() {
    REQUIRE_TABLES();
    ListWindow w;
    QAction* item = w.item("TimingTest1");
    QVERIFY(item);
    QVERIFY(item->isCheckable());
    QVERIFY(!item->shortcut().isEmpty());
    QCOMPARE(w.form->blinkTimer()->interval(), 100);

    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(w.form->blinkTimer()->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(w.list().size() >= 3, 60000);
    for (std::size_t i = 0; i + 1 < w.list().size(); ++i)
        QVERIFY2(w.list().at(i).solverText.size() > 3, "a cube is added only after the last one has its maneuver");

    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!w.form->blinkTimer()->isActive());
    QVERIFY(!w.prompts.shown.empty());
    const QString text = QString::fromStdString(w.prompts.shown.back().text);
    QVERIFY2(QRegularExpression("^MaxTime\\(ms\\): \\d+ Nr\\.: \\d+$").match(text).hasMatch(), qPrintable(text));
    QCOMPARE(w.prompts.shown.back().caption, std::string("Timing Test"));
    const std::size_t size = w.list().size();
    QTest::qWait(400);
    QCOMPARE(w.list().size(), size);
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const auto& e : w.list().entries())
                if (e->searchRunning) return false;
            return true;
        }(),
        120000);
}

}  // namespace tx::ui::test
