#include "ColumnHeadings.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QListView>
#include <QStyle>

namespace gt {

ColumnHeadings::ColumnHeadings(QListView *list, QWidget *parent) : QWidget(parent), m_list(list)
{
    m_list->installEventFilter(this);
}

QLabel *ColumnHeadings::addHeading(const QString &objectName, const QString &text, int firstChar, int width)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName);
    m_columns.append({label, firstChar, width});
    place();
    return label;
}

int ColumnHeadings::columnX(int charPos) const
{
    const QFontMetrics fm(m_list->font());
    // The list's frame and the item's own text margin stand before column 0.
    const int margin = m_list->frameWidth()
        + m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1;
    const int listLeft = m_list->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
    return listLeft + margin + fm.horizontalAdvance(QString(charPos, QLatin1Char('0')));
}

QSize ColumnHeadings::sizeHint() const
{
    int h = 0;
    for (const Column &c : m_columns)
        h = qMax(h, c.label->sizeHint().height());
    return {columnX(68) + 20, h + 2};
}

void ColumnHeadings::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

bool ColumnHeadings::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        place();
    return QWidget::event(event);
}

bool ColumnHeadings::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && (event->type() == QEvent::Move || event->type() == QEvent::Resize
                              || event->type() == QEvent::FontChange || event->type() == QEvent::Show))
        place();
    return QWidget::eventFilter(watched, event);
}

void ColumnHeadings::place()
{
    for (const Column &c : m_columns) {
        const int left = columnX(c.firstChar);
        const int right = columnX(c.firstChar + c.width);
        const QSize hint = c.label->sizeHint();
        const int x = left + (right - left - hint.width()) / 2;
        c.label->setGeometry(qMax(0, x), 0, hint.width(), hint.height());
    }
}

ColumnHeadings *makeDisplayHeadings(QListView *list, const DisplayHeadingNames &n, QWidget *parent)
{
    auto *headings = new ColumnHeadings(list, parent);
    // Character columns of a display line (see MakeDisplayLine).
    headings->addHeading(n.date, QStringLiteral("Date"), 0, 10);
    headings->addHeading(n.time, QStringLiteral("Time"), 13, 11);
    headings->addHeading(n.entryPoint, QStringLiteral("Entry Point"), 24, 18);
    headings->addHeading(n.status, QStringLiteral("Status"), 42, 9);
    headings->addHeading(n.facility, n.facilityText, 55, 3);
    headings->addHeading(n.card, QStringLiteral("Card/Keyless Nbr"), 62, 6);
    return headings;
}

} // namespace gt
