#pragma once
// A turn button of the facelet editor: a left click turns, a right click turns back. While
// the right button is held the caption shows a "'" so the user sees the inverse coming.
#include <QPushButton>

namespace tx::ui {

class TurnButton : public QPushButton {
    Q_OBJECT
public:
    TurnButton(const QString& caption, QWidget* parent = nullptr);

signals:
    void rightClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString caption_;
    bool rightHeld_ = false;
};

}  // namespace tx::ui
