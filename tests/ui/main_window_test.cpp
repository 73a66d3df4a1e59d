#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QAbstractScrollArea>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>

#include "tables/tables.hpp"
#include "ui/editor_page.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/settings.hpp"
#include "window_fixture.hpp"
#include "support/scripted_prompts.hpp"

namespace tx::ui::test {

namespace {

const std::string kFirstRunQuestion =
    "Before the first run, Tesserix needs to create files in your Tesserix folder. This may take up to 15 "
    "minutes and about 65 MB of space on your harddisk. Proceed?";

const char* const kStartUpItems[] = {"HugeSolver", "WebServer1", "AllowSliceMoves1", "FixCenterFacelets"};

}  // namespace

void MainWindowTest::captionPagesMenusAndIdleProgress() {
    WindowFixture w(false);
    TForm1& form = *w.form;
    QCOMPARE(form.windowTitle(), QString("untitled.txt - Tesserix 5.00s"));
    form.setWorkspaceName("cubes.txt");
    QCOMPARE(form.windowTitle(), QString("cubes.txt - Tesserix 5.00s"));
    QCOMPARE(form.pages()->widget(0)->objectName(), QString("TabSheet1"));
    QVERIFY(form.findChild<QAbstractScrollArea*>("ManeuverWindow"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.findChild<QProgressBar*>("ProgressBar")->isVisible());
    QVERIFY(!form.findChild<QLabel*>("ProgressLabel")->isVisible());
    // The editor reads its settings from the data folder's cube.ini.
    QCOMPARE(form.settings().path(), w.folder.path() / "cube.ini");
    QCOMPARE(form.editor().scheme().colors, ColorScheme::defaults().colors);

    // Menus in order, each item under its name; the switches carry check marks.
    QStringList menus;
    for (QAction* a : form.menuBar()->actions()) menus << a->menu()->objectName();
    QCOMPARE(menus, QStringList({"File1", "Edit1", "Cubes1", "Autorun1", "Options1", "Help1"}));
    QStringList options;
    for (QAction* a : form.optionsMenu()->actions())
        if (!a->isSeparator()) options << a->objectName();
    QCOMPARE(options, QStringList({"TwoPhaseAlgorithm1", "HugeSolver", "AllowSliceMoves1", "FreeThreadsonTerminate1",
                                   "IgnoreIsoOnLoad", "IsoInvInclude", "FixCenterFacelets", "EditCenters",
                                   "WebServer1", "TimingTest1"}));
    for (const char* name :
         {"AllowSliceMoves1", "FreeThreadsonTerminate1", "IgnoreIsoOnLoad", "IsoInvInclude", "FixCenterFacelets"}) {
        QVERIFY2(w.item(name)->isCheckable(), name);
        QVERIFY2(!w.item(name)->isChecked(), name);
    }
    QVERIFY(!w.item("EditCenters")->isCheckable());
    QVERIFY(w.item("About1"));
    // Before the tables are there nothing that needs them can be chosen.
    for (const char* name : kStartUpItems) QVERIFY2(!w.item(name)->isEnabled(), name);
    QVERIFY(!w.item("EditCenters")->isEnabled());
    QVERIFY(w.item("TwoPhaseAlgorithm1")->isEnabled());
}

void MainWindowTest::startUpDisablesAndEnablesSearchControls() {
    TempFolder folder;
    {
        Settings settings(folder.path() / "cube.ini");
        settings.writeColor(0, 0x010203);
        settings.writeAutoFix(false);
    }
    ScriptedPrompts prompts;
    FakeTables tables;
    TForm1 form({folder.path(), &prompts, true, "Using the fallback folder.", &tables});
    auto* add = form.findChild<QPushButton*>("ButtonAddSolve");
    QVERIFY(add);
    QCOMPARE(form.editor().scheme()[0], std::uint32_t(0x010203));
    QVERIFY(!form.editor().autoFix());

    bool busyInside = false, addInside = true, fileInside = true, cubesInside = true;
    int itemsInside = 0;
    std::vector<std::string> promptsBefore;
    tables.during = [&] {
        busyInside = form.busy();
        addInside = add->isEnabled() || form.findChild<QPushButton*>("ButtonAddGen")->isEnabled();
        fileInside = form.fileMenu()->menuAction()->isEnabled();
        cubesInside = form.cubesMenu()->menuAction()->isEnabled();
        for (const char* name : kStartUpItems) itemsInside += form.findChild<QAction*>(name)->isEnabled();
        promptsBefore = prompts.texts();
    };
    QSignalSpy finished(&form, &TForm1::startUpFinished);
    QVERIFY(finished.wait(5000));  // the posted start-up message ran
    QCOMPARE(finished.first().first().toBool(), true);
    QCOMPARE(tables.calls, std::vector<std::string>{"startUp face"});
    QVERIFY(busyInside);
    QVERIFY(!addInside);
    QVERIFY(!fileInside);
    QVERIFY(!cubesInside);
    QCOMPARE(itemsInside, 0);
    // The note about the folder comes before the tables.
    QCOMPARE(promptsBefore, std::vector<std::string>{"Using the fallback folder."});

    QVERIFY(!form.busy());
    QVERIFY(form.tablesReady());
    QVERIFY(add->isEnabled());
    QVERIFY(form.fileMenu()->menuAction()->isEnabled());
    QVERIFY(form.cubesMenu()->menuAction()->isEnabled());
    for (const char* name : kStartUpItems) QVERIFY2(form.findChild<QAction*>(name)->isEnabled(), name);
    QVERIFY(!form.options().search->hugeMode);
    QVERIFY(!form.findChild<QProgressBar*>("ProgressBar")->isVisible());
    QCOMPARE(prompts.texts(), std::vector<std::string>{"Using the fallback folder."});

    form.setSearchControlsEnabled(false);
    QVERIFY(!add->isEnabled());
    QVERIFY(!form.findChild<QPushButton*>("ButtonAddGen")->isEnabled());
    form.setSearchControlsEnabled(true);
    QVERIFY(add->isEnabled());
}

// The real loader on an empty folder asks before it creates anything; No ends the program.
void MainWindowTest::firstRunDeclinedClosesTheProgram() {
    TempFolder folder;
    ScriptedPrompts prompts;
    prompts.answers = {Answer::No};
    TForm1 form({folder.path(), &prompts, false, ""});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy finished(&form, &TForm1::startUpFinished);
    form.runStartUp();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(prompts.shown.size(), std::size_t(1));  // no "really quit?" on the way out
    QCOMPARE(prompts.shown[0].text, kFirstRunQuestion);
    QCOMPARE(prompts.shown[0].caption, std::string());
    QCOMPARE(prompts.shown[0].icon, Icon::Warning);
    QCOMPARE(prompts.shown[0].buttons, Buttons::YesNo);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.busy());
    QVERIFY(!form.tablesReady());
    QVERIFY(!std::filesystem::exists(folder.path() / "RawFlipSlice"));
    QVERIFY(!std::filesystem::exists(folder.path() / "phase1PF.prun"));
}

void MainWindowTest::noDiskSpaceClosesTheProgram() {
    WindowFixture w(false);
    w.tables.startResult = StartResult::NoDiskSpace;
    w.form->show();
    w.form->runStartUp();
    QVERIFY(!w.form->isVisible());
    QVERIFY(w.prompts.shown.empty());
    QVERIFY(!w.form->tablesReady());
    QVERIFY(!w.item("HugeSolver")->isEnabled());
}

// With every table file present the start-up only loads: no question, no file written.
// The files come from the shared test table folder; building them here would take too long.
void MainWindowTest::startUpLoadsExistingTables() {
    const char* shared = std::getenv("TESSERIX_TEST_DATA");
    if (!shared || !std::filesystem::exists(std::filesystem::path(shared) / "phase2P.prun"))
        QSKIP("TESSERIX_TEST_DATA does not name a folder with the tables");
    TempFolder folder;
    const char* files[] = {"RawFlipSlice",   "flipUDslicex.move", "phase1PF.prun",
                           "phase2P.prun",   "fullCornerF.prun",  "fullCornerFs.prun"};
    for (const char* name : files)
        std::filesystem::create_symlink(std::filesystem::path(shared) / name, folder.path() / name);

    ScriptedPrompts prompts;
    prompts.defaultAnswer = Answer::No;  // a question would stop the start-up
    TForm1 form({folder.path(), &prompts, true, ""});
    form.show();
    auto* label = form.findChild<QLabel*>("ProgressLabel");
    QSignalSpy finished(&form, &TForm1::startUpFinished);
    QVERIFY(finished.wait(120000));
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(prompts.shown.empty());
    QVERIFY(form.tablesReady());
    QVERIFY(!form.busy());
    QVERIFY(form.findChild<QPushButton*>("ButtonAddSolve")->isEnabled());
    QVERIFY(form.findChild<QAction*>("HugeSolver")->isEnabled());
    QVERIFY(form.findChild<QAction*>("WebServer1")->isEnabled());
    QVERIFY(!label->isVisible());
    QVERIFY(!form.findChild<QProgressBar*>("ProgressBar")->isVisible());
    const TableSet loaded = form.tables().current();
    QVERIFY(loaded.ready());
    QCOMPARE(loaded.standard->phase1.bytes.size(), std::size_t(28181682));
    QCOMPARE(loaded.standard->phase2.bytes.size(), std::size_t(22321152));
    QVERIFY(!loaded.sliceMode());
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
        QVERIFY2(e.is_symlink(), e.path().c_str());  // nothing new was written
    }
    QCOMPARE(entries, 6);
}

void MainWindowTest::closeIsRefusedWhileBusy() {
    WindowFixture w(false);
    w.form->show();
    bool closedWhileBusy = true, controlsEnabledWhileBusy = true;
    w.tables.during = [&] {
        controlsEnabledWhileBusy = w.addButtonsEnabled();
        closedWhileBusy = w.form->close();
    };
    w.form->runStartUp();
    QVERIFY(!closedWhileBusy);
    QVERIFY(!controlsEnabledWhileBusy);
    QCOMPARE(w.prompts.texts(), std::vector<std::string>{"Tesserix is busy. Please wait."});
    QVERIFY(w.form->isVisible());
    QVERIFY(w.addButtonsEnabled());
}

void MainWindowTest::closeAsksAndRespectsTheAnswer() {
    WindowFixture w;
    TForm1& form = *w.form;
    form.show();
    w.prompts.answers = {Answer::No};
    QVERIFY(!form.close());
    QCOMPARE(w.prompts.texts().back(), std::string("Do you really want to quit?"));
    QVERIFY(form.isVisible());

    bool dirty = true;
    int saves = 0;
    bool saveWorks = false;
    form.hasUnsavedChanges = [&] { return dirty; };
    form.saveWorkspace = [&] {
        ++saves;
        return saveWorks;
    };
    const std::string question = "Do you want to save the cubes in the Main Window before exiting Tesserix?";
    w.prompts.answers = {Answer::Cancel};
    QVERIFY(!form.close());
    QCOMPARE(w.prompts.texts().back(), question);
    QCOMPARE(w.prompts.shown.back().buttons, Buttons::YesNoCancel);
    w.prompts.answers = {Answer::Yes};
    QVERIFY(!form.close());  // the save failed: stay open with the list
    QCOMPARE(saves, 1);
    saveWorks = true;
    w.prompts.answers = {Answer::Yes};
    QVERIFY(form.close());
    QCOMPARE(saves, 2);

    form.show();
    w.prompts.answers = {Answer::No};
    QVERIFY(form.close());  // No quits without saving
    QCOMPARE(saves, 2);
    const auto count = w.prompts.shown.size();
    form.show();
    dirty = false;
    w.prompts.answers = {Answer::Yes};
    QVERIFY(form.close());
    QCOMPARE(w.prompts.shown.size(), count + 1);
    QCOMPARE(w.prompts.texts().back(), std::string("Do you really want to quit?"));

    // File > Exit asks the same.
    form.show();
    w.prompts.answers = {Answer::No};
    w.item("Exit1")->trigger();
    QVERIFY(form.isVisible());
    QCOMPARE(w.prompts.texts().back(), std::string("Do you really want to quit?"));
}

}  // namespace tx::ui::test
