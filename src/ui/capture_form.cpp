#include "ui/capture_form.hpp"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "webcam/color.hpp"

namespace tx::ui {

TCaptureForm::TCaptureForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("CaptureForm");
    setWindowTitle(kCaptureCaption);
    setFocusPolicy(Qt::StrongFocus);
    menu_ = new QMenu(this);
    menu_->setObjectName("SampleMenu");
    QAction* red = menu_->addAction(tr("red"));
    red->setObjectName("SampleRed");
    QAction* orange = menu_->addAction(tr("orange"));
    orange->setObjectName("SampleOrange");
    connect(red, &QAction::triggered, this, [this] { emit sampleRequested(kRed, framePoint(clicked_)); });
    connect(orange, &QAction::triggered, this, [this] { emit sampleRequested(kOrange, framePoint(clicked_)); });
}

void TCaptureForm::showFrame(const QImage& frame) {
    frame_ = frame;
    ++framesShown_;
    update();
}

// The frame scaled to fit the window, its aspect kept, centred.
QRect TCaptureForm::pictureRect() const {
    if (frame_.isNull()) return {};
    QSize size = frame_.size();
    size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QPoint TCaptureForm::framePoint(const QPoint& windowPoint) const {
    const QRect r = pictureRect();
    if (!r.contains(windowPoint) || r.isEmpty()) return {-1, -1};
    return {(windowPoint.x() - r.x()) * frame_.width() / r.width(), (windowPoint.y() - r.y()) * frame_.height() / r.height()};
}

void TCaptureForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (frame_.isNull()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("Waiting for the camera..."));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), frame_);
}

void TCaptureForm::contextMenuEvent(QContextMenuEvent* event) {
    clicked_ = event->pos();
    menu_->popup(event->globalPos());
}

void TCaptureForm::keyPressEvent(QKeyEvent* event) {
    const int delta = event->modifiers() & Qt::ControlModifier ? -1 : +1;
    if (event->key() == Qt::Key_X) {
        emit spacingStep(true, delta);
    } else if (event->key() == Qt::Key_Y) {
        emit spacingStep(false, delta);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TCaptureForm::closeEvent(QCloseEvent* event) {
    emit closed();
    event->accept();
}

}  // namespace tx::ui
