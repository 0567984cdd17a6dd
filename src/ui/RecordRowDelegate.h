#pragma once

#include "RowStatus.h"

#include <QColor>
#include <QPalette>
#include <QStyledItemDelegate>

namespace gt {

// How a row of records is drawn: refusals (and unknown statuses) bold, in a
// red, with a bar in the row's margin; OFF rows italic in an amber; valid
// rows as they are. Only the drawing changes: the text of the row, which
// printing, saving, copying and searching read, is the display line itself.
// Bold and italic faces of the fixed-pitch font keep its advance, so the
// columns stay under their headings.
class RecordRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The text colour for a status on this palette: darker shades on a light
    // base, lighter ones on a dark base, so both read well. Invalid for rows
    // drawn as they are.
    static QColor statusColour(RowStatus status, const QPalette &palette);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

} // namespace gt
