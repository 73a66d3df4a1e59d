#pragma once
// The maneuver window: the main window's left pane showing the cube list. Rows start at y = 8,
// are 108 pixels high at the default font (taller at a larger one, see RowGeometry) and as wide
// as the pane (at least 650, scrolled sideways below); a click on a picture (4 < x <= 137,
// 96 pixels high at the default font) names its entry to the list. Only the rows in
// view are painted (frame of selected entries, cube picture) and given one of the reusable
// row control sets, so the window stays quick with any number of entries. Repaint requests
// of the list are coalesced by a short timer, as hundreds of running searches may report
// many times a second.
//
// List commands (menus, the cube menu, row buttons, clicks) run through runOperation():
// long commands let the window process events, and the list must not change under them.
#include <QAbstractScrollArea>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "ui/maneuver_row.hpp"

class QLabel;
class QMenu;

namespace tx {
class CubeList;
class FaceletEditor;
struct Entry;
}  // namespace tx

namespace tx::ui {

inline constexpr const char* kEmptyListHint = "Add a cube from the editor, load a workspace, or add random cubes";

class ManeuverWindow : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kRowTop = 8;
    static constexpr int kControlSets = 16;
    static constexpr int kPictureX = RowGeometry::kPictureX;
    static constexpr int kRepaintInterval = 60;  // milliseconds between coalesced repaints

    ManeuverWindow(CubeList& list, FaceletEditor& editor, QWidget* parent = nullptr);
    ~ManeuverWindow() override;

    // The rows' geometry in the current font: row height, picture size, least width.
    const RowGeometry& rowGeometry() const { return geometry_; }
    int rowHeight() const { return geometry_.height; }
    // Content y of the top of entry `index`'s row.
    int rowTop(int index) const { return kRowTop + geometry_.height * index; }
    // The height of the rows of `count` entries with the margins above and below.
    int contentHeightFor(std::size_t count) const { return rowTop(static_cast<int>(count)) + kRowTop; }
    // The entry whose picture holds viewport point (x, y) when scrolled by (scrollX, scrollY),
    // among `count` entries; -1 for none.
    int pictureAt(int x, int y, int scrollX, int scrollY, std::size_t count) const;
    // The entry whose picture holds viewport point p, or -1.
    int hitTest(const QPoint& p) const;
    // The list gained or lost entries: the scrolled height follows; an empty list scrolls home.
    void listSizeChanged();

    // ------------------------------------------------------------ painting
    // Repaints within kRepaintInterval; any number of requests make one repaint.
    void scheduleRepaint();
    bool repaintPending() const { return repaintTimer_.isActive(); }
    // Binds the row controls to the rows in view and repaints at once.
    void repaintNow();
    void setContentHeight(int height);
    int contentHeight() const { return contentHeight_; }
    void resetScroll();
    // Scrolls just enough to show the whole row of entry `index`.
    void scrollToEntry(int index);
    int scrollX() const;
    int scrollY() const;
    // Rows use the pane's width; a pane narrower than the rows' least width scrolls sideways.
    int contentWidth() const;
    // Whether searches may be started (tables ready, nothing loading).
    void setSearchEnabled(bool on);
    // Whether the cube menu may transfer an entry to the symmetry page (its search is idle).
    void setSymmetryTransferEnabled(bool on) { symmetryTransferEnabled_ = on; }

    // The rectangle of entry `index`'s picture in viewport coordinates.
    QRect pictureRect(int index) const;
    // The control sets; each shows one row or is hidden.
    const std::vector<ManeuverRow*>& rows() const { return rows_; }
    ManeuverRow* rowOf(int entry) const;

    // ------------------------------------------------------------ commands
    // Runs a list command unless one is running; answers whether it ran.
    bool runOperation(const std::function<void()>& command);
    bool operationRunning() const { return operation_; }

    // The cube menu of entry `index` (right click on its picture).
    QMenu* cubeMenu() const { return cubeMenu_; }
    void openCubeMenu(int index, const QPoint& globalPos);
    // The entry the cube menu was opened for, as its current index; -1 when it is gone.
    int cubeMenuEntry() const;

    // The cube menu's Remove Cube, run inside the menu's list command; unset: the list removes
    // the entry. The desktop actions keep the entry for Undo.
    std::function<void(int)> removeCube;
    // Copies to the clipboard; tests may replace it.
    std::function<void(const QString&)> copyToClipboard;
    // The cube menu's coset explorer: whether it may run now, and running it for an entry.
    std::function<bool()> cosetExplorerAvailable;
    std::function<void(int)> runCosetExplorer;

    QSize sizeHint() const override;

signals:
    // A right click beside the pictures.
    void backgroundMenuRequested(const QPoint& globalPos);
    // The rows were brought up to date (after a coalesced or immediate repaint).
    void repainted();
    // The cube menu's transfer to the symmetry page, for entry `index`.
    void symmetryTransferRequested(int index);
    // A left click on the picture of entry `index`, before the list selects by it.
    void pictureClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void updateScrollRanges();
    // Measures the rows again after a change of font or style.
    void measureRows();
    void layoutRows();
    void ensureRowCount(int count);
    bool boundTo(const ManeuverRow* row, int index) const;
    void rowCommand(ManeuverRow* row, int index, const std::function<void()>& command);
    void paintRow(QPainter& painter, int index, const QRect& exposed);
    // cube_menu.cpp
    void buildCubeMenu();
    void updateCubeMenu(int index);
    void cubeCommand(const std::function<void(int)>& command);
    void transferToEditor(int index);

    CubeList& list_;
    FaceletEditor& editor_;
    std::vector<ManeuverRow*> rows_;
    RowGeometry geometry_;
    QTimer repaintTimer_;
    int contentHeight_ = 0;
    bool searchEnabled_ = true;
    bool symmetryTransferEnabled_ = true;
    bool operation_ = false;
    QMenu* cubeMenu_ = nullptr;
    QLabel* emptyHint_ = nullptr;  // shown while the list is empty
    std::weak_ptr<Entry> menuEntry_;
    int menuIndexHint_ = -1;
};

}  // namespace tx::ui
