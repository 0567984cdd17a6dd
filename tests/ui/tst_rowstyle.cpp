// How rows of records are drawn: refusals and unknown statuses stand out by
// weight and colour, OFF rows by slant and colour, on light and dark
// palettes alike, while the row's text stays the display line.
#include "RecordRowDelegate.h"
#include "RowStatus.h"
#include "Rows.h"

#include <QApplication>
#include <QStringListModel>
#include <QTest>

using namespace gt;

namespace {

struct OpenDelegate : RecordRowDelegate
{
    using RecordRowDelegate::initStyleOption;
};

// WCAG contrast ratio of two colours.
double luminance(const QColor &c)
{
    auto ch = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
}
double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QPalette palette(bool dark)
{
    QPalette p;
    p.setColor(QPalette::Base, dark ? QColor(0x20, 0x20, 0x20) : Qt::white);
    p.setColor(QPalette::Text, dark ? QColor(0xe0, 0xe0, 0xe0) : Qt::black);
    return p;
}

// Every row that stands out is coloured too.
struct Row
{
    const char *name, *line;
    RowStatus status;
    bool bold = false, italic = false;
};
const Row kRows[] = {
    {.name = "not valid", .line = " 12/7/2026    1:05:09 PM         3        NOT VALID    045    123456",
     .status = RowStatus::Refused, .bold = true},
    {.name = "off", .line = " 12/7/2026    1:05:09 PM         3        OFF          045    123456",
     .status = RowStatus::Off, .italic = true},
    {.name = "unknown status X", .line = " 12/7/2026    1:05:09 PM         3        X    045    123456",
     .status = RowStatus::Unknown, .bold = true},
    // A valid row; its status is read from its column, not from a name that looks like one.
    {.name = "valid, entry point named OFF", .line = "  1/5/2026    9:00:00 AM       OFF        VALID        045    123456",
     .status = RowStatus::Valid},
    {.name = "incorrect data", .line = " 12/7/2026    1:05:09 PM    RECEIVED INCORRECT DATA", .status = RowStatus::None},
};

} // namespace

class TestRowStyle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rows_data();
    void rows();
};

void TestRowStyle::rows_data() { test::rowsOf(kRows); }

void TestRowStyle::rows()
{
    QFETCH(int, row);
    const Row &r = kRows[row];
    const QString line = QString::fromLatin1(r.line);
    QCOMPARE(displayLineStatus(line), r.status);

    QStringListModel model(QStringList{line});
    OpenDelegate delegate;
    for (bool dark : {false, true}) {
        QStyleOptionViewItem option;
        option.palette = palette(dark);
        delegate.initStyleOption(&option, model.index(0));
        QCOMPARE(option.text, line);
        QCOMPARE(option.font.bold(), r.bold);
        QCOMPARE(option.font.italic(), r.italic);
        const QColor text = option.palette.color(QPalette::Text);
        QCOMPARE(text != palette(dark).color(QPalette::Text), r.bold || r.italic);
        QVERIFY2(contrast(text, option.palette.color(QPalette::Base)) >= 4.5, qPrintable(text.name()));
    }
}

QTEST_MAIN(TestRowStyle)
#include "tst_rowstyle.moc"
