#include "ui/desktop_actions.hpp"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>

#include <algorithm>

#include "ui/help_browser.hpp"
#include "ui/list_progress.hpp"
#include "ui/main_window.hpp"
#include "ui/maneuver_window.hpp"
#include "ui/recent_files.hpp"
#include "ui/serv_setup_form.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/settings.hpp"
#include "workspace/workspace_file.hpp"

namespace tx::ui {

namespace {

// Keys of the section "Desktop" that keep the window's place and the list pane's width.
constexpr const char* kLeft = "WindowLeft";
constexpr const char* kTop = "WindowTop";
constexpr const char* kWidth = "WindowWidth";
constexpr const char* kHeight = "WindowHeight";
constexpr const char* kMaximized = "WindowMaximized";
constexpr const char* kListWidth = "ListPaneWidth";

QAction* newItem(QObject* parent, const char* name, const QString& caption, const QKeySequence& keys) {
    auto* a = new QAction(caption, parent);
    a->setObjectName(name);
    a->setShortcut(keys);
    return a;
}

}  // namespace

DesktopActions::DesktopActions(TForm1& form) : QObject(&form), form_(form) {
    setObjectName("DesktopActions");
    recent_ = new RecentFiles(form_.settings(), this);
    connect(recent_, &RecentFiles::openRequested, this, &DesktopActions::openFile);
    buildFileItems();
    buildEditMenu();
    buildHelpItems();
    progress_ = new ListProgress(form_);
    connect(form_.maneuverWindow(), &ManeuverWindow::repainted, this, &DesktopActions::updateTitleMark);
    // The pages pane needs only the room of the page it shows, so the list keeps its own.
    connect(form_.pages(), &QTabWidget::currentChanged, this, &DesktopActions::fitPagesToCurrent);
    fitPagesToCurrent();
    form_.maneuverWindow()->removeCube = [this](int index) {
        undo_.removeEntry(form_.list(), index);
        updateUndoItem();
    };
    form_.installEventFilter(this);
    form_.maneuverWindow()->installEventFilter(this);
    restoreGeometry();
}

DesktopActions::~DesktopActions() = default;

// ---------------------------------------------------------------- menus

void DesktopActions::buildFileItems() {
    QMenu* file = form_.fileMenu();
    QAction* load = form_.findChild<QAction*>("LoadWorkspace1");
    QAction* saveAs = form_.findChild<QAction*>("SaveWorkspace1");
    load->setShortcut(QKeySequence::Open);
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

    QAction* create = newItem(file, "NewWorkspace", tr("&New Workspace"), QKeySequence::New);
    connect(create, &QAction::triggered, this, &DesktopActions::newWorkspace);
    file->insertAction(load, create);
    QAction* save = newItem(file, "SaveWorkspaceNow", tr("Save &Workspace"), QKeySequence::Save);
    connect(save, &QAction::triggered, this, &DesktopActions::save);
    file->insertAction(saveAs, save);

    auto* recentMenu = new QMenu(tr("&Recent Files"), file);
    recentMenu->setObjectName("RecentFiles");
    recentMenu->menuAction()->setObjectName("RecentFilesItem");
    const QList<QAction*> items = file->actions();
    const qsizetype next = items.indexOf(saveAs) + 1;
    file->insertMenu(next < items.size() ? items[next] : nullptr, recentMenu);
    recent_->attachMenu(recentMenu);
}

void DesktopActions::buildEditMenu() {
    auto* edit = new QMenu(tr("&Edit"), &form_);
    edit->setObjectName("Edit1");
    form_.menuBar()->insertMenu(form_.cubesMenu()->menuAction(), edit);
    undoAction_ = newItem(edit, "UndoRemoval", tr("&Undo"), QKeySequence::Undo);
    connect(undoAction_, &QAction::triggered, this, &DesktopActions::undoRemoval);
    edit->addAction(undoAction_);
    edit->addSeparator();
    QAction* all = newItem(edit, "SelectAllCubes", tr("Select &All Cubes"), QKeySequence::SelectAll);
    connect(all, &QAction::triggered, this, [this] {
        runList([this] {
            CubeList& list = form_.list();
            list.selectAll();
            list.selectionItemsEnabled = list.hasSelection();
            if (list.hooks.enableSelectionItems) list.hooks.enableSelectionItems(list.selectionItemsEnabled);
        });
    });
    edit->addAction(all);
    connect(edit, &QMenu::aboutToShow, this, &DesktopActions::updateUndoItem);
    updateUndoItem();
}

void DesktopActions::buildHelpItems() {
    QMenu* help = form_.findChild<QMenu*>("Help1");
    QAction* manual = newItem(help, "HelpContents", tr("&Manual"), QKeySequence::HelpContents);
    connect(manual, &QAction::triggered, this, [this] { HelpBrowser::open(&form_); });
    help->insertAction(help->actions().value(0), manual);
    // The setup's warning sends the user to the documentation: its link and F1 open the
    // section that says what the server exposes.
    if (form_.servSetupForm())
        addHelpLink(form_.servSetupForm(), kWebServerSection, tr("What the web server exposes on the network (F1)"));
}

void DesktopActions::updateUndoItem() {
    undoAction_->setEnabled(undo_.available());
    const QString what = QString::fromStdString(undo_.what());
    if (!undo_.available())
        undoAction_->setText(tr("&Undo"));
    else if (undo_.count() == 1)
        undoAction_->setText(tr("&Undo %1 (1 cube)").arg(what));
    else
        undoAction_->setText(tr("&Undo %1 (%2 cubes)").arg(what).arg(undo_.count()));
}

// ---------------------------------------------------------------- list commands

bool DesktopActions::runList(const std::function<void()>& command) {
    if (form_.busy()) return false;
    return form_.maneuverWindow()->runOperation(command);
}

void DesktopActions::deleteSelected() {
    runList([this] { undo_.deleteSelected(form_.list()); });
    updateUndoItem();
}

void DesktopActions::clear() {
    runList([this] { undo_.clear(form_.list(), true); });
    updateUndoItem();
}

void DesktopActions::undoRemoval() {
    if (!undo_.available()) return;
    int first = -1;
    runList([this, &first] {
        undo_.restore(form_.list());
        const std::vector<int> back = form_.list().selectedIndices();
        if (!back.empty()) first = back.front();
    });
    if (first >= 0) form_.maneuverWindow()->scrollToEntry(first);
    updateUndoItem();
    updateTitleMark();
}

void DesktopActions::newWorkspace() {
    CubeList& list = form_.list();
    if (!list.empty()) {
        // The Cubes menu's rules decide whether the list may be cleared now.
        emit form_.cubesMenu()->aboutToShow();
        if (!form_.findChild<QAction*>("ClearMainWindow1")->isEnabled() || form_.busy()) {
            form_.prompts().message(kBusyMessage);
            return;
        }
        clear();
        if (!list.empty()) return;  // declined
    }
    list.workspaceFile = kUntitledWorkspace;
    list.modified = false;
    form_.setWorkspaceName(kUntitledWorkspace);
}

bool DesktopActions::save() {
    CubeList& list = form_.list();
    const QFileInfo current(QString::fromStdString(list.workspaceFile));
    if (list.workspaceFile == kUntitledWorkspace || !current.isAbsolute()) return form_.saveWorkspaceClick();
    if (form_.busy() || form_.listOperationRunning()) {
        form_.prompts().message(kBusyMessage);
        return false;
    }
    bool ok = false;
    runList([&] { ok = saveWorkspace(list, list.workspaceFile).ok; });
    if (ok) fileUsed(current.filePath());
    updateTitleMark();
    return ok;
}

void DesktopActions::openFile(const QString& file) {
    if (form_.busy() || form_.listOperationRunning()) {
        form_.prompts().message(kBusyMessage);
        return;
    }
    runList([this, file] { workspaceLoaded(file, loadWorkspace(form_.list(), file.toStdString())); });
}

// A list that holds just what was read from the file, completely, is as saved: no mark, and
// no question about saving it at exit.
void DesktopActions::workspaceLoaded(const QString& file, const LoadResult& result) {
    if (!result.opened) return;
    fileUsed(file);
    CubeList& list = form_.list();
    const bool complete = !result.cancelled && !result.tooLong && !result.declined && result.error.empty();
    if (complete && static_cast<int>(list.size()) == result.added) {
        list.modified = false;
        list.showCaption();
    }
    updateTitleMark();
}

void DesktopActions::fileUsed(const QString& file) { recent_->add(file); }

QString DesktopActions::dialogFolder(const QString& current) const {
    const QFileInfo file(current);
    if (!current.isEmpty() && file.isAbsolute() && file.dir().exists()) return file.absolutePath();
    return recent_->startFolder();
}

// ---------------------------------------------------------------- title and keys

void DesktopActions::updateTitleMark() {
    if (markingTitle_) return;
    const QString title = form_.windowTitle();
    const QString bare = title.startsWith('*') ? title.mid(1) : title;
    // A progress text in front of the caption stands alone; the mark returns with the caption.
    if (bare != QString::fromStdString(form_.list().caption())) return;
    const QString wanted = form_.list().modified ? "*" + bare : bare;
    if (wanted == title) return;
    markingTitle_ = true;
    form_.setWindowTitle(wanted);
    markingTitle_ = false;
}

bool DesktopActions::listKey(int key, Qt::KeyboardModifiers modifiers) {
    CubeList& list = form_.list();
    ManeuverWindow& view = *form_.maneuverWindow();
    const int count = static_cast<int>(list.size());
    const int page = std::max(1, view.viewport()->height() / view.rowHeight());
    int current = list.anchor;
    if (current < 0 && list.hasSelection()) current = list.selectedIndices().front();
    int target;
    switch (key) {
        case Qt::Key_Home: target = 0; break;
        case Qt::Key_End: target = count - 1; break;
        case Qt::Key_PageUp: target = current < 0 ? 0 : current - page; break;
        case Qt::Key_PageDown: target = current < 0 ? 0 : current + page; break;
        case Qt::Key_Up: target = current < 0 ? 0 : current - 1; break;
        case Qt::Key_Down: target = current < 0 ? 0 : current + 1; break;
        default: return false;
    }
    if (count == 0) return true;
    target = std::clamp(target, 0, count - 1);
    const bool extend = modifiers & Qt::ShiftModifier;
    runList([&] {
        if (extend && list.anchor >= 0) {
            list.click(target, CubeList::kShift);
        } else {
            list.clearSelection();
            list.anchor = -1;
            list.click(target, CubeList::kNone);
        }
    });
    view.scrollToEntry(target);
    if (target == 0) view.verticalScrollBar()->setValue(0);  // the margin above the first row too
    return true;
}

bool DesktopActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_) {
        if (event->type() == QEvent::WindowTitleChange) {
            updateTitleMark();
            progress_->follow();
        }
        if (event->type() == QEvent::Close) saveGeometry();
        if (event->type() == QEvent::Show && !splitApplied_) {
            splitApplied_ = true;
            applySplit();
        }
    } else if (watched == form_.maneuverWindow() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if (mods == Qt::NoModifier && listKey(key->key(), key->modifiers())) return true;
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- geometry

QSplitter* DesktopActions::splitter() const { return qobject_cast<QSplitter*>(form_.centralWidget()); }

void DesktopActions::restoreGeometry() {
    Settings& s = form_.settings();
    const int width = s.readInt(kDesktopSection, kWidth, 0);
    const int height = s.readInt(kDesktopSection, kHeight, 0);
    if (width > 0 && height > 0) {
        const QRect wanted(s.readInt(kDesktopSection, kLeft, 0), s.readInt(kDesktopSection, kTop, 0), width, height);
        QSize size = wanted.size();
        if (const QScreen* screen = QGuiApplication::primaryScreen())  // a smaller screen than last time
            size = size.boundedTo(screen->availableVirtualSize());
        form_.resize(size);
        // A window whose place is on no screen any more (a monitor unplugged) stays where it is.
        if (QGuiApplication::screenAt(wanted.center())) form_.move(wanted.topLeft());
        if (s.readBool(kDesktopSection, kMaximized, false)) form_.setWindowState(Qt::WindowMaximized);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // A first start: a roomy window that still fits the screen.
        const QSize room = screen->availableSize();
        form_.resize(std::min(1280, room.width()), std::min(760, room.height()));
    }
    savedListWidth_ = s.readInt(kDesktopSection, kListWidth, 0);
}

void DesktopActions::fitPagesToCurrent() {
    QTabWidget* pages = form_.pages();
    for (int i = 0; i < pages->count(); ++i) {
        QWidget* page = pages->widget(i);
        QSizePolicy policy = page->sizePolicy();
        policy.setHorizontalPolicy(i == pages->currentIndex() ? QSizePolicy::Preferred : QSizePolicy::Ignored);
        page->setSizePolicy(policy);
    }
    pages->updateGeometry();
}

// When the window first shows, at its real width: the list pane as it was left, or else the
// width of a whole row, and more when the pages have their share (40 %, so the editor's
// picture grows on a large screen) and the room they need.
void DesktopActions::applySplit() {
    constexpr double kPagesShare = 0.4;
    QSplitter* split = splitter();
    if (!split || split->count() < 2) return;
    const int total = split->width() - split->handleWidth();
    const int row = form_.maneuverWindow()->sizeHint().width();
    const int pagesLeast = form_.pages()->minimumSizeHint().width() + 24;  // the page shown, with a little air
    const int pages = std::max(pagesLeast, static_cast<int>(total * kPagesShare));
    int list = savedListWidth_ > 0 ? savedListWidth_ : std::max(row, total - pages);
    list = std::clamp(list, std::min(row, total / 2), std::max(1, total - 120));
    split->setSizes({list, total - list});
}

void DesktopActions::saveGeometry() {
    Settings& s = form_.settings();
    const bool maximized = form_.isMaximized();
    const QRect normal = form_.normalGeometry().isValid() ? form_.normalGeometry() : form_.geometry();
    s.writeInt(kDesktopSection, kLeft, normal.x());
    s.writeInt(kDesktopSection, kTop, normal.y());
    s.writeInt(kDesktopSection, kWidth, normal.width());
    s.writeInt(kDesktopSection, kHeight, normal.height());
    s.writeBool(kDesktopSection, kMaximized, maximized);
    if (QSplitter* split = splitter(); split && split->count() >= 2)
        s.writeInt(kDesktopSection, kListWidth, split->sizes().value(0));
}

}  // namespace tx::ui
