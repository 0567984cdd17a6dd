#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QListView;

namespace gt {

// A row of column headings kept over the character columns of a fixed-pitch
// list, so each heading stands over the column it names whatever the font.
class ColumnHeadings : public QWidget
{
    Q_OBJECT
public:
    struct Column
    {
        QLabel *label;
        int firstChar; // 0-based character position in a list line
        int width;     // characters
    };

    ColumnHeadings(QListView *list, QWidget *parent = nullptr);

    // Adds a heading label named objectName with text, over the given columns.
    QLabel *addHeading(const QString &objectName, const QString &text, int firstChar, int width);

    // Pixel x of a character column, relative to this widget.
    int columnX(int charPos) const;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QListView *m_list;
    QList<Column> m_columns;
    int m_height = 0;
};

// The six headings over display lines, as every list of records shows them.
// Returns the headings widget; the labels carry the given object names.
struct DisplayHeadingNames
{
    QString date, time, entryPoint, status, facility, card;
    QString facilityText;
};
ColumnHeadings *makeDisplayHeadings(QListView *list, const DisplayHeadingNames &names, QWidget *parent);

} // namespace gt
