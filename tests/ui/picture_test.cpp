#include <QImage>
#include <QTest>

#include "ui/colors.hpp"
#include "ui/facelet_editor_widget.hpp"
#include "ui_tests.hpp"

namespace tx::ui::test {

namespace {

QPoint centreOf(const FaceletQuad& q) {
    return {(q[0].x + q[1].x + q[2].x + q[3].x) / 4, (q[0].y + q[1].y + q[2].y + q[3].y) / 4};
}

QImage picture(QWidget& w) {
    w.resize(w.sizeHint());
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void PictureTest::faceletsArePaintedWhereTheGeometrySays() {
    FaceletEditor editor;
    editor.setOrigin(3, 2);
    // A cube with every colour value in many places: a few turns of a solved cube.
    for (int code : {0, 1, 2, 3, 4, 5, 1, 0}) editor.turn(code);
    editor.cube().f[1] = kUndefinedFacelet;
    FaceletEditorWidget widget(editor, nullptr);
    QImage image = picture(widget);
    QCOMPARE(image.width(), 3 + 33 * 10 + 1);
    for (int n = 0; n < kFacelets; ++n) {
        const QPoint p = centreOf(editor.geometry().polygon(n));
        const QColor expected = toQColor(editor.scheme()[editor.cube().f[n]]);
        QCOMPARE(QColor(image.pixel(p)), expected);
    }
    // Outside the net stays the widget's background: not a facelet colour.
    const QColor corner(image.pixel(3 + 2, 2 + 2));
    for (int v = 0; v < 7; ++v) QVERIFY(corner != toQColor(editor.scheme()[v]));
}

void PictureTest::hatchesAreColourOnBlack() {
    FaceletEditor editor;
    editor.cube().f[20] = kMarkOffset + 1;  // F2 marked R colour (yellow)
    editor.cube().f[29] = kReferenceMark;   // D2 reference mark, drawn in the U colour
    FaceletEditorWidget widget(editor, nullptr);
    QImage image = picture(widget);
    struct Counts { int black = 0, coloured = 0, other = 0; };
    auto inspect = [&](int facelet, QColor lines) {
        const FaceletQuad q = editor.geometry().polygon(facelet);
        Counts n;
        for (int y = q[0].y + 2; y < q[3].y - 1; ++y)
            for (int x = q[0].x + 2; x < q[1].x - 1; ++x) {
                QColor c(image.pixel(x, y));
                if (c == Qt::black) ++n.black;
                else if (c == lines) ++n.coloured;
                else ++n.other;
            }
        return n;
    };
    const Counts marked = inspect(20, toQColor(editor.scheme()[1]));
    const Counts reference = inspect(29, toQColor(editor.scheme()[0]));
    for (const Counts& n : {marked, reference}) {
        QVERIFY(n.black > 0);
        QVERIFY(n.coloured > 0);
        QCOMPARE(n.other, 0);
    }
    const int cross = marked.coloured, diagonal = reference.coloured;
    QVERIFY2(cross > diagonal, "a cross hatch has twice the lines of a diagonal one");
}

void PictureTest::centreMarksShowWhenCentresCount() {
    FaceletEditor editor;
    FaceletEditorWidget widget(editor, nullptr);
    for (int face = 0; face < 6; ++face) {
        const CenterMark m = editor.geometry().centerMark(face, 1);
        QCOMPARE(QColor(picture(widget).pixel(int(m.cx), int(m.cy))), toQColor(editor.scheme()[face]));
    }
    editor.setCentersCount(true);
    editor.cube().centerOri = {0, 1, 2, 3, 1, 2};
    QImage image = picture(widget);
    for (int face = 0; face < 6; ++face) {
        const int ori = editor.cube().centerOri[face];
        for (int o = 0; o < 4; ++o) {
            const CenterMark m = editor.geometry().centerMark(face, o);
            const QColor c(image.pixel(int(m.cx), int(m.cy)));
            if (o == ori)
                QCOMPARE(c, QColor(Qt::black));
            else
                QCOMPARE(c, toQColor(editor.scheme()[face]));
        }
    }
}

void PictureTest::clicksOnThePicturePaint() {
    FaceletEditor editor;
    editor.setAutoFix(false);
    FaceletEditorWidget widget(editor, nullptr);
    widget.resize(widget.sizeHint());
    int changes = 0, colourChanges = 0;
    connect(&widget, &FaceletEditorWidget::cubeChanged, [&] { ++changes; });
    connect(&widget, &FaceletEditorWidget::currentColorChanged, [&] { ++colourChanges; });
    const auto at = [&](int n) { return centreOf(editor.geometry().polygon(n)); };
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, at(9 * 5 + 4));  // B centre
    QCOMPARE(editor.currentColor(), 5);
    QCOMPARE(colourChanges, 1);
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, at(0));
    QCOMPARE(int(editor.cube().f[0]), 5);
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::ShiftModifier, at(1));
    QCOMPARE(int(editor.cube().f[1]), 12);
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::ControlModifier, at(2));
    QCOMPARE(int(editor.cube().f[2]), 13);
    QTest::mouseClick(&widget, Qt::RightButton, Qt::NoModifier, at(3));
    QCOMPARE(int(editor.cube().f[3]), 6);
    QCOMPARE(changes, 4);
    // The pointer shape tells facelets from the empty parts of the picture.
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::mouseMove(&widget, at(30));
    QCOMPARE(widget.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&widget, QPoint(2, 2));
    QCOMPARE(widget.cursor().shape(), Qt::ArrowCursor);
}

}  // namespace tx::ui::test
