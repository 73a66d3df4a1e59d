#pragma once
// The preview window of the webcam (TCaptureForm): shows each annotated frame, scaled to the
// window; a right click offers the red and orange samples at the clicked point; the keys X and
// Y widen the grid (with Ctrl: narrow it).
#include <QImage>
#include <QWidget>

class QMenu;

namespace tx::ui {

inline constexpr const char* kCaptureCaption = "Web Cam";

class TCaptureForm : public QWidget {
    Q_OBJECT
public:
    explicit TCaptureForm(QWidget* parent = nullptr);

    void showFrame(const QImage& frame);
    const QImage& lastFrame() const { return frame_; }
    int framesShown() const { return framesShown_; }
    // The frame pixel under a window point, or (-1, -1) outside the picture.
    QPoint framePoint(const QPoint& windowPoint) const;
    QMenu* sampleMenu() const { return menu_; }
    QSize sizeHint() const override { return {640, 480}; }

signals:
    // The menu asked for a sample of class cls (red or orange) at frame pixel `at`.
    void sampleRequested(int cls, QPoint at);
    void spacingStep(bool horizontal, int delta);
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QRect pictureRect() const;

    QImage frame_;
    int framesShown_ = 0;
    QMenu* menu_ = nullptr;
    QPoint clicked_;
};

}  // namespace tx::ui
