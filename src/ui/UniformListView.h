#pragma once

#include <QAbstractItemView>

namespace gt {

// A list of one-line rows all as high as the first, for lists of many
// millions of rows (a stored file's lines). It keeps nothing per row:
// where a row stands is worked out from its number, so showing twenty
// million rows costs no more memory than showing ten, where a QListView
// keeps a position for every row it lays out. Rows are as wide as the
// delegate says the first row is.
class UniformListView : public QAbstractItemView
{
    Q_OBJECT
public:
    explicit UniformListView(QWidget *parent = nullptr);

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;

protected:
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    int rows() const;
    QSize rowSize() const;
    int visibleRows() const;
    int firstRow() const;

    mutable QSize m_rowSize; // of the first row, found again by updateGeometries()
};

} // namespace gt
