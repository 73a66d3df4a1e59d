#include "ui/facelet_editor_widget.hpp"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include "ui/colors.hpp"

namespace tx::ui {

void paintFaceletCube(QPainter& painter, const FaceletCube& cube, const PictureGeometry& geometry,
                      const ColorScheme& scheme, int displayMode) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    for (int n = 0; n < kFacelets; ++n) {
        const FaceletQuad q = geometry.polygon(n);
        QPolygon polygon;
        for (const auto& p : q) polygon << QPoint(p.x, p.y);
        const FaceletPaint paint = faceletPaint(n, cube.f[static_cast<std::size_t>(n)], displayMode, scheme);
        const QColor color = toQColor(paint.color);
        if (paint.fill == FaceletFill::Solid) {
            painter.setBrush(color);
        } else {
            // Hatches lie on a black ground: first the ground, then the lines.
            painter.setBrush(Qt::black);
            painter.drawPolygon(polygon);
            painter.setBrush(QBrush(color, paint.fill == FaceletFill::Cross ? Qt::DiagCrossPattern
                                                                            : Qt::BDiagPattern));
        }
        painter.drawPolygon(polygon);
    }
    if (cube.centersCount) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (int face = 0; face < 6; ++face) {
            const CenterMark m = geometry.centerMark(face, cube.centerOri[static_cast<std::size_t>(face)]);
            painter.drawEllipse(QPointF(m.cx, m.cy), m.rx, m.ry);
        }
    }
    painter.restore();
}

FaceletEditorWidget::FaceletEditorWidget(FaceletEditor& editor, Prompts* prompts, QWidget* parent)
    : QWidget(parent), editor_(editor), prompts_(prompts) {
    setMouseTracking(true);
    // The picture grows with its pane; the editor's geometry stays the one at scale 1.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QTransform FaceletEditorWidget::pictureTransform() const {
    const QSize base = sizeHint();
    const double scale =
        std::max(kLeastScale, std::min(double(width()) / base.width(), double(height()) / base.height()));
    QTransform t;
    t.translate(std::floor((width() - base.width() * scale) / 2), 0);
    t.scale(scale, scale);
    return t;
}

QPoint FaceletEditorWidget::toPicture(const QPointF& p) const {
    return pictureTransform().inverted().map(p).toPoint();
}

// A small pane may shrink the picture a little rather than cut it off.
QSize FaceletEditorWidget::minimumSizeHint() const {
    const QSize base = sizeHint();
    return {static_cast<int>(std::ceil(base.width() * kLeastScale)), static_cast<int>(std::ceil(base.height() * kLeastScale))};
}

QSize FaceletEditorWidget::sizeHint() const {
    const PictureGeometry g = editor_.geometry();
    return {g.originX + g.width() + 1, g.originY + g.height() + 1};
}

void FaceletEditorWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, pictureTransform().m11() != 1.0);
    painter.setTransform(pictureTransform());
    paintFaceletCube(painter, editor_.cube(), editor_.geometry(), editor_.scheme());
}

void FaceletEditorWidget::mousePressEvent(QMouseEvent* event) {
    using Click = FaceletEditor::Click;
    Click kind;
    if (event->button() == Qt::RightButton)
        kind = Click::Right;
    else if (event->button() != Qt::LeftButton)
        return;
    else if (event->modifiers() & Qt::ShiftModifier)
        kind = Click::ShiftLeft;
    else if (event->modifiers() & Qt::ControlModifier)
        kind = Click::CtrlLeft;
    else
        kind = Click::Left;
    const QPoint p = toPicture(event->position());
    const auto result = editor_.clickAt(p.x(), p.y(), kind, prompts_);
    if (result.cubeChanged) {
        update();
        emit cubeChanged();
    }
    if (result.currentColorChanged) emit currentColorChanged();
    if (result.centerDialogRequested) emit centerDialogRequested();
}

void FaceletEditorWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = toPicture(event->position());
    const bool over = editor_.geometry().hitTest(p.x(), p.y()) >= 0;
    setCursor(over ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

}  // namespace tx::ui
