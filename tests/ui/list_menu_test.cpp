// The File and Cubes menus over the list: items and their enabling, loading and saving
// through the (injected) file dialogs, the close rules with the list, the list commands.
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QGroupBox>

#include <fstream>

#include "list_fixture.hpp"
#include "ui/start_man_setup_form.hpp"
#include "ui_tests.hpp"

namespace tx::ui::test {

namespace {

QStringList itemNames(QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) names << a->objectName();
    return names;
}

std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

void ListMenuTest::menusHoldTheirItems() {
    ListWindow w;
    QCOMPARE(itemNames(w.form->fileMenu()),
             QStringList({"NewWorkspace", "LoadWorkspace1", "SaveWorkspaceNow", "SaveWorkspace1", "RecentFilesItem",
                          "SaveasHtml1", "SaveasModernHtml1", "PrintMainWindow",
                          "PrintSelectedCubes", "PrinterSetup1", "Exit1"}));
    QCOMPARE(itemNames(w.form->cubesMenu()),
             QStringList({"DeleteselectedCubes1", "ClearMainWindow1", "StartSearchforSelectedCubes",
                          "StopSearchForSelectedCubes", "ArrangeSelected", "AddSymmetryInfoforSelected",
                          "AddAllInverses", "ExpandFirstCube", "SortCubesbyPatternName", "SortCubesbyManeuverLength",
                          "AddRandomCubes1", "WCAscramble", "GenerateStatistics1"}));
    QCOMPARE(itemNames(w.form->backgroundMenu()), QStringList({"DeleteselectedCubes2", "ClearMainWindow2"}));
    // A right click beside the pictures opens it.
    QTest::mouseClick(w.viewport(), Qt::RightButton, {}, QPoint(400, 40));
    QVERIFY(w.form->backgroundMenu()->isVisible());
    w.form->backgroundMenu()->hide();
}

void ListMenuTest::itemsFollowTheListRules() {
    ListWindow w;
    QMenu* cubes = w.form->cubesMenu();
    const char* selectionItems[] = {"DeleteselectedCubes1", "StartSearchforSelectedCubes", "StopSearchForSelectedCubes",
                                    "ArrangeSelected", "AddSymmetryInfoforSelected", "DeleteselectedCubes2"};
    const char* listItems[] = {"ClearMainWindow1", "ClearMainWindow2", "AddAllInverses", "ExpandFirstCube",
                               "SortCubesbyPatternName", "SortCubesbyManeuverLength"};
    emit cubes->aboutToShow();
    for (const char* name : selectionItems) QVERIFY2(!w.item(name)->isEnabled(), name);
    for (const char* name : listItems) QVERIFY2(!w.item(name)->isEnabled(), name);
    QVERIFY(w.item("AddRandomCubes1")->isEnabled());
    QVERIFY(w.item("WCAscramble")->isEnabled());

    w.addScrambles(3);
    emit cubes->aboutToShow();
    for (const char* name : listItems) QVERIFY2(w.item(name)->isEnabled(), name);
    for (const char* name : selectionItems) QVERIFY2(!w.item(name)->isEnabled(), name);
    w.click(1);  // a hit enables them at once
    for (const char* name : selectionItems) QVERIFY2(w.item(name)->isEnabled(), name);
    // Nothing that starts searches while the tables are being loaded.
    w.form->setSearchControlsEnabled(false);
    emit cubes->aboutToShow();
    QVERIFY(!w.item("StartSearchforSelectedCubes")->isEnabled());
    QVERIFY(!w.item("WCAscramble")->isEnabled());
    QVERIFY(w.item("DeleteselectedCubes1")->isEnabled());
    w.form->setSearchControlsEnabled(true);
    emit cubes->aboutToShow();
    QVERIFY(w.item("StartSearchforSelectedCubes")->isEnabled());
}

void ListMenuTest::workspaceDialogsAreSetUp() {
    ListWindow w;
    auto save = w.form->createWorkspaceDialog(true, QString::fromStdString((w.folder.path() / "cubes.txt").string()));
    QCOMPARE(save->objectName(), QString("SDWorkSpace"));
    QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(save->nameFilters(), QStringList({"Maneuver Textfile (*.txt)"}));
    QCOMPARE(save->defaultSuffix(), QString("txt"));
    QVERIFY(!save->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(QDir(save->directory()).absolutePath(), QString::fromStdString(w.folder.path().string()));

    auto load = w.form->createWorkspaceDialog(false, "untitled.txt");
    QCOMPARE(load->objectName(), QString("ODWorkspace"));
    QCOMPARE(load->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(load->fileMode(), QFileDialog::ExistingFile);
    const QStringList filters = load->nameFilters();
    QCOMPARE(filters.size(), 2);
    QVERIFY(filters[0].contains("(*.txt)"));
    QVERIFY(filters[1].contains("(*.*)"));
}

void ListMenuTest::saveAndLoadThroughTheDialogs() {
    ListWindow w;
    w.add(cubeOf("R U R' U'"), "Sexy", "U R U' R'  (4f)");
    w.add(cubeOf("F2 B2 L2 R2 U2 D2"), "", "D2 U2 R2 L2 B2 F2  (6f)");
    FaceletCube pattern;
    pattern.f[1] = 1;  // not a real cube: written by its facelets
    pattern.f[10] = 0;
    w.add(pattern, "Pattern");
    const auto file = w.folder.path() / "cubes.txt";
    QStringList offered;
    w.form->chooseSaveFile = [&](const QString& current) {
        offered << current;
        return QString::fromStdString(file.string());
    };
    w.item("SaveWorkspace1")->trigger();
    QCOMPARE(offered, QStringList({"untitled.txt"}));
    const std::string text = readAll(file);
    QVERIFY(text.find("R U R' U'  (4f)   //Sexy\r\n") != std::string::npos);
    QCOMPARE(std::count(text.begin(), text.end(), '\n'), 3);
    QVERIFY(!w.list().modified);
    QCOMPARE(w.form->windowTitle(), QString("cubes.txt - Tesserix 5.00s"));

    // A cancelled dialog writes nothing and the list stays unsaved.
    w.list().at(0).patternName = "Renamed";
    w.list().modified = true;
    w.form->chooseSaveFile = [&](const QString& current) {
        offered << current;
        return QString();
    };
    w.item("SaveWorkspace1")->trigger();
    QCOMPARE(offered.back(), QString::fromStdString(file.string()));
    QVERIFY(w.list().modified);
    QCOMPARE(readAll(file), text);

    // Loading with "Yes" replaces the list; the pattern question comes first.
    std::vector<std::pair<std::array<std::uint8_t, kFacelets>, std::string>> saved;
    for (const auto& e : w.list().entries()) saved.emplace_back(e->cube.f, e->patternName);
    saved[0].second = "Sexy";
    w.prompts.answers = {Answer::Yes, Answer::Yes};
    w.form->chooseLoadFile = [&](const QString&) { return QString::fromStdString(file.string()); };
    QSignalSpy titles(w.form.get(), &QWidget::windowTitleChanged);
    w.item("LoadWorkspace1")->trigger();
    QCOMPARE(w.prompts.shown[w.prompts.shown.size() - 2].text,
             std::string("Do you want to discard the Cubes in the Main Window before loading the maneuvers?"));
    QCOMPARE(w.prompts.shown.back().text,
             std::string("All patterns without generators in the Output Window will be discarded. Continue anyway?"));
    QCOMPARE(static_cast<int>(w.list().size()), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(w.list().at(i).cube.f, saved[static_cast<std::size_t>(i)].first);
        QCOMPARE(w.list().at(i).patternName, saved[static_cast<std::size_t>(i)].second);
    }
    w.flush();
    QCOMPARE(w.row(0)->nameField()->text(), QString("Sexy"));
    QCOMPARE(w.row(2)->numberLabel()->text(), QString("3."));
    QCOMPARE(w.form->windowTitle(), QString("cubes.txt - Tesserix 5.00s"));
    QStringList captions;
    for (const auto& args : titles) captions << args.first().toString();
    QVERIFY(captions.contains("loading cube 2, press ESC to cancel... cubes.txt - Tesserix 5.00s"));

    // A cancelled open dialog changes nothing.
    const auto count = w.prompts.shown.size();
    w.form->chooseLoadFile = [](const QString&) { return QString(); };
    w.item("LoadWorkspace1")->trigger();
    QCOMPARE(w.prompts.shown.size(), count);
    QCOMPARE(static_cast<int>(w.list().size()), 3);

    // A list command may let the window process events: closing meanwhile is refused.
    bool closed = true;
    w.form->chooseLoadFile = [&](const QString&) {
        closed = w.form->close();
        return QString();
    };
    w.item("LoadWorkspace1")->trigger();
    QVERIFY(!closed);
    QCOMPARE(w.prompts.texts().back(), std::string("Tesserix is busy. Please wait."));
    QVERIFY(w.form->isVisible());
    QCOMPARE(static_cast<int>(w.list().size()), 3);
}

void ListMenuTest::closeSavesTheListThroughTheDialog() {
    ListWindow w;
    w.addScrambles(2);
    const auto file = w.folder.path() / "onclose.txt";
    bool offer = false;
    w.form->chooseSaveFile = [&](const QString&) { return offer ? QString::fromStdString(file.string()) : QString(); };
    const std::string question = "Do you want to save the cubes in the Main Window before exiting Tesserix?";

    w.prompts.answers = {Answer::Cancel};
    QVERIFY(!w.form->close());
    QCOMPARE(w.prompts.texts().back(), question);
    QCOMPARE(w.prompts.shown.back().buttons, Buttons::YesNoCancel);
    QCOMPARE(static_cast<int>(w.list().size()), 2);

    w.prompts.answers = {Answer::Yes};  // the save dialog is cancelled: stay open
    QVERIFY(!w.form->close());
    QVERIFY(!std::filesystem::exists(file));
    QCOMPARE(static_cast<int>(w.list().size()), 2);

    offer = true;
    w.prompts.answers = {Answer::Yes};
    QVERIFY(w.form->close());
    QVERIFY(std::filesystem::exists(file));
    const std::string written = readAll(file);
    QCOMPARE(std::count(written.begin(), written.end(), '\n'), 2);
    // Closing took every entry down.
    QVERIFY(w.list().empty());

    // Without changes only the quit question comes.
    w.form->show();
    w.prompts.answers = {Answer::Yes};
    QVERIFY(w.form->close());
    QCOMPARE(w.prompts.texts().back(), std::string("Do you really want to quit?"));
}

void ListMenuTest::listCommandsChangeTheList() {
    ListWindow w;
    // Menu items are enabled when their menu opens, as a user would see them.
    auto run = [&](const char* name) {
        emit w.form->cubesMenu()->aboutToShow();
        QVERIFY2(w.item(name)->isEnabled(), name);
        w.item(name)->trigger();
    };
    w.prompts.inputs = {std::string("4")};
    run("AddRandomCubes1");
    QCOMPARE(w.prompts.shown.back().text, std::string("Number of Random Cubes to add: "));
    QCOMPARE(static_cast<int>(w.list().size()), 4);
    w.flush();
    QCOMPARE(w.row(3)->numberLabel()->text(), QString("4."));
    for (const auto& e : w.list().entries()) QVERIFY(!e->searchRunning);

    w.list().at(0).patternName = "b";
    w.list().at(1).patternName = "a";
    w.list().at(2).patternName = "c";
    w.list().at(3).patternName = "a";
    const Entry* b = &w.list().at(0);
    run("SortCubesbyPatternName");
    QCOMPARE(w.list().at(0).patternName, std::string("a"));
    QCOMPARE(w.list().at(2).patternName, std::string("b"));
    QCOMPARE(&w.list().at(2), b);
    QCOMPARE(w.row(2)->nameField()->text(), QString("b"));

    run("ExpandFirstCube");
    QCOMPARE(static_cast<int>(w.list().size()), 4 + 48);
    run("AddAllInverses");
    QVERIFY(w.list().size() > 52u);
    QCOMPARE(w.form->windowTitle(), QString("*untitled.txt - Tesserix 5.00s"));

    w.click(0);
    w.click(3, Qt::ShiftModifier);
    run("DeleteselectedCubes1");
    QVERIFY(w.selected().empty());
    const auto left = w.list().size();

    w.prompts.answers = {Answer::No};
    run("ClearMainWindow1");
    QCOMPARE(w.prompts.texts().back(), std::string("All changes to the Main Window will be discarded. Proceed?"));
    QCOMPARE(w.list().size(), left);
    w.prompts.answers = {Answer::Yes};
    run("ClearMainWindow1");
    QVERIFY(w.list().empty());
    QCOMPARE(w.view().verticalScrollBar()->value(), 0);
    QCOMPARE(w.view().contentHeight(), 16);
    w.flush();
    for (ManeuverRow* r : w.view().rows()) QCOMPARE(r->entry(), -1);
}

void ListMenuTest::startDialogHasItsChoices() {
    ListWindow w;
    TStartManSetupForm* form = w.form->startManSetupForm();
    QVERIFY(form->findChild<QRadioButton*>("RBOptimal")->isChecked());
    QVERIFY(!form->findChild<QRadioButton*>("RBTwoPhase")->isChecked());
    auto* group = form->findChild<QGroupBox*>("GBTriggerLength");
    QVERIFY(group);
    QStringList lengths;
    for (QRadioButton* b : group->findChildren<QRadioButton*>()) lengths << b->text();
    QCOMPARE(lengths, QStringList({"0", "18", "19", "20"}));
    QVERIFY(form->findChild<QRadioButton*>("RBTrigger0")->isChecked());
    QCOMPARE(form->triggerLength(), 0);
    QVERIFY(form->optimal());

    w.addScrambles(2);
    w.click(0);
    emit w.form->cubesMenu()->aboutToShow();
    w.item("StartSearchforSelectedCubes")->trigger();
    QVERIFY(form->isVisible());
    form->findChild<QPushButton*>("CancelButton")->click();
    QVERIFY(!form->isVisible());
    for (const auto& e : w.list().entries()) QVERIFY(!e->searchRunning);
}

}  // namespace tx::ui::test
