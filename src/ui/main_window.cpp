#include "ui/main_window.hpp"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>

#include "cube/random.hpp"
#include "ui/editor_page.hpp"
#include "ui/qt_events.hpp"
#include "ui/qt_progress.hpp"
#include "ui/qt_prompts.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/settings.hpp"

namespace tx::ui {

TForm1::TForm1(Options options, QWidget* parent)
    : QMainWindow(parent),
      dataFolder_(std::move(options.dataFolder)),
      startUpNote_(std::move(options.startUpNote)) {
    setObjectName("Form1");
    events_ = std::make_unique<QtEvents>();
    if (options.prompts) {
        prompts_ = options.prompts;
    } else {
        ownPrompts_ = std::make_unique<QtPrompts>(this);
        prompts_ = ownPrompts_.get();
    }
    rng_ = std::make_unique<MersenneTwister>(MersenneTwister::timeOfDaySeed());
    settings_ = std::make_unique<Settings>(dataFolder_ / "cube.ini");
    editor_ = std::make_unique<FaceletEditor>(settings_.get());

    maneuverWindow_ = new QScrollArea(this);
    maneuverWindow_->setObjectName("ManeuverWindow");
    maneuverWindow_->setWidgetResizable(true);
    maneuverWindow_->setMinimumWidth(320);
    auto* listPlaceholder = new QWidget(maneuverWindow_);
    listPlaceholder->setObjectName("ManeuverList");
    maneuverWindow_->setWidget(listPlaceholder);

    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    editorPage_ = new EditorPage(*editor_, *rng_, prompts_, pages_);
    pages_->addTab(editorPage_, tr("Facelet Editor"));

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(maneuverWindow_);
    splitter->addWidget(pages_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    setCentralWidget(splitter);

    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName("ProgressLabel");
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName("ProgressBar");
    progressBar_->setMaximumWidth(300);
    statusBar()->addWidget(progressLabel_, 1);
    statusBar()->addPermanentWidget(progressBar_);
    progress_ = std::make_unique<QtProgress>(progressLabel_, progressBar_);
    progress_->setVisible(false);

    setWorkspaceName(kUntitledWorkspace);
    if (options.postStartUp) events_->post([this] { runStartUp(); });
}

TForm1::~TForm1() {
    // The pages refer to the editor model: take them down before the model goes.
    delete takeCentralWidget();
}

Events& TForm1::events() { return *events_; }
Progress& TForm1::progress() { return *progress_; }

void TForm1::setWorkspaceName(const QString& name) {
    setWindowTitle(name + " - " + kProductCaption);
}

void TForm1::setSearchControlsEnabled(bool enabled) { editorPage_->setAddButtonsEnabled(enabled); }

void TForm1::runStartUp() {
    busy_ = true;
    setSearchControlsEnabled(false);
    if (!startUpNote_.empty()) prompts_->message(startUpNote_, "Tesserix", Icon::Information);
    loadTables();
    progress_->setVisible(false);
    busy_ = false;
    setSearchControlsEnabled(true);
    emit startUpFinished();
}

void TForm1::loadTables() {
    // The table loader runs here: it shows each step through progress() (calling pump()
    // between rows) and asks its questions through prompts().
}

bool TForm1::mayClose() {
    if (busy_) {
        prompts_->message("Tesserix is busy. Please wait.");
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
    if (mayClose())
        event->accept();
    else
        event->ignore();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancel_ = true;
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace tx::ui
