#include "ui/maneuver_window.hpp"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QCheckBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

#include "ui/facelet_editor_widget.hpp"
#include "ui/maneuver_row.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx::ui {

namespace {

// A row's frame reaches a little above the picture and into the gap below it.
constexpr int kFrameAbove = 4;

// A selected row is tinted with the palette's highlight over the list's base, light enough
// that the row's text (drawn in the palette's text colour) stays readable in any theme.
QColor selectedFill(const QPalette& p) {
    const QColor base = p.color(QPalette::Base), mark = p.color(QPalette::Highlight);
    constexpr double kTint = 0.3;
    return QColor::fromRgbF(static_cast<float>(base.redF() * (1 - kTint) + mark.redF() * kTint),
                            static_cast<float>(base.greenF() * (1 - kTint) + mark.greenF() * kTint),
                            static_cast<float>(base.blueF() * (1 - kTint) + mark.blueF() * kTint));
}

double luminance(const QColor& c) { return 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF(); }

// Styles derive the frames of line edits and check boxes from the window colour, which all
// but vanishes against the list's base in a dark theme. There the list draws an outline of
// its own around the name field and the "optimal" box, halfway between base and text.
void outlineFields(QPainter& painter, const QPalette& p, const ManeuverRow& row) {
    if (luminance(p.color(QPalette::Base)) >= luminance(p.color(QPalette::Text))) return;  // light: style frames show
    const QColor base = p.color(QPalette::Base), text = p.color(QPalette::Text);
    const QColor line = QColor::fromRgbF((base.redF() + text.redF()) / 2, (base.greenF() + text.greenF()) / 2,
                                         (base.blueF() + text.blueF()) / 2);
    QStyleOptionButton box;
    box.initFrom(row.optimalBox());
    box.text = row.optimalBox()->text();
    const QRect indicator = row.optimalBox()->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &box,
                                                                       row.optimalBox());
    painter.save();
    painter.setPen(QPen(line, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(row.nameField()->geometry().adjusted(-1, -1, 0, 0));
    painter.drawRect(indicator.translated(row.optimalBox()->pos()).adjusted(-1, -1, 0, 0));
    painter.restore();
}

}  // namespace

ManeuverWindow::ManeuverWindow(CubeList& list, FaceletEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), list_(list), editor_(editor) {
    setObjectName("ManeuverWindow");
    viewport()->setObjectName("ManeuverList");
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setForegroundRole(QPalette::Text);
    horizontalScrollBar()->setSingleStep(20);

    copyToClipboard = [](const QString& text) { QApplication::clipboard()->setText(text); };

    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(kRepaintInterval);
    connect(&repaintTimer_, &QTimer::timeout, this, &ManeuverWindow::repaintNow);

    emptyHint_ = new QLabel(tr(kEmptyListHint), viewport());
    emptyHint_->setObjectName("EmptyListHint");
    emptyHint_->setAlignment(Qt::AlignCenter);
    emptyHint_->setWordWrap(true);
    emptyHint_->setForegroundRole(QPalette::PlaceholderText);
    emptyHint_->setAttribute(Qt::WA_TransparentForMouseEvents);  // a click beside still clears

    ensureRowCount(kControlSets);
    buildCubeMenu();
    measureRows();
}

ManeuverWindow::~ManeuverWindow() = default;

int ManeuverWindow::pictureAt(int x, int y, int scrollX, int scrollY, std::size_t count) const {
    const int v = y + scrollY - kRowTop;
    if (v < 0 || v % geometry_.height > geometry_.pictureHeight()) return -1;
    const int px = x + scrollX;
    if (px < kPictureX || px > kPictureX + geometry_.pictureWidth()) return -1;
    const int i = v / geometry_.height;
    return i < static_cast<int>(count) ? i : -1;
}

int ManeuverWindow::hitTest(const QPoint& p) const { return pictureAt(p.x(), p.y(), scrollX(), scrollY(), list_.size()); }

void ManeuverWindow::listSizeChanged() {
    setContentHeight(contentHeightFor(list_.size()));
    if (list_.empty()) resetScroll();
}

QSize ManeuverWindow::sizeHint() const {
    return {geometry_.leastWidth + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(), 4 * geometry_.height};
}

void ManeuverWindow::measureRows() {
    for (ManeuverRow* row : rows_) row->followFont();
    geometry_ = rows_.front()->measure();
    verticalScrollBar()->setSingleStep(geometry_.height / 3);
    contentHeight_ = contentHeightFor(list_.size());
    updateScrollRanges();
    QAbstractScrollArea::updateGeometry();  // the pane's size hint follows the rows
}

void ManeuverWindow::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        measureRows();
        repaintNow();
    }
}

// ---------------------------------------------------------------- scrolling

int ManeuverWindow::contentWidth() const { return std::max(geometry_.leastWidth, viewport()->width()); }

int ManeuverWindow::scrollX() const { return horizontalScrollBar()->value(); }
int ManeuverWindow::scrollY() const { return verticalScrollBar()->value(); }

void ManeuverWindow::updateScrollRanges() {
    const QSize view = viewport()->size();
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
    verticalScrollBar()->setRange(0, std::max(0, contentHeight_ - view.height()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth() - view.width()));
}

void ManeuverWindow::setContentHeight(int height) {
    if (height == contentHeight_) return;
    contentHeight_ = height;
    updateScrollRanges();
    scheduleRepaint();
}

void ManeuverWindow::resetScroll() {
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void ManeuverWindow::scrollToEntry(int index) {
    if (index < 0) return;
    contentHeight_ = contentHeightFor(list_.size());
    updateScrollRanges();
    const int top = rowTop(index) - kFrameAbove;
    const int bottom = top + geometry_.frameHeight();
    const int height = viewport()->height();
    if (top < scrollY())
        verticalScrollBar()->setValue(top);
    else if (bottom > scrollY() + height)
        verticalScrollBar()->setValue(std::min(top, bottom - height));
    repaintNow();
}

void ManeuverWindow::scrollContentsBy(int, int) {
    layoutRows();
    viewport()->update();
}

void ManeuverWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
    repaintNow();
}

// ---------------------------------------------------------------- rows

void ManeuverWindow::setSearchEnabled(bool on) {
    searchEnabled_ = on;
    repaintNow();
}

void ManeuverWindow::scheduleRepaint() {
    if (!repaintTimer_.isActive()) repaintTimer_.start();
}

void ManeuverWindow::repaintNow() {
    repaintTimer_.stop();
    layoutRows();
    viewport()->update();
    emit repainted();
}

// A tall window may show more rows than the sets made at start: more are added then.
void ManeuverWindow::ensureRowCount(int count) {
    while (static_cast<int>(rows_.size()) < count) {
        auto* row = new ManeuverRow(static_cast<int>(rows_.size()), viewport());
        connect(row, &ManeuverRow::runClicked, this,
                [this, row](int i) { rowCommand(row, i, [this, i] { list_.entryButton(i); }); });
        connect(row, &ManeuverRow::captionClicked, this,
                [this, row](int i) { rowCommand(row, i, [this, i] { list_.toggleShowSolver(i); }); });
        connect(row, &ManeuverRow::optimalClicked, this, [this, row](int i, bool checked) {
            rowCommand(row, i, [this, i, checked] { list_.setOptimalBox(i, checked); });
        });
        connect(row, &ManeuverRow::nameEdited, this, [this, row](int i, const QString& name) {
            if (boundTo(row, i)) list_.setPatternName(i, name.toStdString());
        });
        rows_.push_back(row);
    }
}

// The list may have changed since the row was bound (a repaint still pending): a control
// acts only on the entry it shows.
bool ManeuverWindow::boundTo(const ManeuverRow* row, int index) const {
    return index >= 0 && index < static_cast<int>(list_.size()) && row->boundEntry() == &list_.at(index);
}

void ManeuverWindow::rowCommand(ManeuverRow* row, int index, const std::function<void()>& command) {
    if (!boundTo(row, index) || !runOperation(command)) repaintNow();  // the control shows the entry again
}

ManeuverRow* ManeuverWindow::rowOf(int entry) const {
    for (ManeuverRow* r : rows_)
        if (r->entry() == entry && entry >= 0) return r;
    return nullptr;
}

// Row i is bound to set i mod N: a row keeps its controls (and the focus of its name field)
// while it stays in view.
void ManeuverWindow::layoutRows() {
    const int count = static_cast<int>(list_.size());
    emptyHint_->setVisible(count == 0);
    if (count == 0) emptyHint_->setGeometry(viewport()->rect().adjusted(24, 24, -24, -24));
    const int sx = scrollX(), sy = scrollY();
    const int height = viewport()->height();
    const int rowHeight = geometry_.height;
    int first = std::max(0, (sy - kRowTop - rowHeight) / rowHeight);
    while (first < count && rowTop(first) + rowHeight - sy <= 0) ++first;
    const int bottom = sy + height - 1 - kRowTop;  // last content line in view, from the first row
    int last = bottom < 0 ? -1 : std::min(count - 1, bottom / rowHeight);
    if (last - first + 1 > static_cast<int>(rows_.size())) ensureRowCount(last - first + 1);
    const int sets = static_cast<int>(rows_.size());
    std::vector<int> wanted(rows_.size(), -1);
    for (int i = first; i <= last; ++i) wanted[static_cast<std::size_t>(i % sets)] = i;
    for (int k = 0; k < sets; ++k) {
        ManeuverRow* row = rows_[static_cast<std::size_t>(k)];
        const int i = wanted[static_cast<std::size_t>(k)];
        if (i < 0) {
            if (row->entry() >= 0) row->hide();
            continue;
        }
        row->show(i, list_.at(i), QString::fromStdString(list_.rowManeuverText(i)), -sx, rowTop(i) - sy,
                  contentWidth(), searchEnabled_, geometry_);
    }
}

QRect ManeuverWindow::pictureRect(int index) const {
    return {kPictureX - scrollX(), rowTop(index) - scrollY(), geometry_.pictureWidth(), geometry_.pictureHeight()};
}

// ---------------------------------------------------------------- painting

void ManeuverWindow::paintRow(QPainter& painter, int index, const QRect& exposed) {
    const Entry& e = list_.at(index);
    const int sx = scrollX(), sy = scrollY();
    const QRect frame(1 - sx, rowTop(index) - kFrameAbove - sy, contentWidth() - 2, geometry_.frameHeight());
    if (!frame.adjusted(-1, -1, 1, 1).intersects(exposed)) return;
    const QPalette& p = viewport()->palette();
    if (e.selected) {
        painter.setPen(QPen(p.color(QPalette::Highlight), 1));
        painter.setBrush(selectedFill(p));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    } else {
        painter.setPen(QPen(p.color(QPalette::Mid), 1));
        painter.drawLine(frame.left() + 4, frame.bottom() + 3, frame.right() - 4, frame.bottom() + 3);
    }
    if (const ManeuverRow* row = rowOf(index)) outlineFields(painter, p, *row);
    PictureGeometry g;
    g.size = geometry_.faceletSize;
    g.originX = kPictureX;
    g.originY = rowTop(index);
    g.scrollX = sx;
    g.scrollY = sy;
    // Entries about corners or edges only show the other pieces in the free colour.
    paintFaceletCube(painter, e.cube, g, editor_.scheme(), e.cubieSubset);
}

void ManeuverWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    const int count = static_cast<int>(list_.size());
    const int sy = scrollY();
    const int rowHeight = geometry_.height;
    int first = std::max(0, (sy + exposed.top() - kRowTop - rowHeight) / rowHeight);
    const int last = std::min(count - 1, (sy + exposed.bottom() - kRowTop + kFrameAbove) / rowHeight + 1);
    for (int i = first; i <= last; ++i) paintRow(painter, i, exposed);
}

// ---------------------------------------------------------------- mouse

void ManeuverWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);  // a name field being edited lets go
    if (event->button() == Qt::LeftButton) {
        unsigned modifiers = CubeList::kNone;
        if (event->modifiers() & Qt::ShiftModifier) modifiers |= CubeList::kShift;
        if (event->modifiers() & Qt::ControlModifier) modifiers |= CubeList::kCtrl;
        runOperation([&] {
            const int index = hitTest(p);
            if (index >= 0) emit pictureClicked(index);
            list_.click(index, modifiers);
        });
    } else if (event->button() == Qt::RightButton) {
        const int i = hitTest(p);
        const QPoint global = event->globalPosition().toPoint();
        if (i >= 0)
            openCubeMenu(i, global);
        else
            emit backgroundMenuRequested(global);
    }
    event->accept();
}

// ---------------------------------------------------------------- commands

bool ManeuverWindow::runOperation(const std::function<void()>& command) {
    if (operation_) return false;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{operation_};
    operation_ = true;
    command();
    repaintNow();
    return true;
}

}  // namespace tx::ui
