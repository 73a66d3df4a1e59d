// The main window's menus and the dialogs it creates at start.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include "ui/about_box.hpp"
#include "ui/center_dlg.hpp"
#include "ui/editor_page.hpp"
#include "ui/facelet_editor_widget.hpp"
#include "ui/list_reports.hpp"
#include "ui/main_window.hpp"
#include "ui/opt_option_form.hpp"
#include "ui/option_form.hpp"
#include "ui/serv_setup_form.hpp"
#include "ui/start_man_setup_form.hpp"
#include "ui/table_service.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui {

QAction* TForm1::addItem(QMenu* menu, const char* name, const QString& caption, bool checkable) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setCheckable(checkable);
    return item;
}

void TForm1::buildMenus() {
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    fileMenu_->setObjectName("File1");
    fileMenu_->menuAction()->setObjectName("File1Item");
    connect(addItem(fileMenu_, "LoadWorkspace1", tr("&Load Workspace...")), &QAction::triggered, this,
            &TForm1::loadWorkspaceClick);
    connect(addItem(fileMenu_, "SaveWorkspace1", tr("&Save Workspace...")), &QAction::triggered, this,
            &TForm1::saveWorkspaceClick);
    reports_ = new ListReports(*this);
    reports_->addFileItems(fileMenu_);
    fileMenu_->addSeparator();
    connect(addItem(fileMenu_, "Exit1", tr("E&xit")), &QAction::triggered, this, &QWidget::close);

    buildCubesMenu();
    reports_->addCubesItems(cubesMenu_);
    reports_->addAutorunMenu();

    optionsMenu_ = menuBar()->addMenu(tr("&Options"));
    optionsMenu_->setObjectName("Options1");
    connect(optionsMenu_, &QMenu::aboutToShow, this, &TForm1::updateMenuItems);
    connect(addItem(optionsMenu_, "TwoPhaseAlgorithm1", tr("&Two-Phase-Algorithm...")), &QAction::triggered, this,
            [this] {
                optionForm_->show();
                optionForm_->raise();
                optionForm_->activateWindow();
            });
    hugeSolver_ = addItem(optionsMenu_, "HugeSolver", tr("&Optimal Solver..."));
    connect(hugeSolver_, &QAction::triggered, this, &TForm1::hugeSolverClick);
    optionsMenu_->addSeparator();
    allowSliceMoves_ = addItem(optionsMenu_, "AllowSliceMoves1", tr("Allow &Slice Moves"), true);
    connect(allowSliceMoves_, &QAction::triggered, this, &TForm1::allowSliceMovesClick);
    freeThreads_ = addItem(optionsMenu_, "FreeThreadsonTerminate1", tr("&Free Threads on Terminate"), true);
    connect(freeThreads_, &QAction::triggered, this,
            [this](bool on) { links_.search->freeThreadsOnTerminate = on; });
    optionsMenu_->addSeparator();
    connect(addItem(optionsMenu_, "IgnoreIsoOnLoad", tr("&Ignore Isomorphic Cubes on Load"), true),
            &QAction::triggered, this, [this](bool on) { *links_.ignoreIsoOnLoad = on; });
    connect(addItem(optionsMenu_, "IsoInvInclude", tr("Include In&verse in Isomorphism Test"), true),
            &QAction::triggered, this, [this](bool on) { *links_.isoInvInclude = on; });
    optionsMenu_->addSeparator();
    fixCenterFacelets_ = addItem(optionsMenu_, "FixCenterFacelets", tr("Fix &Center Facelets"), true);
    connect(fixCenterFacelets_, &QAction::triggered, this, &TForm1::fixCenterFaceletsClick);
    editCenters_ = addItem(optionsMenu_, "EditCenters", tr("&Edit Centers..."));
    connect(editCenters_, &QAction::triggered, this, &TForm1::openCenterDialog);
    optionsMenu_->addSeparator();
    webServer_ = addItem(optionsMenu_, "WebServer1", tr("&Web Server..."));
    connect(webServer_, &QAction::triggered, this, &TForm1::webServerSetupRequested);
    addTimingTestItem(optionsMenu_);

    helpMenu_ = menuBar()->addMenu(tr("&Help"));
    helpMenu_->setObjectName("Help1");
    connect(addItem(helpMenu_, "About1", tr("&About...")), &QAction::triggered, this, [this] { aboutBox_->exec(); });
}

// Menu items follow the state: nothing that loads tables or starts searches while busy or
// before the tables are there; the thread option only while the list is empty.
void TForm1::updateMenuItems() {
    const bool ready = startedUp_ && !busy_;
    fileMenu_->menuAction()->setEnabled(!busy_);
    cubesMenu_->menuAction()->setEnabled(!busy_);
    hugeSolver_->setEnabled(ready);
    webServer_->setEnabled(ready);
    allowSliceMoves_->setEnabled(ready);
    fixCenterFacelets_->setEnabled(ready);
    freeThreads_->setEnabled(isListEmpty());
    editCenters_->setEnabled(*links_.fixCenterFacelets);

    // The check marks show the options wherever they live.
    const QSignalBlocker a(allowSliceMoves_), b(freeThreads_), c(fixCenterFacelets_);
    allowSliceMoves_->setChecked(links_.search->sliceMode);
    freeThreads_->setChecked(links_.search->freeThreadsOnTerminate);
    fixCenterFacelets_->setChecked(*links_.fixCenterFacelets);
    findChild<QAction*>("IgnoreIsoOnLoad")->setChecked(*links_.ignoreIsoOnLoad);
    findChild<QAction*>("IsoInvInclude")->setChecked(*links_.isoInvInclude);
}

// The dialogs in their fixed order, each reading its settings as it is created.
void TForm1::createDialogs() {
    aboutBox_ = new TAboutBox(this);

    optionForm_ = new TOptionForm(*settings_, this);
    links_.search->stopAt = optionForm_->stopAt();
    links_.search->triple = optionForm_->triple();
    autoTime_ = optionForm_->autoTime();
    connect(optionForm_, &TOptionForm::stopAtChanged, this, [this](int length) { links_.search->stopAt = length; });
    connect(optionForm_, &TOptionForm::tripleChanged, this, [this](bool on) { links_.search->triple = on; });

    optOptionForm_ = new TOptOptionForm(dataFolder_, this);
    // Huge mode never runs ahead of its table: a box checked and then left without OK must
    // not send optimal searches to a table that is not there.
    connect(optOptionForm_, &TOptOptionForm::hugeModeClicked, this,
            [this](bool on) { links_.search->hugeMode = on && tables_->hasHuge(); });
    connect(optOptionForm_, &TOptOptionForm::okClicked, this, &TForm1::hugeOptionOk);

    // Reads section "WebServer" and opens the listener when it is enabled there.
    servSetupForm_ = new TServSetupForm(*prompts_, *settings_, *server_, this);
    servSetupForm_->busy = [this] { return busy_; };

    startManSetupForm_ = new TStartManSetupForm(this);
    startManSetupForm_->setWindowModality(Qt::ApplicationModal);
    connect(startManSetupForm_, &TStartManSetupForm::okClicked, this, [this](bool optimal, int length) {
        listCommand([this, optimal, length] { list_->startSearchForSelected(optimal, length); });
    });
    reports_->createStatsWindow();

    createCosetExplorer();

    createIncomplete();

    centerDlg_ = new TCenterDlg(*editor_, this);
    connect(centerDlg_, &TCenterDlg::rotationChanged, editorPage_->picture(), qOverload<>(&QWidget::update));
    connect(centerDlg_, &TCenterDlg::okClicked, this, &TForm1::centerDialogOk);
    connect(editorPage_, &EditorPage::centerDialogRequested, this, &TForm1::openCenterDialog);
    connect(editorPage_, &EditorPage::cubeChanged, this, &TForm1::centerDialogFollowsEditor);
    reports_->createAutorunSetup();
}

}  // namespace tx::ui
