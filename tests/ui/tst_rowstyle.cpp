// How rows of records are drawn: refusals and unknown statuses stand out by
// weight and colour, OFF rows by slant and colour, on light and dark
// palettes alike, while the row's text stays the display line.
#include "RecordLine.h"
#include "RecordRowDelegate.h"

#include <QApplication>
#include <QStringListModel>
#include <QTest>

using namespace gt;

namespace {

struct OpenDelegate : RecordRowDelegate
{
    using RecordRowDelegate::initStyleOption;
    using RecordRowDelegate::RecordRowDelegate;
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

QString display(char status)
{
    const QString record = buildRecordLine(QStringLiteral("3 %1 045 123456").arg(QLatin1Char(status)),
                                           QDateTime(QDate(2026, 12, 7), QTime(13, 5, 9)));
    return MakeDisplayLine(record, DisplayMode::Number, QStringList());
}

} // namespace

class TestRowStyle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rows_data();
    void rows();
};

void TestRowStyle::rows_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("coloured");
    QTest::newRow("valid") << display('V') << int(RowStatus::Valid) << false << false << false;
    QTest::newRow("not valid") << display('N') << int(RowStatus::Refused) << true << false << true;
    QTest::newRow("off") << display('F') << int(RowStatus::Off) << false << true << true;
    QTest::newRow("unknown status X") << display('X') << int(RowStatus::Unknown) << true << false << true;
    QTest::newRow("name form, not valid")
        << MakeDisplayLine(buildRecordLine(QStringLiteral("2 N 045 123456"), QDateTime(QDate(2026, 1, 5), QTime(9, 0))),
                           DisplayMode::Name, QStringList{QString(), QStringLiteral("NOT VALID")})
        << int(RowStatus::Refused) << true << false << true;
    QTest::newRow("incorrect data")
        << incorrectDataLine(buildRecordLine(QStringLiteral("3N04"), QDateTime(QDate(2026, 12, 7), QTime(13, 5, 9))))
        << int(RowStatus::None) << false << false << false;
    QTest::newRow("no results") << QString(10, QLatin1Char(' ')) + QStringLiteral("There were no results for this search")
                                << int(RowStatus::None) << false << false << false;
}

void TestRowStyle::rows()
{
    QFETCH(QString, line);
    QFETCH(int, status);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, coloured);
    QCOMPARE(int(displayLineStatus(line)), status);

    QStringListModel model(QStringList{line});
    OpenDelegate delegate;
    for (bool dark : {false, true}) {
        QStyleOptionViewItem option;
        option.palette = palette(dark);
        delegate.initStyleOption(&option, model.index(0));
        QCOMPARE(option.text, line);
        QCOMPARE(option.font.bold(), bold);
        QCOMPARE(option.font.italic(), italic);
        const QColor text = option.palette.color(QPalette::Text);
        QCOMPARE(text != palette(dark).color(QPalette::Text), coloured);
        QVERIFY2(contrast(text, option.palette.color(QPalette::Base)) >= 4.5, qPrintable(text.name()));
    }
}

QTEST_MAIN(TestRowStyle)
#include "tst_rowstyle.moc"
