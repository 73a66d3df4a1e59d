#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "ui/editor_page.hpp"
#include "ui/main_window.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/settings.hpp"
#include "ui_tests.hpp"

namespace tx::ui::test {

namespace {

struct Window {
    TempFolder folder;
    ScriptedPrompts prompts;
    TForm1 form{TForm1::Options{folder.path(), &prompts, false, ""}};
};

// A window whose table loading tries to close it, as a user would while tables are built.
class ClosingDuringLoad : public TForm1 {
public:
    using TForm1::TForm1;
    bool closedWhileBusy = true;
    bool controlsEnabledWhileBusy = true;

protected:
    void loadTables() override {
        controlsEnabledWhileBusy = findChild<QPushButton*>("ButtonAddSolve")->isEnabled();
        closedWhileBusy = close();
    }
};

}  // namespace

void MainWindowTest::captionPagesAndIdleProgress() {
    Window w;
    QCOMPARE(w.form.windowTitle(), QString("untitled.txt - Tesserix 5.00s"));
    w.form.setWorkspaceName("cubes.txt");
    QCOMPARE(w.form.windowTitle(), QString("cubes.txt - Tesserix 5.00s"));
    QCOMPARE(w.form.pages()->widget(0)->objectName(), QString("TabSheet1"));
    QVERIFY(w.form.findChild<QScrollArea*>("ManeuverWindow"));
    w.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    QVERIFY(!w.form.findChild<QProgressBar*>("ProgressBar")->isVisible());
    QVERIFY(!w.form.findChild<QLabel*>("ProgressLabel")->isVisible());
    // The editor reads its settings from the data folder's cube.ini.
    QCOMPARE(w.form.settings().path(), w.folder.path() / "cube.ini");
    QCOMPARE(w.form.editor().scheme().colors, ColorScheme::defaults().colors);
}

void MainWindowTest::startUpDisablesAndEnablesSearchControls() {
    TempFolder folder;
    {
        Settings settings(folder.path() / "cube.ini");
        settings.writeColor(0, 0x010203);
        settings.writeAutoFix(false);
    }
    ScriptedPrompts prompts;
    TForm1 form({folder.path(), &prompts, true, "Using the fallback folder."});
    auto* add = form.findChild<QPushButton*>("ButtonAddSolve");
    QVERIFY(add);
    QCOMPARE(form.editor().scheme()[0], std::uint32_t(0x010203));
    QVERIFY(!form.editor().autoFix());
    QSignalSpy finished(&form, &TForm1::startUpFinished);
    QVERIFY(finished.wait(5000));  // the posted start-up message ran
    QVERIFY(!form.busy());
    QVERIFY(add->isEnabled());
    QCOMPARE(prompts.texts(), std::vector<std::string>{"Using the fallback folder."});
    form.setSearchControlsEnabled(false);
    QVERIFY(!add->isEnabled());
    QVERIFY(!form.findChild<QPushButton*>("ButtonAddGen")->isEnabled());
    form.setSearchControlsEnabled(true);
    QVERIFY(add->isEnabled());
}

void MainWindowTest::closeIsRefusedWhileBusy() {
    TempFolder folder;
    ScriptedPrompts prompts;
    ClosingDuringLoad form({folder.path(), &prompts, false, ""});
    form.show();
    form.runStartUp();
    QVERIFY(!form.closedWhileBusy);
    QVERIFY(!form.controlsEnabledWhileBusy);
    QCOMPARE(prompts.texts(), std::vector<std::string>{"Tesserix is busy. Please wait."});
    QVERIFY(form.isVisible());
    QVERIFY(form.findChild<QPushButton*>("ButtonAddSolve")->isEnabled());
}

void MainWindowTest::closeAsksAndRespectsTheAnswer() {
    Window w;
    w.form.show();
    w.prompts.answers = {Answer::No};
    QVERIFY(!w.form.close());
    QCOMPARE(w.prompts.texts().back(), std::string("Do you really want to quit?"));
    QVERIFY(w.form.isVisible());

    bool dirty = true;
    int saves = 0;
    bool saveWorks = false;
    w.form.hasUnsavedChanges = [&] { return dirty; };
    w.form.saveWorkspace = [&] {
        ++saves;
        return saveWorks;
    };
    const std::string question = "Do you want to save the cubes in the Main Window before exiting Tesserix?";
    w.prompts.answers = {Answer::Cancel};
    QVERIFY(!w.form.close());
    QCOMPARE(w.prompts.texts().back(), question);
    QCOMPARE(w.prompts.shown.back().buttons, Buttons::YesNoCancel);
    w.prompts.answers = {Answer::Yes};
    QVERIFY(!w.form.close());  // the save failed: stay open with the list
    QCOMPARE(saves, 1);
    saveWorks = true;
    w.prompts.answers = {Answer::Yes};
    QVERIFY(w.form.close());
    QCOMPARE(saves, 2);

    w.form.show();
    w.prompts.answers = {Answer::No};
    QVERIFY(w.form.close());  // No quits without saving
    QCOMPARE(saves, 2);
    const auto count = w.prompts.shown.size();
    w.form.show();
    dirty = false;
    w.prompts.answers = {Answer::Yes};
    QVERIFY(w.form.close());
    QCOMPARE(w.prompts.shown.size(), count + 1);
    QCOMPARE(w.prompts.texts().back(), std::string("Do you really want to quit?"));
}

}  // namespace tx::ui::test
