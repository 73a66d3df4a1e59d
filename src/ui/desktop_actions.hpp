#pragma once
// What a desktop user expects of the main window beside its own menus: New, Open, Save and
// Save As on the usual keys, recent files, Undo of the last Delete, Clear or Remove Cube, Select All,
// Home/End/PgUp/PgDn in the list, "*" in the title while the list has unsaved changes,
// file dialogs that start in the documents folder, and the window's size and split kept in
// cube.ini. The window's own items keep their captions and names; these stand beside them.
#include <QObject>
#include <QString>

#include <functional>

#include "workspace/list_undo.hpp"

class QAction;
class QMenu;
class QSplitter;

namespace tx {
struct LoadResult;
}

namespace tx::ui {

class ListProgress;
class RecentFiles;
class TForm1;

class DesktopActions : public QObject {
    Q_OBJECT
public:
    explicit DesktopActions(TForm1& form);
    ~DesktopActions() override;

    // Delete of the selection and the user's Clear, both remembered for Undo.
    void deleteSelected();
    void clear();
    // Ctrl+Z: the entries of the last Delete, Clear or Remove Cube come back at their places.
    void undoRemoval();
    // Ctrl+N: Clear (with its question), then an untitled workspace.
    void newWorkspace();
    // Ctrl+S: into the current file when there is one, else through the save dialog.
    bool save();
    // Loads a file without the dialog (a recent file).
    void openFile(const QString& file);
    // A workspace was read from `file` (through the dialog or the recent files).
    void workspaceLoaded(const QString& file, const LoadResult& result);
    // A workspace file was chosen in a dialog (or opened): it heads the recent files.
    void fileUsed(const QString& file);
    // The folder a workspace dialog starts in for the current file name.
    QString dialogFolder(const QString& current) const;
    // Title mark: "*" before the caption while the list has unsaved changes.
    void updateTitleMark();

    RecentFiles& recentFiles() { return *recent_; }
    ListProgress& listProgress() { return *progress_; }
    const RemovalUndo& undo() const { return undo_; }
    QAction* undoAction() const { return undoAction_; }

    // The split between the list and the pages, and the window's geometry, from cube.ini.
    void restoreGeometry();
    void saveGeometry();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFileItems();
    void buildEditMenu();
    void buildHelpItems();
    void updateUndoItem();
    bool listKey(int key, Qt::KeyboardModifiers modifiers);
    bool runList(const std::function<void()>& command);
    QSplitter* splitter() const;
    void applySplit();
    void fitPagesToCurrent();

    TForm1& form_;
    RemovalUndo undo_;
    RecentFiles* recent_ = nullptr;
    ListProgress* progress_ = nullptr;
    QAction* undoAction_ = nullptr;
    bool markingTitle_ = false;
    int savedListWidth_ = 0;  // from cube.ini; 0: none kept
    bool splitApplied_ = false;
};

}  // namespace tx::ui
