#include "ui/turn_button.hpp"

#include <QMouseEvent>

namespace tx::ui {

TurnButton::TurnButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent), caption_(caption) {}

void TurnButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QPushButton::mousePressEvent(event);
        return;
    }
    if (!isEnabled()) return;
    rightHeld_ = true;
    setText(caption_ + "'");
    setDown(true);
    event->accept();
}

void TurnButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton || !rightHeld_) {
        QPushButton::mouseReleaseEvent(event);
        return;
    }
    rightHeld_ = false;
    setText(caption_);
    setDown(false);
    event->accept();
    // Like a left click, the turn happens only when the button is released over it.
    if (isEnabled() && rect().contains(event->position().toPoint())) emit rightClicked();
}

}  // namespace tx::ui
