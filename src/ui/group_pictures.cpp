#include "ui/group_pictures.hpp"

#include <QApplication>
#include <QPainter>
#include <QPalette>

#include "cube/symmetry.hpp"

namespace tx::ui {

namespace {

constexpr int kPictureSize = 36;
constexpr int kTextOffset = 50;
constexpr std::uint64_t kReflections = 0xAAAAAAAAAAAAull;  // odd symmetry numbers

}  // namespace

QIcon groupPicture(int row) {
    const auto& group = GroupMaskTable.at(static_cast<std::size_t>(row));
    const QPalette palette = QApplication::palette();
    QPixmap pixmap(kPictureSize, kPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette.color(QPalette::Text), 1.5));
    p.setBrush(palette.color(QPalette::Highlight).lighter(160));
    const QRectF outer(2, 2, kPictureSize - 4, kPictureSize - 4);
    p.drawEllipse(outer);
    if (group.mask & kReflections) {
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(outer.adjusted(3, 3, -3, -3));
    }
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(group.order >= 10 ? 12 : 14);
    p.setFont(font);
    p.drawText(outer, Qt::AlignCenter, QString::number(group.order));
    return QIcon(pixmap);
}

void GroupItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const QString text = opt.text;
    const QIcon icon = opt.icon;
    opt.text.clear();
    opt.icon = QIcon();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    const QRect r = option.rect;
    const int side = std::min(kPictureSize, r.height() - 2);
    icon.paint(painter, QRect(r.left() + 4, r.top() + (r.height() - side) / 2, side, side));
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(r.adjusted(kTextOffset, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}

QSize GroupItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QSize base = QStyledItemDelegate::sizeHint(option, index);
    return {std::max(base.width(), kTextOffset + option.fontMetrics.horizontalAdvance(index.data().toString()) + 8),
            std::max(base.height(), kPictureSize + 2)};
}

}  // namespace tx::ui
