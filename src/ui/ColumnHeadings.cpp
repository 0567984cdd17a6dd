#include "ColumnHeadings.h"

#include "RecordLayout.h"

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
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
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
    int h = m_height;
    for (const Column &c : m_columns)
        h = qMax(h, c.label->sizeHint().height());
    return {columnX(kDisplayLineLength) + 20, h + 2};
}

void ColumnHeadings::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

bool ColumnHeadings::event(QEvent *event)
{
    // Only what moves the columns: never a layout request, since placing the
    // labels may itself ask for one, and answering it kept the program busy
    // for ever.
    if (event->type() == QEvent::Show || event->type() == QEvent::Move || event->type() == QEvent::FontChange)
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
    // Each heading is centred over its column; one too wide for the room
    // between its neighbours wraps onto a second line instead of running
    // into them.
    QList<int> centres;
    for (const Column &c : m_columns)
        centres.append((columnX(c.firstChar) + columnX(c.firstChar + c.width)) / 2);
    int height = 0;
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column &c = m_columns.at(i);
        const int centre = centres.at(i);
        int room = width() > 0 ? 2 * qMax(centre, width() - centre) : 1 << 20;
        if (i > 0)
            room = qMin(room, centre - centres.at(i - 1) - 6);
        if (i + 1 < m_columns.size())
            room = qMin(room, centres.at(i + 1) - centre - 6);
        QLabel *label = c.label;
        const int natural = QFontMetrics(label->font()).horizontalAdvance(label->text()) + 2;
        const bool wrap = natural > room && room > 0;
        // Setting the same value again would still ask for a new layout.
        if (label->wordWrap() != wrap)
            label->setWordWrap(wrap);
        const int w = wrap ? room : natural;
        const int h = wrap ? label->heightForWidth(w) : label->sizeHint().height();
        label->setGeometry(centre - w / 2, 0, w, h);
        height = qMax(height, h);
    }
    for (const Column &c : m_columns)
        c.label->move(c.label->x(), height - c.label->height());
    if (height != m_height) {
        m_height = height;
        updateGeometry();
    }
}

ColumnHeadings *makeDisplayHeadings(QListView *list, const DisplayHeadingNames &n, QWidget *parent)
{
    auto *headings = new ColumnHeadings(list, parent);
    // Character columns of a display line (see MakeDisplayLine).
    headings->addHeading(n.date, QStringLiteral("Date"), kDateColumn, kDateWidth);
    headings->addHeading(n.time, QStringLiteral("Time"), kTimeColumn, kTimeWidth);
    headings->addHeading(n.entryPoint, QStringLiteral("Entry Point"), kDisplayEntryColumn, kDisplayEntryWidth);
    headings->addHeading(n.status, QStringLiteral("Status"), kDisplayStatusColumn, kStatusWidth);
    headings->addHeading(n.facility, n.facilityText, kDisplayFacilityColumn, kFacilityWidth);
    headings->addHeading(n.card, QStringLiteral("Card/Keyless Nbr"), kDisplayCardColumn, kCardWidth);
    return headings;
}

} // namespace gt
