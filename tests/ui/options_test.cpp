#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include "ui/center_dlg.hpp"
#include "ui/opt_option_form.hpp"
#include "ui/option_form.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/settings.hpp"
#include "window_fixture.hpp"
#include "support/scripted_prompts.hpp"

namespace tx::ui::test {

namespace {

const std::string kCenterQuestion =
    "Solving center-twisted Cubes needs a 430 MB table and about 500 MB of RAM. Proceed?";

// The stop lengths whose radio button is checked.
std::vector<int> checkedLengths(TForm1& form) {
    std::vector<int> out;
    for (int length = 16; length <= 23; ++length) {
        auto* b = form.optionForm()->findChild<QRadioButton*>(QString("RadioButton%1").arg(length));
        if (!b) return {-1};
        if (b->property("Tag").toInt() != length) return {-2};
        if (b->isChecked()) out.push_back(length);
    }
    return out;
}

// What the window looks like in the middle of a load.
struct BusyProbe {
    bool busy = false;
    bool addButtons = true;
    bool fileMenu = true;
    bool item = true;
    int runs = 0;
    void take(const WindowFixture& w, const char* itemName) {
        ++runs;
        busy = w.form->busy();
        addButtons = w.addButtonsEnabled();
        fileMenu = w.form->fileMenu()->menuAction()->isEnabled();
        item = w.item(itemName)->isEnabled();
    }
    bool allOff() const { return runs == 1 && busy && !addButtons && !fileMenu && !item; }
};

}  // namespace

void OptionsTest::twoPhaseOptionsAreWrittenAtOnceAndReadBack() {
    TempFolder folder;
    {
        Settings s(folder.path() / "cube.ini");
        s.writeStopAt(18);
        s.writeTripleSearch(true);
        s.writeInt(ini::kTwoPhase, ini::kAutoTime, 250);
    }
    ScriptedPrompts prompts;
    FakeTables tables;
    {
        TForm1 form({folder.path(), &prompts, false, "", &tables});
        QCOMPARE(checkedLengths(form), std::vector<int>{18});
        QCOMPARE(form.options().search->stopAt, 18);
        QVERIFY(form.options().search->triple);
        QCOMPARE(form.autorunInterval(), 250);
        auto* triple = form.optionForm()->findChild<QCheckBox*>("CheckTripleSearch");
        QVERIFY(triple->isChecked());

        form.findChild<QAction*>("TwoPhaseAlgorithm1")->trigger();
        QVERIFY(form.optionForm()->isVisible());
        QTest::mouseClick(form.optionForm()->findChild<QRadioButton*>("RadioButton22"), Qt::LeftButton);
        QCOMPARE(form.options().search->stopAt, 22);
        QCOMPARE(Settings(folder.path() / "cube.ini").load().stopAt, 22);  // on disk at once
        QTest::mouseClick(triple, Qt::LeftButton);
        QVERIFY(!form.options().search->triple);
        QCOMPARE(Settings(folder.path() / "cube.ini").readString(ini::kTwoPhase, ini::kTripleSearch),
                 std::optional<std::string>("0"));
        QTest::mouseClick(form.optionForm()->findChild<QRadioButton*>("RadioButton16"), Qt::LeftButton);
        QCOMPARE(checkedLengths(form), std::vector<int>{16});
        QCOMPARE(Settings(folder.path() / "cube.ini").load().stopAt, 16);
        auto* fast = form.optionForm()->findChild<QCheckBox*>("CBFastSearch");
        QVERIFY(fast && !fast->isChecked());
        QTest::mouseClick(fast, Qt::LeftButton);
        QVERIFY(form.options().search->fastSearch);
        QCOMPARE(Settings(folder.path() / "cube.ini").readString(ini::kTwoPhase, ini::kFastSearch),
                 std::optional<std::string>("1"));
    }
    {
        TForm1 form({folder.path(), &prompts, false, "", &tables});
        QCOMPARE(checkedLengths(form), std::vector<int>{16});
        QCOMPARE(form.options().search->stopAt, 16);
        QVERIFY(!form.options().search->triple);
        QVERIFY(!form.optionForm()->findChild<QCheckBox*>("CheckTripleSearch")->isChecked());
        QCOMPARE(form.autorunInterval(), 250);  // read only: never written back
        QVERIFY(form.options().search->fastSearch);
        auto* fast = form.optionForm()->findChild<QCheckBox*>("CBFastSearch");
        QVERIFY(fast->isChecked());
        QTest::mouseClick(fast, Qt::LeftButton);
        QVERIFY(!form.options().search->fastSearch);
        QVERIFY(!Settings(folder.path() / "cube.ini").load().fastSearch);
    }
    // A length no button carries checks none of them but still is the target.
    Settings(folder.path() / "cube.ini").writeStopAt(30);
    TForm1 form({folder.path(), &prompts, false, "", &tables});
    QCOMPARE(checkedLengths(form), std::vector<int>{});
    QCOMPARE(form.options().search->stopAt, 30);
    QVERIFY(prompts.shown.empty());
}

void OptionsTest::twoPhaseDefaultsWithoutSettingsFile() {
    WindowFixture w(false);
    QCOMPARE(checkedLengths(*w.form), std::vector<int>{20});
    QCOMPARE(w.form->options().search->stopAt, 20);
    QVERIFY(!w.form->options().search->triple);
    QVERIFY(!w.form->options().search->fastSearch);
    QVERIFY(!w.form->optionForm()->findChild<QCheckBox*>("CBFastSearch")->isChecked());
    QCOMPARE(w.form->autorunInterval(), 10);
    QVERIFY(!std::filesystem::exists(w.folder.path() / "cube.ini"));  // reading writes nothing
}

void OptionsTest::sliceSwitchIsRefusedWhileTheListHoldsCubes() {
    WindowFixture w;
    w.form->listEmpty = [] { return false; };
    QAction* slice = w.item("AllowSliceMoves1");
    QVERIFY(slice->isEnabled());
    slice->trigger();
    QCOMPARE(w.prompts.shown.size(), std::size_t(1));
    QCOMPARE(w.prompts.shown[0].text, std::string("Empty the Main Window before switching search mode!"));
    QCOMPARE(w.prompts.shown[0].caption, std::string("Options Menu"));
    QVERIFY(!slice->isChecked());
    QVERIFY(!w.form->options().search->sliceMode);
    QCOMPARE(w.form->options().search->metricLetter(), 'f');
    QCOMPARE(w.tables.calls, std::vector<std::string>{"startUp face"});
}

void OptionsTest::sliceSwitchReloadsWithControlsDisabled() {
    WindowFixture w;
    QAction* slice = w.item("AllowSliceMoves1");
    BusyProbe probe;
    w.tables.during = [&] { probe.take(w, "AllowSliceMoves1"); };
    slice->trigger();
    QVERIFY(probe.allOff());
    QVERIFY(slice->isChecked());
    QVERIFY(w.form->options().search->sliceMode);
    QCOMPARE(w.form->options().search->metricLetter(), 's');
    QCOMPARE(w.tables.calls.back(), std::string("switchMode slice"));
    QVERIFY(!w.form->busy());
    QVERIFY(w.addButtonsEnabled());
    QVERIFY(slice->isEnabled());

    // A failed reload still gives the controls back.
    w.tables.switchResult = false;
    slice->trigger();
    QCOMPARE(w.tables.calls.back(), std::string("switchMode face"));
    QVERIFY(!slice->isChecked());
    QCOMPARE(w.form->options().search->metricLetter(), 'f');
    QVERIFY(!w.form->busy());
    QVERIFY(w.addButtonsEnabled());
    QVERIFY(w.form->fileMenu()->menuAction()->isEnabled());
    QVERIFY(w.prompts.shown.empty());
}

void OptionsTest::sliceSwitchDropsCentresWhoseTablesFail() {
    WindowFixture w;
    w.item("FixCenterFacelets")->trigger();  // answered Yes
    QVERIFY(w.item("FixCenterFacelets")->isChecked());
    w.form->findChild<QAction*>("EditCenters")->trigger();
    QVERIFY(w.form->centerDlg()->isVisible());

    w.tables.centerResult = false;
    w.item("AllowSliceMoves1")->trigger();
    QCOMPARE(w.tables.calls.back(), std::string("switchMode slice centres"));
    QVERIFY(w.form->options().search->sliceMode);
    QVERIFY(!w.item("FixCenterFacelets")->isChecked());
    QVERIFY(!*w.form->options().fixCenterFacelets);
    QVERIFY(!w.form->editor().cube().centersCount);
    QVERIFY(!w.item("EditCenters")->isEnabled());
    QVERIFY(!w.form->centerDlg()->isVisible());
    QVERIFY(w.find("ButtonU")->isEnabled());
    QVERIFY(w.addButtonsEnabled());
}

void OptionsTest::freeThreadsOnlyWhileTheListIsEmpty() {
    WindowFixture w;
    bool empty = false;
    w.form->listEmpty = [&] { return empty; };
    QAction* item = w.item("FreeThreadsonTerminate1");
    emit w.form->optionsMenu()->aboutToShow();
    QVERIFY(!item->isEnabled());
    empty = true;
    emit w.form->optionsMenu()->aboutToShow();
    QVERIFY(item->isEnabled());
    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(w.form->options().search->freeThreadsOnTerminate);
    item->trigger();
    QVERIFY(!w.form->options().search->freeThreadsOnTerminate);
}

void OptionsTest::isomorphismSwitchesToggle() {
    WindowFixture w;
    w.item("IgnoreIsoOnLoad")->trigger();
    QVERIFY(*w.form->options().ignoreIsoOnLoad);
    QVERIFY(!*w.form->options().isoInvInclude);
    w.item("IsoInvInclude")->trigger();
    QVERIFY(*w.form->options().isoInvInclude);
    w.item("IgnoreIsoOnLoad")->trigger();
    QVERIFY(!*w.form->options().ignoreIsoOnLoad);

    // Linking the options elsewhere takes the values along; the menu shows the new home.
    OwnOptions list;
    w.form->linkOptions(list.links());
    QVERIFY(list.isoInvInclude);
    QVERIFY(!list.ignoreIsoOnLoad);
    list.search.sliceMode = true;
    emit w.form->optionsMenu()->aboutToShow();
    QVERIFY(w.item("AllowSliceMoves1")->isChecked());
    w.item("IsoInvInclude")->trigger();
    QVERIFY(!list.isoInvInclude);
}

void OptionsTest::fixCenterFaceletsAnsweredNoStaysUnchecked() {
    WindowFixture w;
    w.prompts.answers = {Answer::No};
    QAction* fix = w.item("FixCenterFacelets");
    fix->trigger();
    QCOMPARE(w.prompts.shown.size(), std::size_t(1));
    QCOMPARE(w.prompts.shown[0].text, kCenterQuestion);
    QCOMPARE(w.prompts.shown[0].caption, std::string());
    QCOMPARE(w.prompts.shown[0].icon, Icon::Warning);
    QCOMPARE(w.prompts.shown[0].buttons, Buttons::YesNo);
    QVERIFY(!fix->isChecked());
    QVERIFY(!*w.form->options().fixCenterFacelets);
    QVERIFY(!w.form->editor().cube().centersCount);
    QVERIFY(!w.item("EditCenters")->isEnabled());
    QCOMPARE(w.tables.calls, std::vector<std::string>{"startUp face"});
    QVERIFY(fix->isEnabled());
}

void OptionsTest::fixCenterFaceletsLoadsTablesWithControlsDisabled() {
    WindowFixture w;
    QAction* fix = w.item("FixCenterFacelets");
    BusyProbe probe;
    w.tables.during = [&] { probe.take(w, "FixCenterFacelets"); };
    fix->trigger();
    QVERIFY(probe.allOff());
    QCOMPARE(w.tables.calls.back(), std::string("loadCenterTables"));
    QVERIFY(fix->isChecked());
    QVERIFY(fix->isEnabled());
    QVERIFY(*w.form->options().fixCenterFacelets);
    QVERIFY(w.form->editor().cube().centersCount);
    QVERIFY(w.item("EditCenters")->isEnabled());
    QVERIFY(w.addButtonsEnabled());
    QVERIFY(w.form->fileMenu()->menuAction()->isEnabled());

    // Off again: tables freed, editor back to plain centres, EditCenters gone.
    w.tables.during = nullptr;
    fix->trigger();
    QCOMPARE(w.tables.calls.back(), std::string("freeCenterTables"));
    QVERIFY(!fix->isChecked());
    QVERIFY(!w.form->editor().cube().centersCount);
    QVERIFY(!w.item("EditCenters")->isEnabled());
    QCOMPARE(w.prompts.texts(), std::vector<std::string>{kCenterQuestion});  // off asks nothing
}

void OptionsTest::fixCenterFaceletsFailedLoadLeavesItOff() {
    WindowFixture w;
    w.tables.centerResult = false;  // the loader declined, ran out of memory or could not write
    QAction* fix = w.item("FixCenterFacelets");
    fix->trigger();
    QCOMPARE(w.tables.calls.back(), std::string("loadCenterTables"));
    QVERIFY(!fix->isChecked());
    QVERIFY(!w.form->editor().cube().centersCount);
    QVERIFY(!w.item("EditCenters")->isEnabled());
    QVERIFY(w.addButtonsEnabled());
    QVERIFY(fix->isEnabled());
    QVERIFY(!w.form->busy());
}

void OptionsTest::hugeOptionDialog() {
    WindowFixture w;
    bool empty = false;
    w.form->listEmpty = [&] { return empty; };
    TOptOptionForm* dialog = w.form->optOptionForm();
    auto* check = dialog->findChild<QCheckBox*>("CheckUseHuge");
    QVERIFY(check);
    w.item("HugeSolver")->trigger();
    QVERIFY(dialog->isVisible());
    QVERIFY(!check->isEnabled());  // cubes in the list
    dialog->hide();
    empty = true;
    w.item("HugeSolver")->trigger();
    QVERIFY(check->isEnabled());
    QCOMPARE(QDir::currentPath(), QDir(QString::fromStdString(w.folder.path().string())).canonicalPath());

    const QString text = dialog->findChild<QLabel*>("Label1")->text();
    for (const char* need : {"2.6 GB", "1881 MB", "data folder", "An empty Main Window."})
        QVERIFY2(text.contains(need), need);
    QVERIFY(text.contains(QString::fromStdString(w.folder.path().string())));

    // Checking the box alone does not switch huge mode on without the table; leaving the
    // dialog without OK loads nothing.
    check->click();
    QVERIFY(check->isChecked());
    QVERIFY(!w.form->options().search->hugeMode);
    dialog->reject();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(w.tables.calls, std::vector<std::string>{"startUp face"});
    w.item("HugeSolver")->trigger();
    QVERIFY(!check->isChecked());  // shows the mode in force

    // OK with the box clear: huge mode off, nothing loaded.
    dialog->findChild<QPushButton*>("OKButton")->click();
    QVERIFY(!dialog->isVisible());
    QVERIFY(!w.form->options().search->hugeMode);
    QCOMPARE(w.tables.calls.size(), std::size_t(1));
}

void OptionsTest::hugeOptionLoadsTableOnOk() {
    WindowFixture w;
    TOptOptionForm* dialog = w.form->optOptionForm();
    auto* check = dialog->findChild<QCheckBox*>("CheckUseHuge");
    auto* ok = dialog->findChild<QPushButton*>("OKButton");

    // A failed or declined load leaves huge mode off and the box clear.
    w.tables.hugeResult = false;
    w.item("HugeSolver")->trigger();
    check->click();
    ok->click();
    QCOMPARE(w.tables.calls.back(), std::string("loadHugeTable"));
    QVERIFY(!w.form->options().search->hugeMode);
    QVERIFY(!check->isChecked());
    QVERIFY(w.addButtonsEnabled());

    w.tables.hugeResult = true;
    BusyProbe probe;
    w.tables.during = [&] { probe.take(w, "HugeSolver"); };
    w.item("HugeSolver")->trigger();
    check->click();
    ok->click();
    QVERIFY(probe.allOff());
    QVERIFY(!dialog->isVisible());
    QVERIFY(w.form->options().search->hugeMode);
    QVERIFY(check->isChecked());
    QVERIFY(w.item("HugeSolver")->isEnabled());
    QVERIFY(w.addButtonsEnabled());
    QVERIFY(w.form->fileMenu()->menuAction()->isEnabled());

    // With the table in memory the box switches the mode without loading again.
    const auto loads = w.tables.calls.size();
    w.item("HugeSolver")->trigger();
    check->click();
    QVERIFY(!w.form->options().search->hugeMode);
    check->click();
    QVERIFY(w.form->options().search->hugeMode);
    ok->click();
    QCOMPARE(w.tables.calls.size(), loads);
    QVERIFY(w.form->options().search->hugeMode);
}

// A load lets the window repaint and take input; nothing may start a second load meanwhile.
void OptionsTest::loadsAreRefusedWhileBusy() {
    WindowFixture w;
    w.item("HugeSolver")->trigger();  // the dialog stays open during the switch below
    auto* check = w.form->optOptionForm()->findChild<QCheckBox*>("CheckUseHuge");
    check->click();
    w.tables.during = [&] {
        w.tables.during = nullptr;
        w.form->optOptionForm()->findChild<QPushButton*>("OKButton")->click();
        w.item("FixCenterFacelets")->trigger();  // disabled: does nothing
    };
    w.item("AllowSliceMoves1")->trigger();
    QCOMPARE(w.tables.calls, (std::vector<std::string>{"startUp face", "switchMode slice"}));
    QCOMPARE(w.prompts.texts(), std::vector<std::string>{"Tesserix is busy. Please wait."});
    QVERIFY(!w.form->options().search->hugeMode);
    QVERIFY(!w.item("FixCenterFacelets")->isChecked());
    QVERIFY(!w.form->busy());
    QVERIFY(w.addButtonsEnabled());
}

}  // namespace tx::ui::test
