// The symmetry page: its controls and defaults, the button / group list / subgroup logic,
// the button popup, the transfer of an entry's symmetries, and searches started, ended and
// stopped from the page.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <bit>

#include "cube/facelet_symmetry.hpp"
#include "cube/symmetry.hpp"
#include "list_fixture.hpp"
#include "searches/symmetry_groups.hpp"
#include "ui/editor_page.hpp"
#include "ui/tab_sym.hpp"

namespace tx::ui::test {

namespace {

struct SymWindow : ListWindow {
    TabSym& page() const { return *form->symmetryPage(); }
    template <class T>
    T* get(const char* name) const {
        T* w = page().findChild<T*>(name);
        if (!w) qWarning("missing component %s", name);
        return w;
    }
    void chooseGroup(int row) const {
        auto* box = get<QComboBox>("CbSymmetries");
        box->setCurrentIndex(row);
        emit box->activated(row);
    }
    void chooseSubgroup(int index) const {
        auto* box = get<QComboBox>("CBASy");
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    std::uint64_t downMask() const {
        std::uint64_t m = 0;
        for (const SymmetryButton* b : page().buttons())
            if (b->isDownState()) m |= std::uint64_t{1} << b->tag();
        return m;
    }
    std::uint64_t raisedMask() const {
        std::uint64_t m = 0;
        for (const SymmetryButton* b : page().buttons())
            if (!b->isFlat()) m |= std::uint64_t{1} << b->tag();
        return m;
    }
    QPushButton* run() const { return get<QPushButton>("BRunSym"); }
    bool waitForIdle(int ms = 20000) const {
        return QTest::qWaitFor([&] { return run()->text() == "Start Search"; }, ms);
    }
};

constexpr std::uint64_t kButtonTags = 0x84CC1DDD7FBEull;  // the tags that have a button

}  // namespace

void SymmetryPageTest::everyControlHasItsNameAndDefault() {
    SymWindow w;
    QCOMPARE(w.form->pages()->indexOf(&w.page()) >= 0, true);
    QCOMPARE(buttonTagMask(), kButtonTags);
    QCOMPARE(int(w.page().buttons().size()), 29);
    for (const auto& def : kSymmetryButtons) {
        auto* b = w.get<SymmetryButton>(std::string(def.name).c_str());
        QVERIFY(b);
        QCOMPARE(b->tag(), def.tag);
        QVERIFY(b->isFlat() && !b->isDownState());
        QVERIFY(!b->toolTip().isEmpty());
    }
    auto* groups = w.get<QComboBox>("CbSymmetries");
    QCOMPARE(groups->count(), 33);
    QCOMPARE(groups->itemText(0), QString("Oh"));
    QCOMPARE(groups->itemText(32), QString("C1 (Identitiy)"));
    QCOMPARE(groups->currentIndex(), -1);
    QVERIFY(w.get<QRadioButton>("RBSym")->isChecked());
    QVERIFY(w.get<QGroupBox>("GBSpeed")->isVisibleTo(&w.page()));
    QVERIFY(!w.get<QGroupBox>("GBAntiSym")->isVisibleTo(&w.page()));
    QVERIFY(!w.get<QPlainTextEdit>("MemoAntisym")->isVisibleTo(&w.page()));
    QCOMPARE(w.get<QGroupBox>("GBAntiSym")->title(), QString("Subgroup of Index 2"));
    QVERIFY(w.get<QRadioButton>("RBAll")->isChecked());
    QVERIFY(w.get<QRadioButton>("RBExact")->isChecked());
    for (const char* off : {"CBIsomorph", "CBContinuous", "SymFindGenerators", "CSelfInverse", "CBSelfInverse"})
        QVERIFY2(!w.get<QCheckBox>(off)->isChecked(), off);
    QVERIFY(!w.get<QCheckBox>("CBSelfInverse")->isEnabled());
    const bool colours[] = {true, true, false, false, false, false};
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(w.get<QCheckBox>(QString("CBn%1").arg(n).toLatin1().constData())->isChecked(), colours[n - 1]);
    QCOMPARE(w.run()->text(), QString("Start Search"));
    QVERIFY(w.run()->isEnabled());
    QCOMPARE(w.page().symmetrySet(), std::uint64_t{1});
}

void SymmetryPageTest::choosingAGroupPressesItsButtonsAndListsItsSubgroups() {
    SymWindow w;
    w.chooseGroup(0);  // Oh
    QCOMPARE(w.get<QLabel>("LSymSize")->text(), QString("4"));
    QCOMPARE(w.get<QLabel>("LSymN")->text(), QString("48"));
    QCOMPARE(w.downMask(), kButtonTags);
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[0].mask);
    QCOMPARE(w.page().normalizerMask(), kAllSymmetries);
    auto* subgroups = w.get<QComboBox>("CBASy");
    QCOMPARE(subgroups->count(), 3);
    QCOMPARE(subgroups->itemText(2), QString("Th "));
    QCOMPARE(subgroups->currentIndex(), 0);
    QCOMPARE(w.page().antiSubgroupIndex(), (std::vector<int>{1, 2, 4}));

    w.chooseGroup(21);  // C4: the quarter turn and the half turn it generates
    QCOMPARE(w.get<QLabel>("LSymSize")->text(), QString("147,456"));
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[21].mask);
    QCOMPARE(w.downMask(), GroupMaskTable[21].mask & kButtonTags);
    QCOMPARE(w.page().antiSubgroupIndex(), std::vector<int>{29});
    QCOMPARE(w.raisedMask(), std::uint64_t{0});

    w.chooseGroup(25);  // C2v (a2) lists the Cs (a) of row 33
    QCOMPARE(w.page().antiSubgroupIndex(), (std::vector<int>{29, 33}));
    QCOMPARE(subgroups->itemText(1), QString("Cs (a)"));
}

void SymmetryPageTest::buttonsCloseTheGroupAndReleaseWhatTheOthersGenerate() {
    SymWindow w;
    w.chooseGroup(21);  // C4: the quarter turn about U-D and the half turn it generates
    QCOMPARE(w.downMask(), (std::uint64_t{1} << 2) | (std::uint64_t{1} << 4));
    w.page().button(2)->click();  // a button click leaves the group list
    QCOMPARE(w.get<QComboBox>("CbSymmetries")->currentIndex(), -1);
    QCOMPARE(w.get<QComboBox>("CBASy")->count(), 0);
    QVERIFY(w.page().antiSubgroupIndex().empty());
    QVERIFY(w.get<QLabel>("LSymSize")->text().isEmpty());  // no group chosen: no count shown
    QVERIFY(w.get<QLabel>("LSymN")->text().isEmpty());
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[29].mask);  // the half turn stays
    QVERIFY(w.page().button(4)->isDownState());

    // Releasing a symmetry that the other pressed buttons generate releases every button.
    w.chooseGroup(21);
    w.page().button(4)->click();
    QCOMPARE(w.downMask(), std::uint64_t{0});
    QCOMPARE(w.page().symmetrySet(), std::uint64_t{1});

    w.page().button(16)->click();  // a third turn: C3
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[26].mask);
    QVERIFY(!w.page().button(20)->isDownState());  // another diagonal stays up
    w.page().button(13)->click();  // with the inversion: S6
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[15].mask);
    QCOMPARE(w.page().normalizerMask() & GroupMaskTable[15].mask, GroupMaskTable[15].mask);

    w.get<QPushButton>("BClearSym")->click();
    QCOMPARE(w.downMask(), std::uint64_t{0});
    QCOMPARE(w.page().symmetrySet(), std::uint64_t{1});
}

void SymmetryPageTest::antisymmetrySubgroupsRaiseTheOtherElements() {
    SymWindow w;
    w.chooseGroup(0);
    w.get<QCheckBox>("CSelfInverse")->click();
    w.get<QRadioButton>("RBASym")->click();
    QVERIFY(!w.get<QGroupBox>("GBSpeed")->isVisibleTo(&w.page()));
    QVERIFY(w.get<QGroupBox>("GBAntiSym")->isVisibleTo(&w.page()));
    QVERIFY(w.get<QPlainTextEdit>("MemoAntisym")->isVisibleTo(&w.page()));
    // Oh over O: the 24 reflections are antisymmetries; CSelfInverse was unchecked.
    QVERIFY(!w.get<QCheckBox>("CSelfInverse")->isChecked());
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[1].mask);
    QCOMPARE(w.page().antiSymmetryMask(), GroupMaskTable[0].mask & ~GroupMaskTable[1].mask);
    QCOMPARE(std::popcount(w.page().antiSymmetryMask()), 24);
    QCOMPARE(w.raisedMask(), w.page().antiSymmetryMask() & kButtonTags);

    w.chooseSubgroup(2);  // Th
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[4].mask);
    QCOMPARE(w.page().antiSymmetryMask(), GroupMaskTable[0].mask & ~GroupMaskTable[4].mask);

    // Back to symmetries: the whole group again, nothing raised.
    w.get<QRadioButton>("RBSym")->click();
    QVERIFY(w.get<QGroupBox>("GBSpeed")->isVisibleTo(&w.page()));
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[0].mask);
    QCOMPARE(w.raisedMask(), std::uint64_t{0});
}

void SymmetryPageTest::selfInverseAndIsomorphBoxesFollowTheirRules() {
    SymWindow w;
    auto* selfInverse = w.get<QCheckBox>("CSelfInverse");
    auto* noSelfInverse = w.get<QCheckBox>("CBSelfInverse");
    w.chooseGroup(21);
    selfInverse->click();
    QCOMPARE(w.page().antiSymmetryMask(), GroupMaskTable[21].mask);  // every symmetry, too
    QCOMPARE(w.raisedMask(), GroupMaskTable[21].mask & kButtonTags);
    selfInverse->click();
    w.get<QRadioButton>("RBHigher")->click();
    QVERIFY(noSelfInverse->isEnabled());
    w.get<QRadioButton>("RBExact")->click();
    QVERIFY(noSelfInverse->isEnabled());  // exact does not disable it again
    noSelfInverse->click();
    QVERIFY(noSelfInverse->isChecked());
    selfInverse->click();
    QVERIFY(selfInverse->isChecked());
    QVERIFY(!noSelfInverse->isChecked());

    auto* isomorph = w.get<QCheckBox>("CBIsomorph");
    QVERIFY(!isomorph->isChecked());
    w.get<QRadioButton>("RBEdgesO")->click();
    QVERIFY(isomorph->isChecked());
    isomorph->click();
    QVERIFY(isomorph->isChecked());  // cannot be unchecked while corners are ignored
    w.get<QRadioButton>("RBCornersO")->click();
    isomorph->click();
    QVERIFY(isomorph->isChecked());
    w.get<QRadioButton>("RBAll")->click();
    isomorph->click();
    QVERIFY(!isomorph->isChecked());
}

void SymmetryPageTest::popupUsesAsAntisymmetryAndAppliesToTheSelection() {
    SymWindow w;
    const FaceletCube cube = cubeOf("R U F' L2 D");
    w.add(cube, "", "D' L2 F U' R'  (5f)");
    QMenu* popup = w.page().symmetryPopup();
    QAction* apply = popup->findChild<QAction*>("MIApplySymToSel");
    QAction* anti = popup->findChild<QAction*>("MIUseAsAntiSymmetry");
    w.page().openPopup(w.page().button(11), QPoint(0, 0));
    QVERIFY(!apply->isEnabled());  // no anchor yet
    popup->hide();
    w.click(0);
    QCOMPARE(w.list().anchor, 0);
    w.page().openPopup(w.page().button(11), QPoint(0, 0));
    QVERIFY(apply->isEnabled());
    apply->trigger();
    popup->hide();
    // Tag 11 is applied through its inverse's steps: 16a + 8f + 2u + r of that number.
    const int k = symmetries().symInverse[11];
    FaceletCube expected = cube;
    const int steps[4] = {k / 16, (k / 8) % 2, (k / 2) % 4, k % 2};
    for (int basic = 0; basic < 4; ++basic)
        for (int i = 0; i < steps[basic]; ++i) applyBasicSymmetry(expected, basic);
    QCOMPARE(w.list().at(0).cube.f, expected.f);
    QVERIFY(w.list().at(0).solverText != "D' L2 F U' R'  (5f)");  // the maneuver turned with it

    w.page().openPopup(w.page().button(2), QPoint(0, 0));
    anti->trigger();
    popup->hide();
    QVERIFY(!w.page().button(2)->isFlat());
    QVERIFY(w.page().antiSymmetryMask() & (std::uint64_t{1} << 2));
    QVERIFY(w.page().symmetrySet() & (std::uint64_t{1} << 4));  // two antisymmetries: a symmetry
}

void SymmetryPageTest::transferShowsTheEntrysSymmetries() {
    SymWindow w;
    w.add(cubeOf("U"));
    w.add(cubeOf("M2 E2 S2"));  // full symmetry, its own inverse
    FaceletCube twoFlipped;    // corners solved, UF and UB flipped
    std::swap(twoFlipped.f[7], twoFlipped.f[19]);
    std::swap(twoFlipped.f[1], twoFlipped.f[46]);
    auto corners = w.add(twoFlipped);
    corners->cubieSubset = 1;
    // The cube menu's transfer.
    w.click(0, Qt::NoModifier, Qt::RightButton);
    QAction* transfer = w.view().cubeMenu()->findChild<QAction*>("MTransferSym");
    QVERIFY(transfer->isEnabled());
    transfer->trigger();
    w.view().cubeMenu()->hide();
    QCOMPARE(w.form->pages()->currentWidget(), &w.page());
    // U is turned by the quarter turns about U-D into itself and by the mirror planes through
    // that axis into its inverse.
    QCOMPARE(w.page().symmetrySet(), GroupMaskTable[21].mask);
    QCOMPARE(w.page().antiSymmetryMask(), GroupMaskTable[11].mask & ~GroupMaskTable[21].mask);
    QVERIFY(!w.get<QCheckBox>("CSelfInverse")->isChecked());

    // A click on an entry while the page shows transfers it too.
    w.click(1);
    QCOMPARE(w.page().symmetrySet(), kAllSymmetries);
    QCOMPARE(w.downMask(), kButtonTags);
    QVERIFY(w.get<QCheckBox>("CSelfInverse")->isChecked());
    QCOMPARE(w.page().antiSymmetryMask(), kAllSymmetries);

    // Only the corners count for an entry about corners.
    w.click(2);
    QCOMPARE(w.page().symmetrySet(), kAllSymmetries);
    corners->cubieSubset = 0;
    w.click(2);
    QCOMPARE(w.page().symmetrySet(), symmetryMasks(twoFlipped).symmetry);
    QVERIFY(w.page().symmetrySet() != kAllSymmetries);

    // Unknown pieces cannot be compared: nothing is pressed (and nothing is read out of range).
    FaceletCube open;
    open.clear();
    w.add(open);
    w.click(3);
    QCOMPARE(w.page().symmetrySet(), std::uint64_t{1});
    QCOMPARE(w.downMask(), std::uint64_t{0});

    // While another page shows, a click only selects.
    w.form->pages()->setCurrentWidget(w.form->editorPage());
    w.click(1);
    QCOMPARE(w.selected(), std::vector<int>{1});
    QCOMPARE(w.page().symmetrySet(), std::uint64_t{1});
}

void SymmetryPageTest::searchAddsItsCubesAndRestoresTheControls() {
    SymWindow w;
    w.run()->click();  // no group: nothing starts
    QCOMPARE(w.run()->text(), QString("Start Search"));
    QVERIFY(!w.page().searchRunning());

    w.add(cubeOf("R"));
    w.chooseGroup(0);
    w.run()->click();
    QCOMPARE(w.run()->text(), QString("Stop Search"));
    QVERIFY(!w.get<QComboBox>("CbSymmetries")->isEnabled());
    QVERIFY(!w.get<QCheckBox>("CBContinuous")->isEnabled());
    QVERIFY(!w.page().button(13)->isEnabled());
    QVERIFY(!w.clearOffered());
    QVERIFY(!w.symmetryTransferOffered(0));
    QVERIFY(w.waitForIdle());
    QVERIFY(w.get<QComboBox>("CbSymmetries")->isEnabled());
    QVERIFY(w.page().button(13)->isEnabled());
    QCOMPARE(int(w.list().size()), 3);
    QCOMPARE(w.list().at(1).cube.f, FaceletCube().f);
    QCOMPARE(w.list().at(2).cube.f, cubeOf("M2 E2 S2").f);
    QVERIFY(!w.list().at(1).showSolver);
    QVERIFY(w.list().isoCheck);  // switched off for the adds only
    QVERIFY(w.clearOffered());
    QVERIFY(w.symmetryTransferOffered(0));

    // Edges only (corners ignored): the entries say so.
    w.get<QRadioButton>("RBEdgesO")->click();
    w.get<QRadioButton>("RBHigher")->click();
    w.chooseGroup(13);
    w.run()->click();
    QVERIFY(w.waitForIdle());
    QVERIFY(int(w.list().size()) > 3);
    QCOMPARE(w.list().at(3).cubieSubset, 2);
}

void SymmetryPageTest::stopEndsTheSearchAndKeepsItsCubes() {
    SymWindow w;
    w.chooseGroup(32);  // every cube: far too many
    w.get<QRadioButton>("RBHigher")->click();
    for (int n = 3; n <= 6; ++n) w.get<QCheckBox>(QString("CBn%1").arg(n).toLatin1().constData())->setChecked(true);
    w.get<QCheckBox>("CBIsomorph")->setChecked(true);
    w.run()->click();
    QVERIFY(QTest::qWaitFor([&] { return w.list().size() >= 20; }, 20000));
    QCOMPARE(w.run()->text(), QString("Stop Search"));
    w.run()->click();
    QVERIFY(w.waitForIdle(5000));
    QVERIFY(!w.page().searchRunning());
    const std::size_t kept = w.list().size();
    QVERIFY(kept >= 20);
    QTest::qWait(100);
    QCOMPARE(w.list().size(), kept);
    QVERIFY(w.get<QComboBox>("CbSymmetries")->isEnabled());
}

}  // namespace tx::ui::test
