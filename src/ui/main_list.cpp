// The main window's cube list: its creation and hooks, the Cubes menu, loading and saving
// the workspace through the file dialogs, the keys of the maneuver window, and the web
// server that reads and fills the list.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "cube/random.hpp"
#include "server/list_backend.hpp"
#include "server/web_server.hpp"
#include "ui/center_dlg.hpp"
#include "ui/desktop_actions.hpp"
#include "ui/editor_page.hpp"
#include "ui/main_window.hpp"
#include "ui/maneuver_window.hpp"
#include "server/qt_events.hpp"
#include "ui/page_webcam.hpp"
#include "ui/pat_edit.hpp"
#include "ui/serv_setup_form.hpp"
#include "ui/start_man_setup_form.hpp"
#include "ui/tab_sym.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/workspace_file.hpp"

namespace tx::ui {

namespace {

constexpr const char* kSelectionItems[] = {"DeleteselectedCubes1", "DeleteselectedCubes2", "StopSearchForSelectedCubes",
                                           "ArrangeSelected", "AddSymmetryInfoforSelected"};
constexpr const char* kNonEmptyItems[] = {"AddAllInverses", "SortCubesbyPatternName", "SortCubesbyManeuverLength",
                                          "ExpandFirstCube"};

}  // namespace

// The list lives in the window from the start; the option switches of the menus and
// dialogs are its own from then on.
void TForm1::createList() {
    list_ = std::make_unique<CubeList>(*events_, *prompts_);
    linkOptions({&list_->context(), &list_->options.ignoreIsoOnLoad, &list_->options.isoInvInclude,
                 &list_->options.fixCenterFacelets});
    listEmpty = [this] { return list_->empty(); };
    hasUnsavedChanges = [this] { return list_->modified; };
    saveWorkspace = [this] { return saveWorkspaceClick(); };

    chooseLoadFile = [this](const QString& current) {
        auto dialog = createWorkspaceDialog(false, current);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    };
    chooseSaveFile = [this](const QString& current) {
        auto dialog = createWorkspaceDialog(true, current);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    };
}

void TForm1::wireList() {
    CubeList::Hooks& h = list_->hooks;
    h.repaint = [this] { maneuverWindow_->scheduleRepaint(); };
    h.setCaption = [this](const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); };
    h.pump = [] { QCoreApplication::processEvents(); };
    h.sizeChanged = [this] { maneuverWindow_->listSizeChanged(); };
    h.enableSelectionItems = [this](bool on) { setSelectionItemsEnabled(on); };
    h.showEditorPage = [this] { pages_->setCurrentWidget(editorPage_); };
    h.repaintEditor = [this] {
        editorPage_->refresh();
        centerDialogFollowsEditor();
    };

    connect(editorPage_, &EditorPage::addSolveRequested, this, [this] { addFromEditor(true); });
    connect(editorPage_, &EditorPage::addGenRequested, this, [this] { addFromEditor(false); });
    // The pictures of the list use the editor's colours.
    connect(editorPage_, &EditorPage::schemeChanged, maneuverWindow_, &ManeuverWindow::repaintNow);
    connect(this, &TForm1::searchControlsEnabledChanged, this, [this] {
        maneuverWindow_->setSearchEnabled(searchesMayStart());
        updateListItems();
    });
    connect(maneuverWindow_, &ManeuverWindow::backgroundMenuRequested, this, [this](const QPoint& at) {
        updateListItems();
        backgroundMenu_->popup(at);
    });
    connect(maneuverWindow_, &ManeuverWindow::repainted, this, &TForm1::showListStatus);
    maneuverWindow_->setSearchEnabled(searchesMayStart());
    wireSearchPages();
}

// The symmetry and pattern pages. Their searches keep the list from being cleared and the
// cube menu from transferring to the symmetry page; a click on an entry while the symmetry
// page shows (its search idle) transfers the entry, as the cube menu's item does.
void TForm1::wireSearchPages() {
    connect(tabSym_, &TabSym::showRequested, this, [this] { pages_->setCurrentWidget(tabSym_); });
    connect(maneuverWindow_, &ManeuverWindow::symmetryTransferRequested, tabSym_, &TabSym::transferFromEntry);
    connect(maneuverWindow_, &ManeuverWindow::pictureClicked, this, [this](int index) {
        if (pages_->currentWidget() == tabSym_) tabSym_->transferFromEntry(index);
    });
    connect(tabSym_, &TabSym::searchRunningChanged, maneuverWindow_,
            [this](bool running) { maneuverWindow_->setSymmetryTransferEnabled(!running); });
    auto follow = [this] {
        tabSym_->setStartEnabled(searchesMayStart());
        patEdit_->setStartEnabled(searchesMayStart());
    };
    connect(this, &TForm1::searchControlsEnabledChanged, this, follow);
    follow();
}

bool TForm1::pageSearchRunning() const { return tabSym_->searchRunning() || patEdit_->searchRunning(); }

// The number of cubes and of running searches, at the right of the status bar.
void TForm1::showListStatus() {
    const std::size_t count = list_->size();
    std::size_t running = 0;
    for (const auto& e : list_->entries()) running += e->searchRunning ? 1 : 0;
    QString text = count == 1 ? tr("1 cube") : tr("%1 cubes").arg(count);
    if (running == 1)
        text += tr(", 1 search running");
    else if (running > 1)
        text += tr(", %1 searches running").arg(running);
    if (listStatus_->text() != text) listStatus_->setText(text);
}

void TForm1::createWebServer() {
    webcam_ = std::make_unique<PageWebcam>(*webcamPage_);
    backend_ = std::make_unique<ListBackend>(*list_, *editor_, *webcam_);
    // Requests are refused while the editor's add-and-solve button is disabled.
    backend_->busyHook = [this] { return !editorPage_->addSolveEnabled(); };
    server_ = std::make_unique<WebServer>(*backend_, *events_);
    server_->setErrorReporter([this](const std::string& message) { prompts_->message(message, "", Icon::Error); });
    connect(this, &TForm1::webServerSetupRequested, this, [this] {
        servSetupForm_->show();
        servSetupForm_->raise();
        servSetupForm_->activateWindow();
    });
}

// The webcam page hands its transfers to the editor and the list.
void TForm1::createWebcamPage() {
    WebcamPage::Hooks hooks;
    hooks.addSolve = [this] {
        const std::size_t before = list_->size();
        addFromEditor(true);
        return list_->size() > before;
    };
    hooks.editorReplaced = [this] {
        editorPage_->refresh();
        maneuverWindow_->repaintNow();
        pages_->setCurrentWidget(editorPage_);
    };
    hooks.lastSolverText = [this]() -> std::optional<std::string> {
        if (list_->empty()) return std::nullopt;
        return list_->entries().back()->solverText;
    };
    webcamPage_ = new WebcamPage(*editor_, *events_, *prompts_, std::move(hooks), pages_);
    pages_->addTab(webcamPage_, tr("Web Cam"));
    // The test-pattern camera, when asked for, shows a random cube.
    FaceletCube shown;
    randomCube(shown, *rng_);
    webcamPage_->setDevices(availableCaptureDevices(webcamPage_->webcam(), shown));
}

// The server goes first (its connections wait on entries), then the list's searches.
void TForm1::shutDownList() {
    if (!list_) return;
    list_->hooks = {};
    server_.reset();
    backend_.reset();
    list_->shutdown();
}

bool TForm1::listOperationRunning() const { return maneuverWindow_ && maneuverWindow_->operationRunning(); }

bool TForm1::searchesMayStart() const { return startedUp_ && !busy_ && searchControlsEnabled_; }

void TForm1::listCommand(const std::function<void()>& command) {
    if (busy_) return;
    maneuverWindow_->runOperation(command);
}

void TForm1::addFromEditor(bool solve) {
    listCommand([this, solve] {
        const EditorAdd result = list_->addFromEditor(*editor_, solve);
        if (result == EditorAdd::Added) maneuverWindow_->scrollToEntry(static_cast<int>(list_->size()) - 1);
        if (result == EditorAdd::HandedOver) openIncomplete();
    });
}

// ---------------------------------------------------------------- menus

void TForm1::buildCubesMenu() {
    cubesMenu_ = menuBar()->addMenu(tr("&Cubes"));
    cubesMenu_->setObjectName("Cubes1");
    connect(cubesMenu_, &QMenu::aboutToShow, this, &TForm1::updateListItems);
    auto command = [this](QMenu* menu, const char* name, const QString& caption, std::function<void()> f) {
        connect(addItem(menu, name, caption), &QAction::triggered, this, [this, f] { listCommand(f); });
    };
    // Delete and Clear go through the desktop actions, which keep what they remove for Undo.
    connect(addItem(cubesMenu_, "DeleteselectedCubes1", tr("&Delete Selected Cubes\tDel")), &QAction::triggered, this,
            [this] { desktop_->deleteSelected(); });
    connect(addItem(cubesMenu_, "ClearMainWindow1", tr("&Clear Main Window")), &QAction::triggered, this,
            [this] { desktop_->clear(); });
    cubesMenu_->addSeparator();
    connect(addItem(cubesMenu_, "StartSearchforSelectedCubes", tr("&Start Search for Selected Cubes...")),
            &QAction::triggered, this, [this] {
                if (busy_ || listOperationRunning()) return;
                startManSetupForm_->show();
                startManSetupForm_->raise();
                startManSetupForm_->activateWindow();
            });
    command(cubesMenu_, "StopSearchForSelectedCubes", tr("S&top Search for Selected Cubes"),
            [this] { list_->stopSearchForSelected(); });
    cubesMenu_->addSeparator();
    command(cubesMenu_, "ArrangeSelected", tr("&Arrange Selected Cubes"), [this] { list_->arrangeSelected(); });
    command(cubesMenu_, "AddSymmetryInfoforSelected", tr("Add S&ymmetry Info for Selected Cubes"),
            [this] { list_->addSymmetryInfoForSelected(); });
    cubesMenu_->addSeparator();
    command(cubesMenu_, "AddAllInverses", tr("Add All &Inverse Cubes"), [this] { list_->addAllInverses(); });
    command(cubesMenu_, "ExpandFirstCube", tr("&Expand First Cube"), [this] { list_->expandFirstCube(); });
    command(cubesMenu_, "SortCubesbyPatternName", tr("Sort Cubes by Pattern &Name"),
            [this] { list_->sortByPatternName(); });
    command(cubesMenu_, "SortCubesbyManeuverLength", tr("Sort Cubes by Maneuver &Length"),
            [this] { list_->sortByManeuverLength(); });
    cubesMenu_->addSeparator();
    command(cubesMenu_, "AddRandomCubes1", tr("Add &Random Cubes..."), [this] { list_->addRandomCubes(*editor_, *rng_); });
    command(cubesMenu_, "WCAscramble", tr("&WCA Scramble"), [this] { list_->wcaScramble(*editor_, *rng_); });

    // Beside the pictures, a right click offers the commands for the list as a whole.
    backgroundMenu_ = new QMenu(this);
    backgroundMenu_->setObjectName("PopupMenu2");
    connect(addItem(backgroundMenu_, "DeleteselectedCubes2", tr("&Delete Selected Cubes")), &QAction::triggered, this,
            [this] { desktop_->deleteSelected(); });
    connect(addItem(backgroundMenu_, "ClearMainWindow2", tr("&Clear Main Window")), &QAction::triggered, this,
            [this] { desktop_->clear(); });
}

// A click on a row enables the items for selected entries, a click beside them disables them.
void TForm1::setSelectionItemsEnabled(bool on) {
    for (const char* name : kSelectionItems) findChild<QAction*>(name)->setEnabled(on);
    findChild<QAction*>("StartSearchforSelectedCubes")->setEnabled(on && searchesMayStart());
}

// The rules of the list, evaluated whenever a menu opens.
void TForm1::updateListItems() {
    if (!cubesMenu_ || !list_) return;
    setSelectionItemsEnabled(list_->hasSelection());
    const bool clear = list_->clearEnabled() && !pageSearchRunning();
    findChild<QAction*>("ClearMainWindow1")->setEnabled(clear);
    findChild<QAction*>("ClearMainWindow2")->setEnabled(clear);
    for (const char* name : kNonEmptyItems) findChild<QAction*>(name)->setEnabled(!list_->empty());
    findChild<QAction*>("WCAscramble")->setEnabled(searchesMayStart());
}

// ---------------------------------------------------------------- workspace files

std::unique_ptr<QFileDialog> TForm1::createWorkspaceDialog(bool save, const QString& current) {
    auto dialog = std::make_unique<QFileDialog>(this, save ? tr("Save Workspace") : tr("Load Workspace"));
    const QFileInfo file(current.isEmpty() ? QString(kUntitledWorkspace) : current);
    if (save) {
        dialog->setObjectName("SDWorkSpace");
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilter("Maneuver Textfile (*.txt)");
        dialog->setDefaultSuffix("txt");
        dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    } else {
        dialog->setObjectName("ODWorkspace");
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setNameFilters({"Maneuver Textfile (*.txt)", "All Files (*.*)"});
        dialog->setDefaultSuffix("qex");
    }
    dialog->setDirectory(desktop_ ? desktop_->dialogFolder(current) : file.absolutePath());
    dialog->selectFile(file.fileName());
    return dialog;
}

void TForm1::loadWorkspaceClick() {
    if (refuseWhileBusy()) return;
    listCommand([this] {
        const QString file = chooseLoadFile(QString::fromStdString(list_->workspaceFile));
        if (file.isEmpty()) return;
        desktop_->workspaceLoaded(file, loadWorkspace(*list_, file.toStdString()));
    });
}

// A cancelled dialog writes nothing and leaves the list unsaved.
bool TForm1::saveWorkspaceClick() {
    if (refuseWhileBusy() || listOperationRunning()) return false;
    const QString file = chooseSaveFile(QString::fromStdString(list_->workspaceFile));
    if (file.isEmpty()) return false;
    // A long list lets the window process events while it is written: a list command.
    bool saved = false;
    maneuverWindow_->runOperation([&] { saved = tx::saveWorkspace(*list_, file.toStdString()).ok; });
    if (saved) desktop_->fileUsed(file);
    return saved;
}

// ---------------------------------------------------------------- keys

bool TForm1::listKey(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    if (key == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        if (list_->hasSelection()) desktop_->deleteSelected();
        return true;
    }
    if (key == Qt::Key_F && modifiers == Qt::ControlModifier) {
        list_->quickSave(QDir::currentPath().toStdString());
        return true;
    }
    // The webcam page's scan and transfer keys, and the key that shows its scan-and-solve button.
    if (key == Qt::Key_S && modifiers == Qt::AltModifier) {
        webcamPage_->scanKey();
        return true;
    }
    if (key == Qt::Key_V && modifiers == Qt::AltModifier) {
        webcamPage_->transferKey();
        return true;
    }
    if (key == Qt::Key_R && modifiers == (Qt::AltModifier | Qt::ControlModifier)) {
        webcamPage_->showScanSolveButton();
        return true;
    }
    return false;
}

}  // namespace tx::ui
