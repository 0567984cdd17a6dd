#include "FieldRules.h"
#include "RecordSource.h"
#include "RecordsFile.h"
#include "ResultsLayout.h"
#include "SearchEngine.h"
#include "SearchTestData.h"
#include "TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace gt;
using namespace gt::search;
using gt::test::entries;
using gt::test::recordAt;

Q_DECLARE_METATYPE(gt::search::Twin)
Q_DECLARE_METATYPE(gt::search::Field)

namespace {

const QString kDates = QStringLiteral("fm=3;fd=7;fy=2006;tm=3;td=7;ty=2006;");
const QString kStoredYears = QStringLiteral("fy=2006;ty=2006;");

// The source every matching case searches: one record per line, in order.
QStringList sampleSource()
{
    return {
        recordAt("3/6/2006 11:59:59 PM", "1 V 123 000001"), // 0
        recordAt("3/7/2006 12:00:00 AM", "2 V 123 000002"), // 1
        recordAt("3/7/2006 12:59:00 AM", "3 N 124 000003"), // 2
        recordAt("3/7/2006 1:00:00 AM", "4 F 123 000004"),  // 3
        recordAt("3/7/2006 10:30:00 AM", "5 V 125 012345"), // 4
        recordAt("3/7/2006 10:30:45 AM", "6 V 123 12345"),  // 5: card " 12345", trimmed "12345"
        recordAt("3/7/2006 12:00:00 PM", "7 N 126 000007"), // 6
        recordAt("3/7/2006 12:59:00 PM", "8 V 123 000008"), // 7
        recordAt("3/7/2006 11:00:00 PM", "9 V 123 000009"), // 8
        recordAt("3/8/2006 1:00:00 AM", "1 V 127 000010"),  // 9
        // 10: an unknown status makes the line shorter; the columns stay put,
        // so its "status" reads "X    123" and its "facility" "000".
        recordAt("3/8/2006 1:00:01 AM", "2 X 123 000011"),
        recordAt("3/9/2006 6:00:00 AM", "3 V 123 000012"),  // 11
        recordAt("3/10/2006 6:00:00 AM", "1 V 123 000013"), // 12
        QString(),                                          // 13: an empty slot
        // 14: a date no calendar has, and 15: a time no clock shows
        QStringLiteral(" 2/30/2006   10:00:00 AM    1    VALID        123    000014"),
        QStringLiteral("  3/7/2006    0:10:00 AM    1    VALID        123    000015"),
    };
}

} // namespace

class TestSearchEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checks_data();
    void checks();
    void criteriaRecord_data();
    void criteriaRecord();
    void matching_data();
    void matching();
    void stoppedSearchesAndResults();
    void restoreAfterSearch_data();
    void restoreAfterSearch();
    void freshOpening();
    void changeRule_data();
    void changeRule();
    void keyRule_data();
    void keyRule();
    void recordLinesOfFile_data();
    void recordLinesOfFile();
    void report_data();
    void report();
};

// Each check in its order, with its message, the field it focuses and what
// it leaves in the fields.
void TestSearchEngine::checks_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Field>("focus");
    QTest::addColumn<QString>("changes"); // applied to the input: the fields afterwards

    const Twin D = Twin::Displayed, S = Twin::Stored;
    const QString none;
    const QString facility = msg::facilityDigits();
    QTest::newRow("D facility of two") << D << kDates + "fac=12;st=VALID" << facility << Field::Facility << "fac=";
    QTest::newRow("D facility before rows") << D << "fn=5;fac=1" << facility << Field::Facility << "fac=";
    QTest::newRow("D minute without hour") << D << kDates + "fn=5;tn=5" << msg::startingHour() << Field::FromHour << none;
    QTest::newRow("D To minute without hour") << D << kDates + "fh=1;tn=5" << msg::endingHour() << Field::ToHour << none;
    QTest::newRow("D hour fills minute before month check")
        << D << "fh=9;th=10;fd=7;fy=2006" << msg::startingMonth() << Field::FromMonth << "fn=00;tn=00";
    QTest::newRow("D minute padded before day check")
        << D << "fm=3;fh=9;fn=5;th=10;tn=7" << msg::startingDay() << Field::FromDay << "fn=05;tn=07";
    QTest::newRow("D From year short") << D << "fm=3;fd=7;fy=206;st=VALID" << msg::startingYear() << Field::FromYear << "fy=";
    QTest::newRow("D To month") << D << "fm=3;fd=7;fy=2006;st=VALID" << msg::endingMonth() << Field::ToMonth << none;
    QTest::newRow("D To day") << D << "fm=3;fd=7;fy=2006;tm=3;st=VALID" << msg::endingDay() << Field::ToDay << none;
    QTest::newRow("D To year") << D << "fm=3;fd=7;fy=2006;tm=3;td=8;ty=20;st=VALID" << msg::endingYear()
                               << Field::ToYear << "ty=";
    QTest::newRow("D month 0") << D << "fm=0;fd=7;fy=2006;tm=3;td=8;ty=2006;st=VALID" << msg::startingMonth()
                               << Field::FromMonth << none;
    QTest::newRow("D 2/30") << D << "fm=2;fd=30;fy=2006;tm=3;td=8;ty=2006;st=VALID" << msg::startingDay()
                            << Field::FromDay << none;
    QTest::newRow("D 2/29 of a common year") << D << "fm=3;fd=1;fy=2006;tm=2;td=29;ty=2006;st=VALID"
                                             << msg::endingDay() << Field::ToDay << none;
    QTest::newRow("D 2/29 of a leap year") << D << "fm=2;fd=29;fy=2008;tm=3;td=1;ty=2008;st=VALID" << none
                                           << Field::None << none;
    QTest::newRow("D 4/31") << D << "fm=4;fd=3;fy=2006;tm=4;td=31;ty=2006;st=VALID" << msg::endingDay()
                            << Field::ToDay << none;
    QTest::newRow("D year 0000") << D << "fm=4;fd=3;fy=0000;tm=4;td=30;ty=2006;st=VALID" << msg::startingYear()
                                 << Field::FromYear << "fy=";
    QTest::newRow("D hour 0") << D << kDates + "fh=0;fn=30;th=11" << msg::startingHour() << Field::FromHour << "tn=00";
    QTest::newRow("D To hour 0") << D << kDates + "fh=1;th=0" << msg::endingHour() << Field::ToHour << "fn=00;tn=00";
    QTest::newRow("D From time only") << D << kDates + "fh=9;fn=5" << msg::endingHour() << Field::ToHour << "fn=05";
    QTest::newRow("D To time only") << D << kDates + "th=9" << msg::startingHour() << Field::FromHour << "tn=00";
    QTest::newRow("D no time, no detail") << D << kDates << msg::enterCriteria() << Field::None << none;
    QTest::newRow("D no time, status") << D << kDates + "st=VALID" << none << Field::None << none;
    QTest::newRow("D same time both ends") << D << kDates + "fh=10;fn=30;th=10;tn=30" << msg::fromBeforeTo()
                                           << Field::FromHour << none;
    QTest::newRow("D To earlier the same day") << D << kDates + "fh=10;th=9" << msg::fromBeforeTo() << Field::FromHour
                                               << "fn=00;tn=00";
    QTest::newRow("D 12 AM is before 1 AM") << D << kDates + "fh=12;th=1" << none << Field::None << "fn=00;tn=00";
    QTest::newRow("D 11 AM to 12 PM") << D << kDates + "fh=11;th=12;tpm" << none << Field::None << "fn=00;tn=00";
    QTest::newRow("D 12 PM to 11 AM") << D << kDates + "fh=12;fpm;th=11" << msg::fromBeforeTo() << Field::FromHour
                                      << "fn=00;tn=00";
    QTest::newRow("D reversed dates") << D << "fm=3;fd=8;fy=2006;tm=3;td=7;ty=2006;fh=1;th=11" << msg::fromBeforeTo()
                                      << Field::FromHour << "fn=00;tn=00";
    QTest::newRow("D leading zeros") << D << "fm=03;fd=07;fy=2006;tm=03;td=08;ty=2006;fh=09;fn=5;th=1" << none
                                     << Field::None << "fn=05;tn=00";

    QTest::newRow("S From row empty: no checks") << S << kStoredYears + "st=VALID" << none << Field::None << none;
    QTest::newRow("S From row empty, To date ignored") << S << kStoredYears + "tm=3;td=99;ep=1" << none << Field::None
                                                       << none;
    QTest::newRow("S From row empty, nothing") << S << kStoredYears << msg::enterCriteria() << Field::None << none;
    QTest::newRow("S To time alone") << S << kStoredYears + "th=9;st=VALID" << msg::startingHour() << Field::FromHour
                                     << none;
    QTest::newRow("S To minute alone") << S << kStoredYears + "tn=9;st=VALID" << msg::startingHour()
                                       << Field::FromHour << none;
    QTest::newRow("S month alone") << S << kStoredYears + "fm=3" << msg::startingHour() << Field::FromHour << none;
    QTest::newRow("S From month") << S << kStoredYears + "fh=9;fd=7" << msg::startingMonth() << Field::FromMonth
                                  << "fn=00";
    QTest::newRow("S From day") << S << kStoredYears + "fh=9;fn=5;fm=3" << msg::startingDay() << Field::FromDay
                                << "fn=05";
    QTest::newRow("S From year") << S << "fh=9;fm=3;fd=7;fy=06;ty=2006" << msg::startingYear() << Field::FromYear
                                 << "fn=00;fy=";
    QTest::newRow("S To hour") << S << kStoredYears + "fh=9;fm=3;fd=7;tn=5" << msg::endingHour() << Field::ToHour
                               << "fn=00";
    QTest::newRow("S To month") << S << kStoredYears + "fh=9;fm=3;fd=7;th=1;tn=5" << msg::endingMonth()
                                << Field::ToMonth << "fn=00;tn=05";
    QTest::newRow("S To day") << S << kStoredYears + "fh=9;fm=3;fd=7;th=1;tm=3" << msg::endingDay() << Field::ToDay
                              << "fn=00;tn=00";
    QTest::newRow("S To year") << S << "fy=2006;fh=9;fm=3;fd=7;th=1;tm=3;td=8" << msg::endingYear() << Field::ToYear
                               << "fn=00;tn=00";
    QTest::newRow("S hour 0") << S << kStoredYears + "fh=0;fm=3;fd=7;th=1;tm=3;td=8" << msg::startingHour()
                              << Field::FromHour << "fn=00;tn=00";
    QTest::newRow("S To hour 0") << S << kStoredYears + "fh=1;fm=3;fd=7;th=0;tm=3;td=8" << msg::endingHour()
                                 << Field::ToHour << "fn=00;tn=00";
    QTest::newRow("S timed, no detail") << S << kStoredYears + "fh=1;fm=3;fd=7;th=2;tm=3;td=7" << none << Field::None
                                        << "fn=00;tn=00";
    QTest::newRow("S same time") << S << kStoredYears + "fh=1;fm=3;fd=7;th=1;tm=3;td=7" << msg::fromBeforeTo()
                                 << Field::FromHour << "fn=00;tn=00";
}

void TestSearchEngine::checks()
{
    QFETCH(Twin, twin);
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(Field, focus);
    QFETCH(QString, changes);

    const Entries in = entries(input);
    Entries expected = in;
    gt::test::applyEntries(expected, changes);

    const Outcome out = runSearch(twin, in, SearchCriteria(), sampleSource());
    QCOMPARE(out.message, message);
    QCOMPARE(out.focus, focus);
    for (Field f : textFields())
        QCOMPARE(out.entries.text(f), expected.text(f));
    QCOMPARE(out.succeeded(), message.isEmpty());
}

// The criteria record after a search: what the results report and Refine
// this Search read back.
void TestSearchEngine::criteriaRecord_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("record"); // entry, status, facility, card, from time, to time, AM/PM x2, dates x2

    QTest::newRow("timed") << Twin::Displayed
                           << "fm=3;fd=7;fy=2006;fh=9;fn=5;tm=3;td=12;ty=2006;th=10;tn=30;tpm;fac=123"
                           << QStringList{"", "", "123", "", "9:05:00 AM", "10:30:00 PM", "AM", "PM", "3/7/2006",
                                          "3/12/2006"};
    QTest::newRow("no times") << Twin::Displayed << "fm=3;fd=7;fy=2006;tm=3;td=8;ty=2006;tpm;st=VALID;card=12345"
                              << QStringList{"", "VALID", "", "12345", "AM 3/7/2006", "PM 3/8/2006", "AM", "PM",
                                             "3/7/2006", "3/8/2006"};
    QTest::newRow("stored, From row empty")
        << Twin::Stored << "fy=2006;ty=2006;fpm;ep=2"
        << QStringList{"2", "", "", "", "PM //2006", "AM //2006", "PM", "AM", "//2006", "//2006"};
    QTest::newRow("stopped at the facility check")
        << Twin::Displayed << "fac=12;st=VALID;ep=1;card=99"
        << QStringList{"1", "VALID", "12", "99", "prev", "prev", "prev", "prev", "prev", "prev"};
    QTest::newRow("stopped at the order check")
        << Twin::Displayed << "fm=3;fd=8;fy=2006;tm=3;td=7;ty=2006;fh=1;th=2;st=OFF"
        << QStringList{"", "OFF", "", "", "1:00:00 AM", "2:00:00 AM", "AM", "AM", "3/8/2006", "3/7/2006"};
}

void TestSearchEngine::criteriaRecord()
{
    QFETCH(Twin, twin);
    QFETCH(QString, input);
    QFETCH(QStringList, record);

    SearchCriteria previous;
    previous.strFromTime = previous.strToTime = previous.strFromAMPM = previous.strToAMPM = previous.strFromDate =
        previous.strToDate = QStringLiteral("prev");
    const Outcome out = runSearch(twin, entries(input), previous, sampleSource());
    const SearchCriteria &c = out.criteria;
    const QStringList got{c.strCritEntryPoint, c.strCritStatus, c.strCritFacility, c.strCritCardKeyless,
                          c.strFromTime,       c.strToTime,     c.strFromAMPM,     c.strToAMPM,
                          c.strFromDate,       c.strToDate};
    QCOMPARE(got, record);
}

// Which lines of the sample source each search keeps, in source order.
void TestSearchEngine::matching_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QList<int>>("kept");

    const Twin D = Twin::Displayed, S = Twin::Stored;
    QTest::newRow("one day, 10:30 AM inclusive, 10:30:45 outside")
        << D << kDates + "fh=1;th=10;tn=30" << QList<int>{3, 4};
    QTest::newRow("one day from 10:30 AM") << D << kDates + "fh=10;fn=30;th=11;tn=59;tpm" << QList<int>{4, 5, 6, 7, 8};
    QTest::newRow("first hour after midnight") << D << kDates + "fh=12;th=12;tn=59" << QList<int>{1, 2};
    QTest::newRow("noon hour") << D << kDates + "fh=12;fpm;th=12;tn=59;tpm" << QList<int>{6, 7};
    QTest::newRow("11 PM to 1 AM next day") << D << "fm=3;fd=7;fy=2006;fh=11;fpm;tm=3;td=8;ty=2006;th=1"
                                            << QList<int>{8, 9};
    QTest::newRow("days between are whole") << D << "fm=3;fd=7;fy=2006;fh=11;fpm;tm=3;td=10;ty=2006;th=5"
                                            << QList<int>{8, 9, 10, 11};
    QTest::newRow("range with details") << D << "fm=3;fd=6;fy=2006;fh=1;tm=3;td=10;ty=2006;th=1;fac=123;st=VALID"
                                        << QList<int>{0, 1, 5, 7, 8, 11};
    QTest::newRow("status anywhere in time") << D << kDates + "st=VALID" << QList<int>{0, 1, 4, 5, 7, 8, 9, 11, 12, 14, 15};
    QTest::newRow("status is case-sensitive") << D << kDates + "st=valid" << QList<int>{};
    QTest::newRow("status of a short line") << D << kDates + "st=X" << QList<int>{};
    QTest::newRow("status columns of a short line") << D << kDates + "st=X    123" << QList<int>{10};
    QTest::newRow("status untrimmed criterion") << D << kDates + "st= OFF" << QList<int>{};
    QTest::newRow("facility") << D << kDates + "fac=124" << QList<int>{2};
    QTest::newRow("facility of a short line") << D << kDates + "fac=123;ep=2" << QList<int>{1};
    QTest::newRow("facility columns of a short line") << D << kDates + "fac=000" << QList<int>{10};
    QTest::newRow("card with its spaces trimmed") << D << kDates + "card=12345" << QList<int>{5};
    QTest::newRow("entry point") << D << kDates + "ep=1" << QList<int>{0, 9, 12, 14, 15};
    QTest::newRow("all details") << D << kDates + "ep=6;st=VALID;fac=123;card=12345" << QList<int>{5};
    QTest::newRow("unreadable dates and times never in range")
        << D << "fm=2;fd=1;fy=2006;fh=12;tm=3;td=31;ty=2006;th=11;tn=59;tpm;ep=1" << QList<int>{0, 9, 12};
    QTest::newRow("stored, no dates") << S << "fy=2006;ty=2006;fac=127" << QList<int>{9};
    QTest::newRow("stored, timed") << S << "fy=2006;ty=2006;fm=3;fd=9;fh=6;tm=3;td=10;th=6" << QList<int>{11, 12};
}

void TestSearchEngine::matching()
{
    QFETCH(Twin, twin);
    QFETCH(QString, input);
    QFETCH(QList<int>, kept);

    const QStringList source = sampleSource();
    const Outcome out = runSearch(twin, entries(input), SearchCriteria(), source);
    QVERIFY2(out.succeeded(), qPrintable(out.message));
    QStringList expected;
    for (int i : kept)
        expected.append(source.at(i));
    QCOMPARE(out.results, expected);

    // The 8-bit test used on files agrees with the one used on the display.
    for (int i = 0; i < source.size(); ++i) {
        const QByteArray bytes = source.at(i).toLatin1();
        QCOMPARE(out.matcher.matches(bytes.constData(), bytes.size()), kept.contains(i));
    }
}

void TestSearchEngine::stoppedSearchesAndResults()
{
    const QStringList source = sampleSource();
    // Stopped by the completeness checks: the results are not touched.
    Outcome out = runSearch(Twin::Displayed, entries("fac=1"), SearchCriteria(), source);
    QVERIFY(!out.resultsReplaced);
    out = runSearch(Twin::Displayed, entries("fm=3;st=VALID"), SearchCriteria(), source);
    QVERIFY(!out.resultsReplaced);

    // Stopped by the order check: the lines are already narrowed by the details.
    out = runSearch(Twin::Displayed, entries(kDates + "fh=2;th=1;st=NOT VALID"), SearchCriteria(), source);
    QCOMPARE(out.message, msg::fromBeforeTo());
    QVERIFY(out.resultsReplaced);
    QCOMPARE(out.results, (QStringList{source.at(2), source.at(6)}));

    // No criteria at all: everything but the empty slot is left in the list.
    out = runSearch(Twin::Displayed, entries(kDates), SearchCriteria(), source);
    QCOMPARE(out.message, msg::enterCriteria());
    QVERIFY(out.resultsReplaced);
    QCOMPARE(out.results.size(), source.size() - 1);
    QVERIFY(!out.results.contains(QString()));

    // An empty source finds nothing.
    out = runSearch(Twin::Displayed, entries(kDates + "st=VALID"), SearchCriteria(), {});
    QVERIFY(out.succeeded());
    QCOMPARE(out.results.size(), 0);
}

// Refine this Search brings back what the last search was made with.
void TestSearchEngine::restoreAfterSearch_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("restored");

    QTest::newRow("timed, facility")
        << Twin::Displayed << "fm=3;fd=7;fy=2006;fh=9;fn=05;tm=3;td=12;ty=2006;th=10;tn=30;tpm;fac=123"
        << "fm=3;fd=7;fy=2006;fh=9;fn=05;tm=3;td=12;ty=2006;th=10;tn=30;tpm;fac=123";
    QTest::newRow("minutes completed by the search")
        << Twin::Displayed << "fm=12;fd=31;fy=2005;fh=12;tm=1;td=1;ty=2006;th=1;tn=5;fpm;card=5"
        << "fm=12;fd=31;fy=2005;fh=12;fn=00;tm=1;td=1;ty=2006;th=1;tn=05;fpm;card=5";
    QTest::newRow("leading zeros") << Twin::Displayed << "fm=03;fd=07;fy=2006;fh=09;fn=15;tm=3;td=17;ty=2006;th=1;tpm"
                                   << "fm=03;fd=07;fy=2006;fh=09;fn=15;tm=3;td=17;ty=2006;th=1;tn=00;tpm";
    QTest::newRow("no times keep the AM/PM choices")
        << Twin::Displayed << "fm=3;fd=17;fy=2006;tm=3;td=18;ty=2006;fpm;st=NOT VALID;ep=4"
        << "fm=3;fd=17;fy=2006;tm=3;td=18;ty=2006;fpm;st=NOT VALID;ep=4";
    QTest::newRow("stored, From row empty") << Twin::Stored << "fy=2006;ty=2007;tpm;card=123456"
                                            << "fy=2006;ty=2007;tpm;card=123456";
}

void TestSearchEngine::restoreAfterSearch()
{
    QFETCH(Twin, twin);
    QFETCH(QString, input);
    QFETCH(QString, restored);
    const Outcome out = runSearch(twin, entries(input), SearchCriteria(), sampleSource());
    QVERIFY2(out.succeeded(), qPrintable(out.message));
    const Entries back = restoredEntries(out.criteria);
    const Entries expected = entries(restored);
    for (Field f : textFields())
        QCOMPARE(back.text(f), expected.text(f));
    QCOMPARE(back.fromAM, expected.fromAM);
    QCOMPARE(back.toAM, expected.toAM);
}

void TestSearchEngine::freshOpening()
{
    const QDate today(2006, 3, 7);
    QVERIFY(freshEntries(Twin::Displayed, today) == entries(QStringLiteral("fm=3;fd=7;fy=2006;tm=3;td=7;ty=2006")));
    QVERIFY(freshEntries(Twin::Stored, QDate(2026, 12, 6)) == entries(QStringLiteral("fy=2026;ty=2026")));

    SearchCriteria c;
    c.strCritEntryPoint = c.strCritStatus = c.strCritFacility = c.strCritCardKeyless = QStringLiteral("x");
    c.strFromTime = c.strToTime = c.strFromAMPM = c.strToAMPM = QStringLiteral("y");
    c.strFromDate = QStringLiteral("3/7/2006");
    c.strToDate = QStringLiteral("3/8/2006");
    forgetCriteria(c);
    for (const QString *s : {&c.strCritEntryPoint, &c.strCritStatus, &c.strCritFacility, &c.strCritCardKeyless,
                             &c.strFromTime, &c.strToTime, &c.strFromAMPM, &c.strToAMPM})
        QVERIFY(s->isEmpty());
    QCOMPARE(c.strFromDate, QStringLiteral("3/7/2006"));
    QCOMPARE(c.strToDate, QStringLiteral("3/8/2006"));
}

void TestSearchEngine::changeRule_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem");

    const QString two = QStringLiteral("This entry cannot be more than two digits");
    const QString to12 = QStringLiteral("This entry must be from 1 through 12");
    const QString to31 = QStringLiteral("This entry must be from 1 through 31");
    const QString to59 = QStringLiteral("This entry must be from 00 through 59");
    const Twin D = Twin::Displayed, S = Twin::Stored;
    for (Field f : {Field::FromHour, Field::ToHour, Field::FromMonth, Field::ToMonth}) {
        const QByteArray n = QByteArray::number(int(f));
        QTest::newRow("12 " + n) << f << D << "12" << "";
        QTest::newRow("13 " + n) << f << D << "13" << to12;
        QTest::newRow("0 " + n) << f << S << "0" << "";
        QTest::newRow("00 " + n) << f << S << "00" << to12;
        QTest::newRow("07 " + n) << f << D << "07" << "";
        QTest::newRow("123 " + n) << f << D << "123" << two;
        QTest::newRow("000 " + n) << f << D << "000" << two;
    }
    for (Field f : {Field::FromDay, Field::ToDay}) {
        const QByteArray n = QByteArray::number(int(f));
        QTest::newRow("31 " + n) << f << D << "31" << "";
        QTest::newRow("32 " + n) << f << D << "32" << to31;
        QTest::newRow("00 " + n) << f << S << "00" << to31;
        QTest::newRow("0 " + n) << f << S << "0" << "";
        QTest::newRow("310 " + n) << f << D << "310" << two;
    }
    for (Field f : {Field::FromMin, Field::ToMin}) {
        const QByteArray n = QByteArray::number(int(f));
        QTest::newRow("00 " + n) << f << D << "00" << "";
        QTest::newRow("59 " + n) << f << D << "59" << "";
        QTest::newRow("60 " + n) << f << S << "60" << to59;
        QTest::newRow("005 " + n) << f << D << "005" << two;
    }
    QTest::newRow("year of five") << Field::FromYear << D << "20066" << "";
    QTest::newRow("year of one") << Field::ToYear << S << "2" << "";
    QTest::newRow("entry 9") << Field::EntryPoint << D << "9" << "";
    QTest::newRow("entry 0") << Field::EntryPoint << D << "0" << "0 cannot be assigned as an entry point number";
    QTest::newRow("entry 10") << Field::EntryPoint << S << "10"
                              << "This entry cannot be more than one digit";
    QTest::newRow("entry 00") << Field::EntryPoint << S << "00" << "This entry cannot be more than one digit";
    QTest::newRow("facility letters") << Field::Facility << D << "AB1" << "";
    QTest::newRow("facility four chars") << Field::Facility << D << "AB12"
                                         << "This entry cannot be more than three characters";
    QTest::newRow("facility four digits stored") << Field::Facility << S << "1234"
                                                 << "This entry cannot be more than three digits";
    QTest::newRow("facility 000") << Field::Facility << S << "000" << "";
    QTest::newRow("card six") << Field::CardKeyless << D << "123456" << "";
    QTest::newRow("card seven") << Field::CardKeyless << S << "1234567" << "This entry cannot be more than six digits";
    QTest::newRow("status anything") << Field::Status << D << "whatever it is" << "";
    QTest::newRow("empty hour") << Field::FromHour << D << "" << "";
    QTest::newRow("empty entry") << Field::EntryPoint << D << "" << "";
}

void TestSearchEngine::changeRule()
{
    QFETCH(Field, field);
    QFETCH(Twin, twin);
    QFETCH(QString, text);
    QFETCH(QString, problem);
    QCOMPARE(fieldRule(field, twin).changeProblem(text), problem);
}

void TestSearchEngine::keyRule_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QString>("message");

    const QString digit = QStringLiteral("This entry must be a number from 0 through 9");
    const Twin D = Twin::Displayed, S = Twin::Stored;
    for (Field f : {Field::FromMonth, Field::FromDay, Field::FromYear, Field::FromHour, Field::FromMin, Field::ToMonth,
                    Field::ToDay, Field::ToYear, Field::ToHour, Field::ToMin, Field::CardKeyless}) {
        for (Twin t : {D, S})
            QTest::newRow(QByteArray::number(int(f)) + (t == D ? " D" : " S")) << f << t << "a1 -09.Z\b" << "a -.Z"
                                                                                << digit;
    }
    QTest::newRow("entry point") << Field::EntryPoint << D << "0a9\b" << "a"
                                 << "This entry must be a number from 1 through 9";
    QTest::newRow("facility, displayed") << Field::Facility << D << "aZ 1-" << "" << "";
    QTest::newRow("facility, stored") << Field::Facility << S << "aZ 1-" << "aZ -" << digit;
    QTest::newRow("status") << Field::Status << S << "nOT 1" << "" << "";
}

void TestSearchEngine::keyRule()
{
    QFETCH(Field, field);
    QFETCH(Twin, twin);
    QFETCH(QString, keys);
    QFETCH(QString, refused);
    QFETCH(QString, message);
    const FieldRule rule = fieldRule(field, twin);
    QString got;
    for (QChar k : keys) {
        if (!rule.acceptsKey(k))
            got += k;
    }
    QCOMPARE(got, refused);
    QCOMPARE(rule.keyMessage, message);
    // Pasted text is held to the same keys.
    QCOMPARE(rule.acceptsText(keys.left(keys.size() - 1)), refused.isEmpty());
}

// Which lines of a records file count as record lines; both readers agree.
void TestSearchEngine::recordLinesOfFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("lines");

    const QString a = recordAt("3/7/2006 9:05:00 AM", "1 V 123 012345");
    const QString b = recordAt("12/31/2006 11:59:59 PM", "9 N 456 654321");
    const QByteArray A = a.toLatin1(), B = b.toLatin1();
    const QByteArray header = records::columnHeaderLine().toLatin1();
    QByteArray autosave;
    for (const QString &l : records::autosaveHeader(QDateTime(QDate(2006, 3, 7), QTime(9, 0))))
        autosave += l.toLatin1() + "\r\n";

    QTest::newRow("autosave file") << autosave + A + "\r\n" + B + "\r\n" << QStringList{a, b};
    QTest::newRow("LF only, no final line end") << "\n" + header + "\n" + A + "\n" + B << QStringList{a, b};
    QTest::newRow("final line with CR only") << A + "\r\n" + B + "\r" << QStringList{a, b};
    QTest::newRow("other lengths skipped") << A.left(58) + "\r\n" + A + " \r\n" + B + "\r\n\r\n" << QStringList{b};
    QTest::newRow("59 characters ending in NUMBER")
        << QByteArray(53, 'x') + "NUMBER\r\n" + QByteArray(53, 'x') + "NUMBEr\r\n"
        << QStringList{QString(53, 'x') + "NUMBEr"};
    QTest::newRow("short status line") << recordAt("3/7/2006 9:05:00 AM", "1 X 123 012345").toLatin1() + "\r\n"
                                       << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("8-bit text") << QByteArray(53, '\xe9') + "123456" << QStringList{QString(53, QChar(0xe9)) + "123456"};

    // Far more lines than a display holds, across several read blocks.
    QByteArray big;
    QStringList many;
    for (int i = 0; i < 80000; ++i) {
        const QString line = recordAt("3/7/2006 9:05:00 AM", QStringLiteral("1 V 123 %1").arg(i, 6, 10, QChar('0')));
        big += line.toLatin1() + (i % 1000 == 0 ? "\r\n\r\n" : "\r\n");
        many << line;
    }
    QTest::newRow("80000 records") << big << many;
}

void TestSearchEngine::recordLinesOfFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.txt"));
    QVERIFY(gt::test::writeBytes(path, file));

    QStringList loaded{QStringLiteral("left from an earlier file")};
    QVERIFY(loadRecordLines(path, &loaded));
    QCOMPARE(loaded, lines);

    // Mapped whole, mapped a page-sized window at a time (lines cross the
    // windows' edges), and read through a pipe.
    for (const qint64 window : {qint64(8) << 20, qint64(1) << 16}) {
        QStringList scanned;
        QVERIFY(scanRecordLines(
            path, [&](const char *p, qsizetype n) { scanned << QString::fromLatin1(p, n); }, nullptr, window));
        QCOMPARE(scanned, lines);
    }
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The shell opens the pipe for writing, so that neither side waits here.
    QProcess writer;
    writer.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cat \"$0\" > \"$1\""), path, fifo});
    QStringList piped;
    QVERIFY(scanRecordLines(fifo, [&](const char *p, qsizetype n) { piped << QString::fromLatin1(p, n); }));
    QVERIFY(writer.waitForFinished());
    QCOMPARE(piped, lines);

    QString error;
    QVERIFY(!loadRecordLines(dir.filePath(QStringLiteral("missing.txt")), &loaded, &error));
    QVERIFY(!error.isEmpty());
    error.clear();
    QVERIFY(!scanRecordLines(dir.filePath(QStringLiteral("missing.txt")), [](const char *, qsizetype) {}, &error));
    QVERIFY(!error.isEmpty());
}

void TestSearchEngine::report_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("listLines");
    QTest::addColumn<QStringList>("expected");

    const QString stamp = QStringLiteral("Search results saved 3/7/2006  2:05:09 PM");
    const QString header = QStringLiteral("    DATE         TIME          ENTRY       STATUS     CODE    NUMBER");
    const QString one = MakeDisplayLine(recordAt("3/7/2006 9:05:00 AM", "1 V 123 012345"), kNumberMode, {});
    const QString none = QStringLiteral("          There were no results for this search");
    QTest::newRow("timed, no details")
        << "fm=3;fd=7;fy=2006;fh=9;fn=5;tm=3;td=12;ty=2006;th=10;tn=30;tpm" << QStringList{one}
        << QStringList{"", stamp, "", "     Search Criteria:", "", "     From: 9:05:00 AM", "     To:   10:30:00 PM",
                       "", header, "", one};
    QTest::newRow("no times, all details")
        << "fm=3;fd=7;fy=2006;tm=3;td=7;ty=2006;ep=1;st=VALID;fac=123;card=012345" << QStringList{one, one}
        << QStringList{"", stamp, "", "     Search Criteria:", "", "     Entry Point:  1", "     Status:  VALID",
                       "     Facility Code:  123", "     Card/Keyless Number:  012345", "", header, "", one, one};
    QTest::newRow("no results") << "fm=3;fd=7;fy=2006;tm=3;td=7;ty=2006;st=OFF" << QStringList{}
                                << QStringList{"", stamp, "", "     Search Criteria:", "", "     Status:  OFF", "",
                                               header, "", none};
}

void TestSearchEngine::report()
{
    QFETCH(QString, input);
    QFETCH(QStringList, listLines);
    QFETCH(QStringList, expected);
    const Outcome out = runSearch(Twin::Displayed, entries(input), SearchCriteria(), {});
    QVERIFY2(out.succeeded(), qPrintable(out.message));
    const QDateTime at(QDate(2006, 3, 7), QTime(14, 5, 9));
    QCOMPARE(resultsReport(out.criteria, listLines, at), expected);
    QCOMPARE(resultsReportHead(out.criteria, at), expected.mid(0, expected.size() - qMax(1, int(listLines.size()))));

    // The range lines go by the first two characters of the time criteria alone.
    SearchCriteria odd;
    odd.strFromTime = QStringLiteral("AM 3/7/2006");
    QCOMPARE(resultsReportHead(odd, at).mid(5, 2), (QStringList{"     From: AM 3/7/2006", "     To:   "}));
}

QTEST_GUILESS_MAIN(TestSearchEngine)
#include "tst_search_engine.moc"
