// The list's rows follow the font: at the default font they keep their geometry (108 pixels,
// 4-pixel facelets, 650 wide); at a larger font they grow so that every control lies inside its
// row, no control is smaller than it asks to be, no two overlap and the picture still takes
// the clicks.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/list_fixture.hpp"

namespace tx::ui::test {
namespace {

// Sets the application font for the test's duration.
struct FontScope {
    QFont saved = QApplication::font();
    explicit FontScope(double scale) {
        QFont f = saved;
        f.setPointSizeF(saved.pointSizeF() * scale);
        QApplication::setFont(f);
    }
    ~FontScope() { QApplication::setFont(saved); }
};

std::vector<QWidget*> controlsOf(const ManeuverRow& row) {
    return {row.numberLabel(), row.nameCaption(), row.nameField(), row.optimalBox(),
            row.runButton(),   row.captionButton(), row.maneuverLabel()};
}

// Every control of every row in view inside the row, as large as it asks to be, apart from
// the others and from the picture.
void expectRowsHoldTheirControls(const ListWindow& w) {
    const ManeuverWindow& view = w.view();
    const RowGeometry& g = view.rowGeometry();
    int checked = 0;
    for (int i = 0; i < static_cast<int>(w.list().size()); ++i) {
        const ManeuverRow* row = w.row(i);
        if (!row) continue;
        ++checked;
        const int top = view.rowTop(i) - view.scrollY();
        const QRect rowRect(-view.scrollX(), top, view.contentWidth(), g.height);
        const QRect picture = view.pictureRect(i);
        EXPECT_TRUE(rowRect.contains(picture));
        const auto controls = controlsOf(*row);
        for (QWidget* c : controls) {
            const std::string name = c->objectName().toStdString() + " of row " + std::to_string(i);
            const QRect r = c->geometry();
            EXPECT_TRUE(rowRect.contains(r)) << name;
            if (c != row->maneuverLabel()) {  // wrapped: checked by its lines below
                EXPECT_GE(r.height(), c->sizeHint().height()) << name;
                if (c != row->nameField()) {
                    EXPECT_GE(r.width(), c->sizeHint().width()) << name;
                }
            }
            if (c != row->numberLabel()) {
                EXPECT_FALSE(r.intersects(picture)) << name;
            }
            for (QWidget* other : controls) {
                if (other != c) {
                    EXPECT_FALSE(r.intersects(other->geometry())) << name << " / " << other->objectName().toStdString();
                }
            }
        }
        // The maneuver's wrapped lines fit its label.
        QLabel* maneuver = row->maneuverLabel();
        EXPECT_LE(maneuver->heightForWidth(maneuver->width()), maneuver->height()) << "maneuver of row " << i;
    }
    EXPECT_GE(checked, 2);
}

TEST(RowFont, theDefaultFontKeepsTheRowGeometry) {
    ListWindow w({900, 700});
    w.addScrambles(3, 22);
    w.flush();
    const RowGeometry& g = w.view().rowGeometry();
    EXPECT_EQ(g.height, 108);
    EXPECT_EQ(g.faceletSize, 4);
    EXPECT_EQ(g.leastWidth, 650);
    EXPECT_EQ(w.view().pictureRect(1), QRect(5, 116, 132, 96));
    EXPECT_EQ(w.view().contentHeightFor(3), 8 + 3 * 108 + 8);
    expectRowsHoldTheirControls(w);
}

TEST(RowFont, aLargerFontMakesTallerRowsThatHoldTheirControls) {
    ListWindow w({1366, 720});
    w.addScrambles(6, 22);
    w.list().at(1).patternName = "A long pattern name of thirty";
    w.flush();
    {
        FontScope large(2.0);
        w.flush();
        const RowGeometry& g = w.view().rowGeometry();
        EXPECT_GT(g.height, 150);
        EXPECT_GT(g.faceletSize, 4);
        EXPECT_GT(g.leastWidth, 650);
        EXPECT_EQ(w.view().contentHeightFor(6), 8 + 6 * g.height + 8);
        expectRowsHoldTheirControls(w);
        // The picture still takes the clicks, in the taller rows too.
        w.click(1);
        EXPECT_EQ(w.selected(), std::vector<int>{1});
        const QRect second = w.view().pictureRect(1);
        EXPECT_EQ(w.view().hitTest(second.topLeft() + QPoint(1, 1)), 1);
        EXPECT_EQ(w.view().hitTest(QPoint(second.left() + 2, second.bottom() + 3)), -1);  // the gap below
        // A narrower pane scrolls sideways instead of squeezing the controls.
        w.form->resize(900, 720);
        w.flush();
        expectRowsHoldTheirControls(w);
    }
    w.flush();
    EXPECT_EQ(w.view().rowHeight(), 108);  // back at the default font
    EXPECT_EQ(w.view().rowGeometry().leastWidth, 650);
}

}  // namespace
}  // namespace tx::ui::test
