#include "UniformListView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace gt {

UniformListView::UniformListView(QWidget *parent) : QAbstractItemView(parent)
{
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
}

int UniformListView::rows() const { return model() ? model()->rowCount(rootIndex()) : 0; }

QSize UniformListView::rowSize() const
{
    if (!model() || rows() == 0)
        return QSize(0, fontMetrics().height() + 2);
    // Asked for every row painted: the first row's size is kept, not asked
    // of the delegate (and read from the file) each time.
    if (!m_rowSize.isValid()) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex first = model()->index(0, 0, rootIndex());
        const QSize size = itemDelegateForIndex(first)->sizeHint(option, first);
        m_rowSize = QSize(size.width(), qMax(1, size.height()));
    }
    return m_rowSize;
}

int UniformListView::visibleRows() const { return qMax(1, viewport()->height() / rowSize().height()); }

int UniformListView::firstRow() const { return verticalScrollBar()->value(); }

void UniformListView::updateGeometries()
{
    m_rowSize = QSize();
    const QSize row = rowSize();
    const int shown = visibleRows();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setRange(0, qMax(0, rows() - shown));
    horizontalScrollBar()->setSingleStep(fontMetrics().horizontalAdvance(QLatin1Char('0')));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, qMax(0, row.width() - viewport()->width()));
    QAbstractItemView::updateGeometries();
}

void UniformListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
}

QRect UniformListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.parent() != rootIndex())
        return QRect();
    const QSize row = rowSize();
    return QRect(-horizontalOffset(), (index.row() - firstRow()) * row.height(),
                 qMax(row.width(), viewport()->width() + horizontalOffset()), row.height());
}

void UniformListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    const int shown = visibleRows();
    int first = firstRow();
    switch (hint) {
    case PositionAtTop: first = row; break;
    case PositionAtBottom: first = row - shown + 1; break;
    case PositionAtCenter: first = row - shown / 2; break;
    case EnsureVisible:
        if (row < first)
            first = row;
        else if (row >= first + shown)
            first = row - shown + 1;
        break;
    }
    verticalScrollBar()->setValue(first);
}

QModelIndex UniformListView::indexAt(const QPoint &point) const
{
    if (!model() || point.y() < 0)
        return QModelIndex();
    const int row = firstRow() + point.y() / rowSize().height();
    return row < rows() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

QModelIndex UniformListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    if (!model() || rows() == 0)
        return QModelIndex();
    const int current = currentIndex().isValid() ? currentIndex().row() : 0;
    int row = current;
    switch (action) {
    case MoveUp: case MovePrevious: row = current - 1; break;
    case MoveDown: case MoveNext: row = current + 1; break;
    case MovePageUp: row = current - visibleRows(); break;
    case MovePageDown: row = current + visibleRows(); break;
    case MoveHome: row = 0; break;
    case MoveEnd: row = rows() - 1; break;
    case MoveLeft: case MoveRight: return currentIndex();
    }
    return model()->index(qBound(0, row, rows() - 1), 0, rootIndex());
}

int UniformListView::horizontalOffset() const { return horizontalScrollBar()->value(); }

int UniformListView::verticalOffset() const { return firstRow() * rowSize().height(); }

bool UniformListView::isIndexHidden(const QModelIndex &) const { return false; }

void UniformListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags flags)
{
    const QModelIndex top = indexAt(QPoint(0, qMax(0, rect.top())));
    QModelIndex bottom = indexAt(QPoint(0, rect.bottom()));
    if (!top.isValid())
        return;
    if (!bottom.isValid())
        bottom = model()->index(rows() - 1, 0, rootIndex());
    selectionModel()->select(QItemSelection(top, bottom), flags);
}

QRegion UniformListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const int first = firstRow(), last = first + visibleRows();
    for (const QItemSelectionRange &range : selection) {
        const int top = qMax(range.top(), first), bottom = qMin(range.bottom(), last);
        if (top <= bottom)
            region += visualRect(model()->index(top, 0, rootIndex())).united(
                visualRect(model()->index(bottom, 0, rootIndex())));
    }
    return region;
}

void UniformListView::paintEvent(QPaintEvent *event)
{
    if (!model())
        return;
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int height = rowSize().height();
    const int first = firstRow() + event->rect().top() / height;
    const int last = qMin(rows() - 1, firstRow() + event->rect().bottom() / height);
    const QModelIndex current = currentIndex();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        option.rect = visualRect(index);
        option.state = QStyle::State_Enabled;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (index == current && hasFocus())
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void UniformListView::scrollContentsBy(int, int) { viewport()->update(); }

} // namespace gt
