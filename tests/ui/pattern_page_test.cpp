// The pattern editor page: palette, cells, face boxes and their three-state "All" boxes,
// and pattern searches started, ended and stopped from the page.
#include <QCheckBox>
#include <QGroupBox>
#include <QTabWidget>

#include "list_fixture.hpp"
#include "ui/pat_edit.hpp"

namespace tx::ui::test {

namespace {

struct PatWindow : ListWindow {
    PatEdit& page() const { return *form->patternPage(); }
    template <class T = QWidget>
    T* get(const QString& name) const {
        T* w = page().findChild<T*>(name);
        if (!w) qWarning("missing component %s", qPrintable(name));
        return w;
    }
    QPushButton* run() const { return get<QPushButton>("RunPatButton"); }
    void paint(int row, const std::array<int, 9>& values) const {
        for (int k = 0; k < 9; ++k) {
            QTest::mouseClick(get<ColourSquare>(QString("PatShape%1").arg(values[k])), Qt::LeftButton);
            QTest::mouseClick(page().cell(row, k), Qt::LeftButton);
        }
    }
    bool waitForIdle(int ms = 20000) const {
        return QTest::qWaitFor([&] { return run()->text() == "Start Search"; }, ms);
    }
    bool boxesEnabled() const {
        bool on = get<QCheckBox>("CheckBoxContinuous")->isEnabled() && get<QPushButton>("PatClear")->isEnabled();
        for (int row = 0; row < 5; ++row) {
            on = on && page().allBox(row)->isEnabled();
            for (int face = 0; face < 6; ++face) on = on && page().faceBox(row, face)->isEnabled();
        }
        return on;
    }
};

}  // namespace

void PatternPageTest::everyControlHasItsNameAndDefault() {
    PatWindow w;
    QVERIFY(w.form->pages()->indexOf(&w.page()) >= 0);
    for (int v = 1; v <= 6; ++v) QCOMPARE(w.get<ColourSquare>(QString("PatShape%1").arg(v))->value(), v);
    QCOMPARE(PatEdit::paletteColour(3), QColor(0, 255, 0));
    QCOMPARE(w.get<ColourSquare>("CurShape")->value(), 1);
    const char faces[] = "URFDLB";
    for (int row = 0; row < 5; ++row) {
        QVERIFY(w.get<QGroupBox>(QString("PatBox%1").arg(row + 1)));
        for (int k = 0; k < 9; ++k) QCOMPARE(w.page().cellValue(row, k), 6);
        // Cells are 26 pixels wide, 25 apart.
        QCOMPARE(w.page().cell(row, 4)->geometry(), QRect(25, 25, 26, 26));
        for (int face = 0; face < 6; ++face) {
            auto* box = w.get<QCheckBox>(QString("CheckBox%1%2").arg(faces[face]).arg(row + 1));
            QCOMPARE(box, w.page().faceBox(row, face));
            QVERIFY(box->isChecked());
        }
        auto* all = w.get<QCheckBox>(QString("CheckBoxA%1").arg(row + 1));
        QVERIFY(all->isTristate());
        QCOMPARE(all->text(), QString("All"));
        QCOMPARE(all->checkState(), Qt::Checked);
    }
    QVERIFY(!w.get<QCheckBox>("CheckBoxContinuous")->isChecked());
    QVERIFY(!w.get<QCheckBox>("FindGenerators")->isChecked());
    QCOMPARE(w.run()->text(), QString("Start Search"));
}

void PatternPageTest::paletteCellsAndClear() {
    PatWindow w;
    QTest::mouseClick(w.get<ColourSquare>("PatShape4"), Qt::LeftButton);
    QCOMPARE(w.page().currentValue(), 4);
    QCOMPARE(w.get<ColourSquare>("CurShape")->value(), 4);
    QTest::mouseClick(w.page().cell(2, 7), Qt::LeftButton);
    QCOMPARE(w.page().cellValue(2, 7), 4);
    QCOMPARE(w.page().patterns().rows[2][7], 4);
    // The cell shows its palette colour.
    const QImage picture = w.page().cell(2, 7)->grab().toImage();
    QCOMPARE(picture.pixelColor(13, 13), QColor(Qt::blue));
    w.paint(0, {1, 2, 3, 4, 5, 6, 1, 2, 3});
    QCOMPARE(w.page().patterns().rows[0], (PatternCells{1, 2, 3, 4, 5, 6, 1, 2, 3}));
    w.get<QPushButton>("PatClear")->click();
    for (int row = 0; row < 5; ++row)
        for (int k = 0; k < 9; ++k) QCOMPARE(w.page().cellValue(row, k), 6);
}

void PatternPageTest::allBoxesSumUpTheFaceBoxes() {
    PatWindow w;
    QCheckBox* all = w.page().allBox(1);
    QCheckBox* u = w.page().faceBox(1, U);
    u->click();
    QCOMPARE(all->checkState(), Qt::PartiallyChecked);
    u->click();
    QCOMPARE(all->checkState(), Qt::Checked);
    all->click();  // checked -> unchecked: every face box of the row goes
    QCOMPARE(all->checkState(), Qt::Unchecked);
    for (int face = 0; face < 6; ++face) QVERIFY(!w.page().faceBox(1, face)->isChecked());
    QVERIFY(w.page().faceBox(0, U)->isChecked());  // other rows untouched
    all->click();  // the grey state with no face box checked becomes checked
    QCOMPARE(all->checkState(), Qt::Checked);
    for (int face = 0; face < 6; ++face) QVERIFY(w.page().faceBox(1, face)->isChecked());
    // Grey with some face boxes checked: a click checks them all.
    w.page().faceBox(1, B)->click();
    w.page().faceBox(1, L)->click();
    QCOMPARE(all->checkState(), Qt::PartiallyChecked);
    all->click();
    QCOMPARE(all->checkState(), Qt::Checked);
    for (int face = 0; face < 6; ++face) QVERIFY(w.page().faceBox(1, face)->isChecked());
    // All six unchecked one by one: unchecked.
    for (int face = 0; face < 6; ++face) w.page().faceBox(1, face)->click();
    QCOMPARE(all->checkState(), Qt::Unchecked);
    QCOMPARE(w.page().patterns().faces[1], (std::array<bool, 6>{}));
}

void PatternPageTest::oneColourFindsOnlyTheSolvedCube() {
    PatWindow w;
    w.paint(2, {3, 3, 3, 3, 3, 3, 3, 3, 3});
    w.run()->click();
    QCOMPARE(w.run()->text(), QString("Stop Search"));
    QVERIFY(w.waitForIdle());
    QCOMPARE(int(w.list().size()), 1);
    QCOMPARE(w.list().at(0).cube.f, FaceletCube().f);
    QVERIFY(!w.list().at(0).showSolver);
    // The empty rows were switched off for every face; the painted one kept its boxes.
    for (int row : {0, 1, 3, 4}) {
        QCOMPARE(w.page().allBox(row)->checkState(), Qt::Unchecked);
        QVERIFY(!w.page().faceBox(row, F)->isChecked());
    }
    QCOMPARE(w.page().allBox(2)->checkState(), Qt::Checked);
    QVERIFY(w.boxesEnabled());
    // Again: the list's isomorphism test keeps the same cube out.
    w.run()->click();
    QVERIFY(w.waitForIdle());
    QCOMPARE(int(w.list().size()), 1);
}

void PatternPageTest::emptyPatternsFindNothingAndReenableTheControls() {
    PatWindow w;
    w.run()->click();
    QVERIFY(!w.boxesEnabled());
    QVERIFY(w.page().cell(0, 0)->isEnabled());  // the cells stay editable
    QVERIFY(w.waitForIdle());
    QCOMPARE(int(w.list().size()), 0);
    QVERIFY(w.boxesEnabled());
    QVERIFY(!w.page().searchRunning());
}

void PatternPageTest::stopEndsTheSearch() {
    PatWindow w;
    // Five rows of many colours allowed everywhere: seconds of enumeration.
    w.paint(0, {1, 2, 3, 4, 5, 1, 2, 3, 4});
    w.paint(1, {1, 2, 3, 2, 4, 5, 3, 5, 1});
    w.paint(2, {1, 2, 1, 3, 4, 3, 1, 2, 1});
    w.paint(3, {1, 2, 3, 4, 1, 5, 3, 2, 1});
    w.paint(4, {1, 2, 3, 1, 4, 3, 1, 2, 3});
    w.run()->click();
    QVERIFY(QTest::qWaitFor([&] { return w.list().size() >= 5; }, 20000));
    QVERIFY(!w.clearOffered());
    w.run()->click();
    QVERIFY(w.waitForIdle(5000));
    const std::size_t kept = w.list().size();
    QTest::qWait(100);
    QCOMPARE(w.list().size(), kept);
    QVERIFY(w.boxesEnabled());
    QVERIFY(w.clearOffered());
}

}  // namespace tx::ui::test
