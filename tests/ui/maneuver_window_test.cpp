// The maneuver window without searches: rows and their controls, selection by clicks with
// modifiers, scrolling over many entries, coalesced repaints, the picture pixels.
#include <QDir>
#include <QMenu>
#include <QTabWidget>
#include <QPushButton>

#include <fstream>

#include "cube/facelet_symmetry.hpp"
#include "list_fixture.hpp"
#include "ui/editor_page.hpp"
#include "ui_tests.hpp"

namespace tx::ui::test {

namespace {

const QColor kWhite(Qt::white);

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every facelet of entry i's picture in view shows its scheme colour in the grabbed image.
void verifyPicture(const ListWindow& w, const QImage& image, int i) {
    const FaceletCube& cube = w.list().at(i).cube;
    int checked = 0;
    for (int n = 0; n < kFacelets; ++n) {
        const QPoint p = w.faceletCenter(i, n);
        if (!image.rect().contains(p)) continue;
        ++checked;
        const QColor expected = w.schemeColor(cube.f[static_cast<std::size_t>(n)]);
        QVERIFY2(image.pixelColor(p) == expected,
                 qPrintable(QString("entry %1 facelet %2 at %3,%4: %5 instead of %6")
                                .arg(i + 1)
                                .arg(n)
                                .arg(p.x())
                                .arg(p.y())
                                .arg(image.pixelColor(p).name(), expected.name())));
    }
    QVERIFY(checked >= 27);
}

}  // namespace

void ManeuverWindowTest::rowsShowTheirEntries() {
    ListWindow w;
    w.add(cubeOf("R U R' U'"), "Sexy Move", "U R U' R'  (4f)");
    auto second = w.add(cubeOf("F2 B2"), "", "B2 F2  (2f)");
    second->showSolver = false;
    second->optimalLog = "Pruning Table Start Values: 2 2 2\rdepth 01: 0.0 s  nodes: 5";
    w.flush();

    ManeuverRow* r0 = w.row(0);
    ManeuverRow* r1 = w.row(1);
    QVERIFY(r0 && r1);
    QCOMPARE(r0->entry(), 0);
    QCOMPARE(r0->numberLabel()->text(), QString("1."));
    QCOMPARE(r1->numberLabel()->text(), QString("2."));
    QCOMPARE(r0->nameCaption()->text(), QString("Pattern Name:"));
    QCOMPARE(r0->nameField()->text(), QString("Sexy Move"));
    QCOMPARE(r0->captionButton()->text(), QString("Solver:"));
    QCOMPARE(r0->maneuverLabel()->text(), QString("U R U' R'  (4f)"));
    QCOMPARE(r1->captionButton()->text(), QString("Generator:"));
    QCOMPARE(r1->maneuverLabel()->text(), QString::fromStdString(generatorText(*second)));
    QCOMPARE(r0->runButton()->text(), QString("Run"));
    QVERIFY(!r0->showsStop());
    QCOMPARE(r0->optimalBox()->text(), QString("optimal"));
    QVERIFY(!r0->optimalBox()->isChecked());
    QCOMPARE(r1->optimalBox()->toolTip(), QString("Pruning Table Start Values: 2 2 2\ndepth 01: 0.0 s  nodes: 5"));

    // Rows start at y = 8 and are 108 pixels apart; the picture column is 4 < x <= 137.
    QCOMPARE(w.view().pictureRect(0), QRect(5, 8, 132, 96));
    QCOMPARE(w.view().pictureRect(1), QRect(5, 116, 132, 96));
    QVERIFY(r1->runButton()->y() > 108 && r1->runButton()->y() < 216);
    QVERIFY(r0->runButton()->geometry().right() < w.view().contentWidth());

    // Sixteen sets exist; those without a row are hidden and bound to nothing.
    QCOMPARE(static_cast<int>(w.view().rows().size()), ManeuverWindow::kControlSets);
    int bound = 0;
    for (ManeuverRow* r : w.view().rows()) {
        if (r->entry() < 0)
            QVERIFY(r->runButton()->isHidden());
        else
            ++bound;
    }
    QCOMPARE(bound, 2);
    verifyPicture(w, w.grab(), 0);
    verifyPicture(w, w.grab(), 1);
}

// Only the pictures take clicks: 4 < x <= 137 and 96 pixels of every 108-pixel row from y = 8.
void ManeuverWindowTest::picturesAreHitInRowsOf108Pixels() {
    ListWindow w;
    auto at = [&w](int x, int y, int scrollX = 0, int scrollY = 0) { return w.view().pictureAt(x, y, scrollX, scrollY, 3); };
    QCOMPARE(at(5, 8), 0);
    QCOMPARE(at(137, 104), 0);  // 96 pixels into the row: still the picture
    QCOMPARE(at(50, 105), -1);  // the gap between pictures
    QCOMPARE(at(50, 7), -1);
    QCOMPARE(at(4, 50), -1);
    QCOMPARE(at(138, 50), -1);
    QCOMPARE(at(50, 8 + 108), 1);
    QCOMPARE(at(50, 8 + 2 * 108 + 96), 2);
    QCOMPARE(at(50, 8 + 3 * 108), -1);  // no fourth entry
    QCOMPARE(at(50, 8, 0, 108), 1);     // scrolled down one row
    QCOMPARE(at(0, 50, 10, 0), 0);      // scrolled right
    QCOMPARE(w.view().contentHeightFor(3), 8 + 3 * 108 + 8);
    // A click beside the pictures clears the selection.
    w.addScrambles(3);
    w.click(1);
    QCOMPARE(w.selected(), std::vector<int>{1});
    QTest::mouseClick(w.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 8 + 50));
    QVERIFY(w.selected().empty());
}

void ManeuverWindowTest::selectionFollowsTheModifiers() {
    ListWindow w;
    w.addScrambles(5);
    const auto ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    using V = std::vector<int>;

    w.click(1);
    QCOMPARE(w.selected(), V({1}));
    QCOMPARE(w.list().anchor, 1);
    w.click(3, shift);  // the range from the anchor, anchor moves
    QCOMPARE(w.selected(), V({1, 2, 3}));
    QCOMPARE(w.list().anchor, 3);
    w.click(0, shift);  // the other direction; the old range is cleared first
    QCOMPARE(w.selected(), V({0, 1, 2, 3}));
    QCOMPARE(w.list().anchor, 0);
    w.click(2, ctrl);  // Ctrl on a selected entry deselects it and drops the anchor
    QCOMPARE(w.selected(), V({0, 1, 3}));
    QCOMPARE(w.list().anchor, -1);
    w.click(4, ctrl | shift);  // without an anchor the entry toggles and becomes the anchor
    QCOMPARE(w.selected(), V({0, 1, 3, 4}));
    QCOMPARE(w.list().anchor, 4);
    w.click(1, ctrl | shift);  // the range is added, the anchor stays
    QCOMPARE(w.selected(), V({0, 1, 2, 3, 4}));
    QCOMPARE(w.list().anchor, 4);
    w.click(0, ctrl);
    QCOMPARE(w.selected(), V({1, 2, 3, 4}));
    QCOMPARE(w.list().anchor, -1);
    w.click(2);  // no anchor: even a plain click toggles
    QCOMPARE(w.selected(), V({1, 3, 4}));
    QCOMPARE(w.list().anchor, -1);
    w.click(2);
    QCOMPARE(w.selected(), V({1, 2, 3, 4}));
    QCOMPARE(w.list().anchor, 2);
    w.click(0);  // with an anchor a plain click selects only its entry
    QCOMPARE(w.selected(), V({0}));
    QCOMPARE(w.list().anchor, 0);
    QVERIFY(w.item("DeleteselectedCubes1")->isEnabled());

    // The gap between two pictures and the area beside them hit no row.
    QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, QPoint(60, 8 + 108 + 100));
    QVERIFY(w.selected().empty());
    QCOMPARE(w.list().anchor, -1);
    QVERIFY(!w.item("DeleteselectedCubes1")->isEnabled());
    w.click(3);
    QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, QPoint(300, 8 + 3 * 108 + 40));
    QVERIFY(w.selected().empty());
    QVERIFY(!w.item("StopSearchForSelectedCubes")->isEnabled());
}

void ManeuverWindowTest::selectedEntriesAreFramed() {
    ListWindow w;
    w.addScrambles(3);
    w.click(1);
    const QImage image = w.grab();
    // The frame runs down the left edge of a selected row and fills it behind the controls.
    const int mid = 8 + 108 + 48;
    QVERIFY(image.pixelColor(1, mid) != kWhite);
    QVERIFY(image.pixelColor(142, mid) != kWhite);
    QCOMPARE(image.pixelColor(1, 8 + 48), kWhite);
    QCOMPARE(image.pixelColor(142, 8 + 48), kWhite);
    QCOMPARE(image.pixelColor(1, 8 + 216 + 48), kWhite);
    verifyPicture(w, image, 1);  // the picture is drawn over the fill
}

void ManeuverWindowTest::rowControlsActOnTheirEntry() {
    ListWindow w;
    w.add(cubeOf("R U"), "", "U' R'  (2f)");
    auto proven = w.add(cubeOf("F"), "", "");
    proven->setOptimalManeuver("F'  (1f*)", 1, true);
    proven->useOptimal = true;
    FaceletCube partial = cubeOf("L");
    partial.f[0] = kUndefinedFacelet;
    w.add(partial);
    w.list().modified = false;
    w.flush();

    // Caption button: the generator is shown instead of the solver.
    QTest::mouseClick(w.row(0)->captionButton(), Qt::LeftButton);
    QVERIFY(!w.list().at(0).showSolver);
    w.flush();
    QCOMPARE(w.row(0)->captionButton()->text(), QString("Generator:"));
    QCOMPARE(w.row(0)->maneuverLabel()->text(), QString::fromStdString(generatorText(w.list().at(0))));

    // The name is stored at every change, at most 30 characters.
    QTest::keyClicks(w.row(0)->nameField(), "Two moves");
    QCOMPARE(w.list().at(0).patternName, std::string("Two moves"));
    QVERIFY(w.list().modified);
    QTest::keyClicks(w.row(0)->nameField(), QString(40, 'x'));
    QCOMPARE(w.list().at(0).patternName.size(), std::size_t(30));

    // The box switches the entry to the optimal solver and the row to its text.
    QTest::mouseClick(w.row(0)->optimalBox(), Qt::LeftButton);
    QVERIFY(w.list().at(0).useOptimal);
    w.flush();
    QVERIFY(w.row(0)->optimalBox()->isChecked());
    QCOMPARE(w.row(0)->maneuverLabel()->text(), QString("Status: Not Running"));
    // A proven optimal maneuver keeps its box checked.
    QTest::mouseClick(w.row(1)->optimalBox(), Qt::LeftButton);
    QVERIFY(w.list().at(1).useOptimal);
    w.flush();
    QVERIFY(w.row(1)->optimalBox()->isChecked());
    QCOMPARE(w.row(1)->maneuverLabel()->text(), QString("F'  (1f*)"));

    // The run button refuses an incomplete cube.
    QTest::mouseClick(w.row(2)->runButton(), Qt::LeftButton);
    QCOMPARE(w.prompts.texts().back(), std::string("You cannot solve an incomplete cube!"));
    QCOMPARE(w.prompts.shown.back().caption, std::string("Maneuver Window"));
    QVERIFY(!w.list().at(2).searchRunning);

    // While searches may not start, the run buttons are disabled.
    w.form->setSearchControlsEnabled(false);
    QVERIFY(!w.row(0)->runButton()->isEnabled());
    w.form->setSearchControlsEnabled(true);
    QVERIFY(w.row(0)->runButton()->isEnabled());

    // A control bound to a row that no longer holds its entry does nothing.
    ManeuverRow* stale = w.row(2);
    w.list().removeEntry(0);  // the repaint is still pending
    const int promptsBefore = static_cast<int>(w.prompts.shown.size());
    QTest::mouseClick(stale->runButton(), Qt::LeftButton);
    QCOMPARE(static_cast<int>(w.prompts.shown.size()), promptsBefore);
    w.flush();
    QCOMPARE(w.row(1)->numberLabel()->text(), QString("2."));
    QVERIFY(!w.row(2));
}

void ManeuverWindowTest::scrolledToEntry1000Of2000() {
    ListWindow w;
    w.addScrambles(2000, 10, 99);
    QCOMPARE(static_cast<int>(w.list().size()), 2000);
    QCOMPARE(w.view().contentHeight(), 8 + 2000 * 108 + 8);
    QScrollBar* bar = w.view().verticalScrollBar();
    QCOMPARE(bar->maximum(), w.view().contentHeight() - w.viewport()->height());
    bar->setValue(108 * 999);  // entry 1000 at the top
    w.flush();

    const int height = w.viewport()->height();
    std::vector<int> shown;
    for (ManeuverRow* r : w.view().rows()) {
        if (r->entry() < 0) continue;
        shown.push_back(r->entry());
        const int top = 8 + 108 * r->entry() - bar->value();
        QCOMPARE(r->numberLabel()->text(), QString("%1.").arg(r->entry() + 1));
        QVERIFY(r->numberLabel()->isVisible());
        QCOMPARE(r->numberLabel()->y(), top + 1);
        QVERIFY(top + 108 > 0 && top < height);
        QCOMPARE(r->maneuverLabel()->text(), QString::fromStdString(w.list().at(r->entry()).solverText));
    }
    std::sort(shown.begin(), shown.end());
    // Exactly the rows in view, no more: 998 shows its lower gap, then 999 on.
    const int last = (bar->value() + height - 1 - 8) / 108;
    QCOMPARE(shown.front(), 998);
    QCOMPARE(shown.back(), last);
    QCOMPARE(static_cast<int>(shown.size()), last - 998 + 1);
    QCOMPARE(static_cast<int>(w.view().rows().size()), ManeuverWindow::kControlSets);
    QCOMPARE(w.row(999)->numberLabel()->text(), QString("1000."));
    QCOMPARE(w.view().pictureRect(999).top(), 8);

    const QImage image = w.grab();
    verifyPicture(w, image, 999);
    verifyPicture(w, image, 1000);

    // Clicks hit the scrolled rows.
    w.click(1000);
    QCOMPARE(w.selected(), std::vector<int>({1000}));
    w.click(1002, Qt::ShiftModifier);
    QCOMPARE(w.selected(), std::vector<int>({1000, 1001, 1002}));

    // Scrolling keeps each row on its control set while it stays in view.
    ManeuverRow* set = w.row(1001);
    bar->setValue(bar->value() + 50);
    w.flush();
    QCOMPARE(w.row(1001), set);
    QCOMPARE(set->numberLabel()->y(), 8 + 108 * 1001 - bar->value() + 1);

    // Removing entries renumbers the rows below them.
    w.list().removeEntry(999);
    w.flush();
    QCOMPARE(w.row(999)->numberLabel()->text(), QString("1000."));
    QCOMPARE(w.row(999)->maneuverLabel()->text(), QString::fromStdString(w.list().at(999).solverText));
}

void ManeuverWindowTest::horizontalScrollingMovesRowsAndHits() {
    ListWindow w({520, 600});
    w.addScrambles(2);
    w.flush();
    QScrollBar* bar = w.view().horizontalScrollBar();
    QCOMPARE(bar->maximum(), 650 - w.viewport()->width());
    QVERIFY(bar->maximum() > 50);
    const int runX = w.row(0)->runButton()->x();
    bar->setValue(50);
    w.flush();
    QCOMPARE(w.row(0)->runButton()->x(), runX - 50);
    QCOMPARE(w.view().pictureRect(0).left(), 5 - 50);
    // Content x 80 is in the picture column, content x 140 is not.
    QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, QPoint(80 - 50, 50));
    QCOMPARE(w.selected(), std::vector<int>({0}));
    QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, QPoint(140 - 50, 50));
    QVERIFY(w.selected().empty());
    verifyPicture(w, w.grab(), 1);
}

void ManeuverWindowTest::repaintsAreCoalesced() {
    ListWindow w;
    w.addScrambles(3);
    w.flush();
    PaintCounter counter;
    w.viewport()->installEventFilter(&counter);
    QTest::qWait(20);
    counter.paints = 0;

    // A burst of reports (as from hundreds of searches) makes a single repaint.
    Entry& e = w.list().at(1);
    for (int k = 0; k < 500; ++k) {
        e.setSolverText("R  (1f)", 1);
        w.list().repaint();
    }
    QVERIFY(w.view().repaintPending());
    QCOMPARE(counter.paints, 0);
    QTRY_VERIFY(!w.view().repaintPending());
    QTRY_VERIFY(counter.paints >= 1);
    QCoreApplication::processEvents();
    QVERIFY(counter.paints <= 2);
    QCOMPARE(w.row(1)->maneuverLabel()->text(), QString("R  (1f)"));
    w.viewport()->removeEventFilter(&counter);
}

void ManeuverWindowTest::screenshotOfTenEntries() {
    ListWindow w({1100, 1200});
    w.add(FaceletCube(), "Solved");
    w.addScrambles(8, 14, 3);
    auto corners = w.add(cubeOf("R U R' U R U2 R'"), "Corners only");
    corners->cubieSubset = 1;
    w.list().at(1).patternName = "Searching";
    w.list().at(1).useOptimal = true;
    w.list().at(1).setOptimalStatus("Status: Searching depth 12...");
    w.list().at(3).showSolver = false;
    w.click(2);
    w.click(4, Qt::ControlModifier);
    const QImage image = w.grab();
    const QString file = QCoreApplication::applicationDirPath() + "/maneuver_window_ten.png";
    QVERIFY(image.save(file));
    QImage back(file);
    QCOMPARE(back.size(), image.size());

    // The solved cube shows its faces in the scheme colours: U blue, R yellow, F red, D green,
    // L white, B orange by default.
    const QColor faces[] = {QColor(0, 0, 255), QColor(255, 255, 0), QColor(255, 0, 0),
                            QColor(0, 128, 0), QColor(255, 255, 255), QColor(255, 128, 0)};
    for (int face = 0; face < 6; ++face)
        for (int place = 0; place < 9; ++place)
            QCOMPARE(back.pixelColor(w.faceletCenter(0, 9 * face + place)), faces[face]);
    for (int i = 1; i < 9; ++i) verifyPicture(w, back, i);
    // The corners-only entry shows its edges in the free colour.
    const QColor free(128, 128, 128);
    for (int edge : {1, 3, 5, 7}) QCOMPARE(back.pixelColor(w.faceletCenter(9, 9 + edge)), free);
    QCOMPARE(back.pixelColor(w.faceletCenter(9, 9 + 4)), faces[1]);
    QVERIFY(back.pixelColor(1, 8 + 2 * 108 + 48) != kWhite);  // entry 3 framed
    QVERIFY(back.pixelColor(1, 8 + 4 * 108 + 48) != kWhite);  // entry 5 framed
    QCOMPARE(back.pixelColor(1, 8 + 3 * 108 + 48), kWhite);
    QCOMPARE(w.row(1)->maneuverLabel()->text(), QString("Status: Searching depth 12..."));
}

void ManeuverWindowTest::cubeMenuActsOnTheRightEntry() {
    ListWindow w;
    w.addScrambles(3, 9, 11);
    QStringList copied;
    w.view().copyToClipboard = [&](const QString& text) { copied << text; };
    QMenu* menu = w.view().cubeMenu();
    auto trigger = [&](int i, const char* name) {
        w.click(i, Qt::NoModifier, Qt::RightButton);
        QVERIFY(menu->isVisible());
        QCOMPARE(w.view().cubeMenuEntry(), i);
        QAction* a = menu->findChild<QAction*>(name);
        QVERIFY2(a && a->isEnabled(), name);
        a->trigger();
        menu->hide();
    };
    auto before = [&] {
        std::vector<std::pair<FaceletCube, std::string>> v;
        for (const auto& e : w.list().entries()) v.emplace_back(e->cube, e->solverText);
        return v;
    };

    const std::pair<const char*, int> turns[] = {{"RotURF", 0}, {"RotFB", 1}, {"rotUD", 2}, {"RefRL", 3}};
    for (const auto& [name, symmetry] : turns) {
        const auto old = before();
        trigger(1, name);
        FaceletCube expected = old[1].first;
        applyBasicSymmetry(expected, symmetry);
        QCOMPARE(w.list().at(1).cube.f, expected.f);
        QCOMPARE(w.list().at(1).solverText, transformManeuver(old[1].second, symmetry));
        for (int other : {0, 2}) QCOMPARE(w.list().at(other).cube.f, old[other].first.f);
    }

    const auto old = before();
    trigger(2, "Invert1");
    FaceletCube inverse;
    QVERIFY(inverseCube(old[2].first, inverse));
    QCOMPARE(w.list().at(2).cube.f, inverse.f);
    QCOMPARE(w.list().at(2).solverText, inverseManeuver(old[2].second));
    QCOMPARE(w.list().at(1).cube.f, old[1].first.f);

    trigger(0, "CopySolverToClipboard");
    trigger(0, "CopyGeneratortoClipboard");
    QCOMPARE(copied, QStringList({QString::fromStdString(w.list().at(0).solverText),
                                  QString::fromStdString(generatorText(w.list().at(0)))}));

    trigger(1, "TransferCubetoFaceletEditor1");
    QCOMPARE(w.form->editor().cube().f, w.list().at(1).cube.f);
    QCOMPARE(w.form->pages()->currentWidget(), static_cast<QWidget*>(w.form->editorPage()));

    const Entry* first = &w.list().at(0);
    const Entry* third = &w.list().at(2);
    trigger(1, "RemoveCube1");
    QCOMPARE(static_cast<int>(w.list().size()), 2);
    QCOMPARE(&w.list().at(0), first);
    QCOMPARE(&w.list().at(1), third);
}

void ManeuverWindowTest::cubeMenuEnablingAndLateEntries() {
    ListWindow w;
    w.add(cubeOf("R"), "", "R'  (1f)");
    w.add(cubeOf("U"));
    auto proven = w.add(cubeOf("F"));
    proven->setOptimalManeuver("F'  (1f*)", 1, true);
    proven->useOptimal = true;
    w.flush();
    QMenu* menu = w.view().cubeMenu();
    QStringList names;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) names << a->objectName();
    QCOMPARE(names, QStringList({"rotUD", "RotURF", "RotFB", "RefRL", "Invert1", "CopySolverToClipboard",
                                 "CopyGeneratortoClipboard", "RemoveCube1", "TransferCubetoFaceletEditor1",
                                 "MTransferSym", "RunCosetExplorer", "MIApplySymToSel"}));
    auto enabled = [&](const char* name) { return menu->findChild<QAction*>(name)->isEnabled(); };
    const bool expectCopy[] = {true, false, true};  // a maneuver, none, a proven optimal one
    for (int i = 0; i < 3; ++i) {
        w.click(i, Qt::NoModifier, Qt::RightButton);
        QCOMPARE(enabled("CopySolverToClipboard"), expectCopy[i]);
        QCOMPARE(enabled("CopyGeneratortoClipboard"), expectCopy[i]);
        QVERIFY(enabled("RotURF") && enabled("RemoveCube1") && enabled("Invert1"));
        QVERIFY(enabled("MTransferSym"));  // no symmetry search runs
        for (const char* absent : {"RunCosetExplorer", "MIApplySymToSel"}) QVERIFY(!enabled(absent));
        menu->hide();
    }
    // A proven maneuver is what the clipboard gets.
    QString copied;
    w.view().copyToClipboard = [&](const QString& text) { copied = text; };
    w.click(2, Qt::NoModifier, Qt::RightButton);
    menu->findChild<QAction*>("CopySolverToClipboard")->trigger();
    QCOMPARE(copied, QString("F'  (1f*)"));
    menu->hide();

    // The list changes while the menu is open (a web client clears it): the menu acts on
    // nothing rather than on another entry.
    w.click(1, Qt::NoModifier, Qt::RightButton);
    const FaceletCube kept = w.list().at(1).cube;
    w.list().removeEntry(0);
    QCOMPARE(w.view().cubeMenuEntry(), 0);  // still found at its new place
    menu->findChild<QAction*>("RotURF")->trigger();
    QVERIFY(w.list().at(0).cube.f != kept.f);
    w.list().clear(false);
    QCOMPARE(w.view().cubeMenuEntry(), -1);
    menu->findChild<QAction*>("RemoveCube1")->trigger();
    QVERIFY(w.list().empty());
    menu->hide();
}

void ManeuverWindowTest::keysDeleteQuickSaveAndEscape() {
    ListWindow w;
    w.addScrambles(4);
    w.view().setFocus();

    w.click(1);
    w.click(2, Qt::ShiftModifier);
    const Entry* last = &w.list().at(3);
    QTest::keyClick(&w.view(), Qt::Key_Delete);
    QCOMPARE(static_cast<int>(w.list().size()), 2);
    QCOMPARE(&w.list().at(1), last);
    QVERIFY(!w.item("DeleteselectedCubes1")->isEnabled());

    // Delete inside a name field edits the name.
    w.click(0);
    w.flush();
    QLineEdit* name = w.row(0)->nameField();
    name->setFocus();
    QTest::keyClicks(name, "ab");
    QTest::keyClick(name, Qt::Key_Home);
    QTest::keyClick(name, Qt::Key_Delete);
    QCOMPARE(w.list().at(0).patternName, std::string("b"));
    QCOMPARE(static_cast<int>(w.list().size()), 2);

    // Ctrl+F writes the last entry's maneuver without its mark into the working folder.
    const QString saved = QDir::currentPath();
    TempFolder work;
    QDir::setCurrent(QString::fromStdString(work.path().string()));
    QTest::keyClick(&w.view(), Qt::Key_F, Qt::ControlModifier);
    const auto file = work.path() / "ctrlFsave.txt";
    QVERIFY(std::filesystem::exists(file));
    QVERIFY(readAll(file).find(cutLengthMark(w.list().at(1).solverText)) != std::string::npos);
    QVERIFY(readAll(file).find('(') == std::string::npos);
    std::filesystem::remove(file);
    w.list().clear(false);
    QTest::keyClick(&w.view(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!std::filesystem::exists(file));  // an empty list writes nothing
    QDir::setCurrent(saved);

    QTest::keyClick(&w.view(), Qt::Key_S, Qt::AltModifier);  // scans the webcam face: no message
    QTest::keyClick(&w.view(), Qt::Key_Escape);
    QVERIFY(w.list().cancelRequested);
    QVERIFY(w.prompts.shown.empty());
}

}  // namespace tx::ui::test
