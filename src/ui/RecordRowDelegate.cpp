#include "RecordRowDelegate.h"

#include <QPainter>

namespace gt {

namespace {

bool isDark(const QPalette &palette) { return palette.color(QPalette::Base).lightness() < 128; }

RowStatus statusOf(const QModelIndex &index) { return displayLineStatus(index.data(Qt::DisplayRole).toString()); }

} // namespace

QColor RecordRowDelegate::statusColour(RowStatus status, const QPalette &palette)
{
    const bool dark = isDark(palette);
    switch (status) {
    case RowStatus::Refused:
    case RowStatus::Unknown:
        return dark ? QColor(0xff, 0x80, 0x80) : QColor(0xb0, 0x00, 0x00);
    case RowStatus::Off:
        return dark ? QColor(0xf0, 0xc0, 0x60) : QColor(0x80, 0x50, 0x00);
    case RowStatus::Valid:
    case RowStatus::None:
        break;
    }
    return {};
}

void RecordRowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const RowStatus status = statusOf(index);
    if (needsAttention(status))
        option->font.setBold(true);
    else if (status == RowStatus::Off)
        option->font.setItalic(true);
    const QColor colour = statusColour(status, option->palette);
    // A selected row keeps the selection's own text colour, which the style
    // chose to read on the highlight.
    if (colour.isValid() && !(option->state & QStyle::State_Selected))
        option->palette.setColor(QPalette::Text, colour);
}

void RecordRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const RowStatus status = statusOf(index);
    if (!needsAttention(status))
        return;
    // The mark sits in the few pixels before the first character, where no
    // text is drawn.
    const QColor colour = statusColour(status, option.palette);
    painter->fillRect(QRect(option.rect.left(), option.rect.top(), 2, option.rect.height()), colour);
}

} // namespace gt
