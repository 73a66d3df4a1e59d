#pragma once
// The cube picture of the facelet editor: paints the editor's cube with the shared picture
// geometry and turns mouse presses into the editor's click actions.
#include <QTransform>
#include <QWidget>

#include "workspace/facelet_editor.hpp"

namespace tx::ui {

// Paints a facelet cube with the given geometry and scheme; also used for other pictures.
// displayMode: 0 whole cube, 1 corners only, 2 edges only, 4 fixed colours (faceletPaint).
void paintFaceletCube(QPainter& painter, const FaceletCube& cube, const PictureGeometry& geometry,
                      const ColorScheme& scheme, int displayMode = 0);

class FaceletEditorWidget : public QWidget {
    Q_OBJECT
public:
    FaceletEditorWidget(FaceletEditor& editor, Prompts* prompts, QWidget* parent = nullptr);
    // The least scale of the picture in a small pane.
    static constexpr double kLeastScale = 0.8;

    // The picture at scale 1; it grows with the widget and shrinks to kLeastScale.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // From the editor's picture geometry to the widget: scaled to fill it, centred across.
    QTransform pictureTransform() const;

signals:
    void cubeChanged();
    void currentColorChanged();
    void centerDialogRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPoint toPicture(const QPointF& widgetPoint) const;

    FaceletEditor& editor_;
    Prompts* prompts_;
};

}  // namespace tx::ui
