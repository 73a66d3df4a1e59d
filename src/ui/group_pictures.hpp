#pragma once
// The pictures of the point groups in the symmetry page's lists: a badge with the group's
// order, doubly ringed when the group holds reflections. Items are drawn with the picture at
// the left and their text 50 pixels to the right.
#include <QIcon>
#include <QStyledItemDelegate>

namespace tx::ui {

QIcon groupPicture(int row);  // row of GroupMaskTable

class GroupItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace tx::ui
