#include "ui/main_window.hpp"

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>

#include "cube/random.hpp"
#include "ui/capture_form.hpp"
#include "ui/center_dlg.hpp"
#include "ui/coset_window.hpp"
#include "server/list_backend.hpp"
#include "server/web_server.hpp"
#include "ui/desktop_actions.hpp"
#include "ui/editor_page.hpp"
#include "ui/incomplete.hpp"
#include "ui/maneuver_window.hpp"
#include "server/qt_events.hpp"
#include "ui/page_webcam.hpp"
#include "ui/pat_edit.hpp"
#include "ui/qt_progress.hpp"
#include "ui/qt_prompts.hpp"
#include "ui/serv_setup_form.hpp"
#include "ui/tab_sym.hpp"
#include "ui/table_service.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/settings.hpp"
#include "workspace/timing_test.hpp"

namespace tx::ui {

TForm1::TForm1(Options options, QWidget* parent)
    : QMainWindow(parent),
      dataFolder_(std::move(options.dataFolder)),
      startUpNote_(std::move(options.startUpNote)) {
    setObjectName("Form1");
    links_ = ownOptions_.links();
    events_ = std::make_unique<QtEvents>();
    if (options.prompts) {
        prompts_ = options.prompts;
    } else {
        ownPrompts_ = std::make_unique<QtPrompts>(this);
        prompts_ = ownPrompts_.get();
    }
    rng_ = std::make_unique<MersenneTwister>(MersenneTwister::timeOfDaySeed());
    settings_ = std::make_unique<Settings>(dataFolder_ / "cube.ini");
    settings_->setWriteFailureReporter(
        [this](const std::string& text) { prompts_->message(text, "Settings", Icon::Warning); });
    editor_ = std::make_unique<FaceletEditor>(settings_.get());

    createList();
    maneuverWindow_ = new ManeuverWindow(*list_, *editor_, this);

    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    editorPage_ = new EditorPage(*editor_, *rng_, prompts_, pages_);
    pages_->addTab(editorPage_, tr("Facelet Editor"));
    tabSym_ = new TabSym(*list_, *events_, pages_);
    pages_->addTab(tabSym_, tr("Symmetry"));
    patEdit_ = new PatEdit(*list_, *events_, pages_);
    pages_->addTab(patEdit_, tr("Pattern Editor"));
    createWebcamPage();

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(maneuverWindow_);
    // A narrow pane scrolls the pages instead of taking the room from the list.
    auto* pagesPane = new QScrollArea(this);
    pagesPane->setObjectName("PagesPane");
    pagesPane->setWidgetResizable(true);
    pagesPane->setFrameShape(QFrame::NoFrame);
    pagesPane->setWidget(pages_);
    splitter->addWidget(pagesPane);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({maneuverWindow_->sizeHint().width(), pages_->sizeHint().width()});
    setCentralWidget(splitter);

    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName("ProgressLabel");
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName("ProgressBar");
    progressBar_->setMaximumWidth(300);
    listStatus_ = new QLabel(this);
    listStatus_->setObjectName("ListStatus");
    statusBar()->addWidget(progressLabel_, 1);
    statusBar()->addPermanentWidget(progressBar_);
    statusBar()->addPermanentWidget(listStatus_);
    progress_ = std::make_unique<QtProgress>(progressLabel_, progressBar_);
    progress_->setVisible(false);
    progress_->cancelled = [this] { return cancel_.load(); };  // Escape or the status bar's Cancel

    if (options.tables) {
        tables_ = options.tables;
    } else {
        ownTables_ = makeLoaderTables(dataFolder_, *progress_, *prompts_);
        tables_ = ownTables_.get();
    }
    list_->context().tables = tables_;  // each search takes the set loaded when it starts
    list_->context().shareAllCoresWhenAlone();

    buildMenus();
    setWorkspaceName(kUntitledWorkspace);
    createWebServer();
    createDialogs();
    wireList();
    updateMenuItems();
    desktop_ = new DesktopActions(*this);
    if (options.postStartUp) events_->post([this] { runStartUp(); });
}

TForm1::~TForm1() {
    delete coset_;  // its search reports through the window's events and adds to the list
    coset_ = nullptr;
    delete servSetupForm_;  // it refers to the server
    servSetupForm_ = nullptr;
    // The server's connections wait on the list; the list's searches report to the window.
    shutDownList();
    // The dialogs and pages refer to the editor model: take them down before the model goes.
    delete centerDlg_;
    centerDlg_ = nullptr;
    delete incomplete_;  // its search reports through the window's events
    incomplete_ = nullptr;
    delete takeCentralWidget();
}

Events& TForm1::events() { return *events_; }
Progress& TForm1::progress() { return *progress_; }

void TForm1::linkOptions(const OptionLinks& links) {
    if (!links.complete()) return;
    copyOptionValues(links_, links);
    links_ = links;
}

void TForm1::setWorkspaceName(const QString& name) {
    setWindowTitle(name + " - " + kProductCaption);
}

void TForm1::setSearchControlsEnabled(bool enabled) {
    searchControlsEnabled_ = enabled;
    editorPage_->setAddButtonsEnabled(enabled);
    emit searchControlsEnabledChanged(enabled);
}

// Table loads run in this thread and let the window repaint between steps, so everything
// that could start a search or a second load is switched off until they end.
void TForm1::setBusy(bool on) {
    busy_ = on;
    setSearchControlsEnabled(!on);
    updateMenuItems();
    emit busyChanged(on);
}

bool TForm1::refuseWhileBusy() {
    if (!busy_) return false;
    prompts_->message(kBusyMessage);
    return true;
}

void TForm1::runStartUp() {
    if (busy_ || startedUp_) return;
    setBusy(true);
    if (!startUpNote_.empty()) prompts_->message(startUpNote_, "Tesserix", Icon::Information);
    const StartResult result = tables_->startUp(links_.search->sliceMode, false);
    progress_->setVisible(false);
    if (result == StartResult::Cancelled) {  // the list and the editor stay usable
        setBusy(false);
        emit startUpCancelled();
        emit startUpFinished(false);
        return;
    }
    if (result != StartResult::Ready) {
        // Declined first run or no disk space: the program ends without further questions.
        busy_ = false;
        quitting_ = true;
        close();
        emit startUpFinished(false);
        return;
    }
    startedUp_ = true;
    links_.search->hugeMode = false;
    hugeModeFollowsTable();
    setBusy(false);
    emit tablesChanged();
    emit startUpFinished(true);
}

bool TForm1::mayClose() {
    // A list command that lets the window process events still works on the list.
    if (busy_ || listOperationRunning()) {
        prompts_->message(kBusyMessage);
        return false;
    }
    if (quitting_) return true;
    if (webcamPage_->cameraRunning()) {
        prompts_->message("Please close the " + webcamPage_->captureForm()->windowTitle().toStdString() +
                          " Window before closing Tesserix.");
        return false;
    }
    if (hasUnsavedChanges && hasUnsavedChanges()) {
        const Answer a = prompts_->ask({"Do you want to save the cubes in the Main Window before exiting Tesserix?",
                                        "", Icon::Question, Buttons::YesNoCancel});
        if (a == Answer::Cancel) return false;
        // A failed save keeps the window open rather than losing the list.
        if (a == Answer::Yes) return !saveWorkspace || saveWorkspace();
        return true;
    }
    return prompts_->yes("Do you really want to quit?");
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    // Dialogs that stay on top would outlive a hidden main window.
    for (QWidget* dialog : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) dialog->hide();
    // Every entry goes (searches stopped, drivers freed) and the listener closes.
    server_->close();
    list_->shutdown();
    list_->modified = false;
    maneuverWindow_->listSizeChanged();
    maneuverWindow_->repaintNow();
    event->accept();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancel_ = true;
        list_->cancelRequested = true;
        event->accept();
        return;
    }
    if (listKey(event)) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace tx::ui
