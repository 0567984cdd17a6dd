#include "CsvRecords.h"
#include "FileSearch.h"
#include "RecordSource.h"
#include "SearchTestData.h"
#include "TestFiles.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace gt;
using namespace gt::search;
using namespace gt::test;

Q_DECLARE_METATYPE(gt::search::Twin)
Q_DECLARE_METATYPE(gt::search::Field)

namespace {

const Twin D = Twin::Displayed, S = Twin::Stored;
const QString kDates = QStringLiteral("fm=3;fd=7;fy=2006;tm=3;td=7;ty=2006;");
const QString kCriteria = "Please enter search criteria";
const QString kFacility = "Please enter three digits for the facility code";
const QString kOrder = "The time and date listed in the From row must be earlier than the time and date listed in "
                       "the To row";

// The source every search here reads: one record per line, in order.
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
    void matching_data();
    void matching();
    void recordLinesOfFile();
    void csvCells_data();
    void csvCells();
    void fileSearch_data();
    void fileSearch();
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

    const auto row = [](const char *name, Twin t, const QString &in, const QString &m, Field f, const char *ch = "") {
        QTest::newRow(name) << t << in << m << f << QString::fromLatin1(ch);
    };
    const QString ok, criteria = kCriteria, facility = kFacility, order = kOrder;
    const QString fromHour = "Please enter the starting hour for this search";
    const QString toHour = "Please enter the ending hour for this search";
    const QString fromMonth = "Please enter the starting month for this search";
    const QString toMonth = "Please enter the ending month for this search";
    const QString fromDay = "Please enter the starting day for this search";
    const QString toDay = "Please enter the ending day for this search";
    const QString fromYear = "Please enter four digits for the starting year for this search";
    const QString toYear = "Please enter four digits for the ending year for this search";
    row("D facility before the rows", D, "fn=5;fac=1", facility, Field::Facility, "fac=");
    row("D minute without hour", D, kDates + "fn=5;tn=5", fromHour, Field::FromHour);
    row("D To minute without hour", D, kDates + "fh=1;tn=5", toHour, Field::ToHour);
    row("D hour fills minute", D, "fh=9;th=10;fd=7;fy=2006", fromMonth, Field::FromMonth, "fn=00;tn=00");
    row("D minute padded", D, "fm=3;fh=9;fn=5;th=10;tn=7", fromDay, Field::FromDay, "fn=05;tn=07");
    row("D From year short", D, "fm=3;fd=7;fy=206;st=VALID", fromYear, Field::FromYear, "fy=");
    row("D To month", D, "fm=3;fd=7;fy=2006;st=VALID", toMonth, Field::ToMonth);
    row("D To day", D, "fm=3;fd=7;fy=2006;tm=3;st=VALID", toDay, Field::ToDay);
    row("D To year", D, "fm=3;fd=7;fy=2006;tm=3;td=8;ty=20;st=VALID", toYear, Field::ToYear, "ty=");
    row("D month 0", D, "fm=0;fd=7;fy=2006;tm=3;td=8;ty=2006;st=VALID", fromMonth, Field::FromMonth);
    row("D 2/30", D, "fm=2;fd=30;fy=2006;tm=3;td=8;ty=2006;st=VALID", fromDay, Field::FromDay);
    row("D 2/29 common year", D, "fm=3;fd=1;fy=2006;tm=2;td=29;ty=2006;st=VALID", toDay, Field::ToDay);
    row("D 2/29 leap year", D, "fm=2;fd=29;fy=2008;tm=3;td=1;ty=2008;st=VALID", ok, Field::None);
    row("D year 0000", D, "fm=4;fd=3;fy=0000;tm=4;td=30;ty=2006;st=VALID", fromYear, Field::FromYear, "fy=");
    row("D hour 0", D, kDates + "fh=0;fn=30;th=11", fromHour, Field::FromHour, "tn=00");
    row("D To hour 0", D, kDates + "fh=1;th=0", toHour, Field::ToHour, "fn=00;tn=00");
    row("D From time only", D, kDates + "fh=9;fn=5", toHour, Field::ToHour, "fn=05");
    row("D To time only", D, kDates + "th=9", fromHour, Field::FromHour, "tn=00");
    row("D no time, no detail", D, kDates, criteria, Field::None);
    row("D From = To", D, kDates + "fh=10;fn=30;th=10;tn=30", order, Field::FromHour);
    row("D reversed dates", D, "fm=3;fd=8;fy=2006;tm=3;td=7;ty=2006;fh=1;th=11", order, Field::FromHour, "fn=00;tn=00");
    row("D leading zeros", D, "fm=03;fd=07;fy=2006;tm=03;td=08;ty=2006;fh=09;fn=5;th=1", ok, Field::None,
        "fn=05;tn=00");

    // The stored-file screen shares the date checks of a row; what is its own
    // is when it checks at all and that both hours are wanted.
    row("S From row empty, To date ignored", S, "fy=2006;ty=2006;tm=3;td=99;ep=1", ok, Field::None);
    row("S From row empty, nothing", S, "fy=2006;ty=2006", criteria, Field::None);
    row("S To time alone", S, "fy=2006;ty=2006;th=9;st=VALID", fromHour, Field::FromHour);
    row("S month alone", S, "fy=2006;ty=2006;fm=3", fromHour, Field::FromHour);
    row("S From month", S, "fy=2006;ty=2006;fh=9;fd=7", fromMonth, Field::FromMonth, "fn=00");
    row("S To hour", S, "fy=2006;ty=2006;fh=9;fm=3;fd=7;tn=5", toHour, Field::ToHour, "fn=00");
    row("S To day", S, "fy=2006;ty=2006;fh=9;fm=3;fd=7;th=1;tm=3", toDay, Field::ToDay, "fn=00;tn=00");
    row("S hour 0", S, "fy=2006;ty=2006;fh=0;fm=3;fd=7;th=1;tm=3;td=8", fromHour, Field::FromHour, "fn=00;tn=00");
    row("S To hour 0", S, "fy=2006;ty=2006;fh=1;fm=3;fd=7;th=0;tm=3;td=8", toHour, Field::ToHour, "fn=00;tn=00");
}

void TestSearchEngine::checks()
{
    QFETCH(Twin, twin);
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(Field, focus);
    QFETCH(QString, changes);

    Entries expected = entries(input);
    applyEntries(expected, changes);
    const Outcome out = runSearch(twin, entries(input), SearchCriteria(), sampleSource());
    QCOMPARE(out.message, message);
    QCOMPARE(out.focus, focus);
    for (Field f : textFields())
        QCOMPARE(out.entries.text(f), expected.text(f));
    // Only a search that got past the completeness checks replaces the results.
    QCOMPARE(out.resultsReplaced, focus == Field::None || message.startsWith("The time and date"));
}

// Which lines of the sample source each search keeps, in source order, and
// the criteria record it leaves for the results report and Refine this Search
// over that of the last search. A search stopped by the facility check has
// recorded only the details; one stopped by the order check or for want of
// criteria has recorded its criteria and narrowed the lines by the details.
void TestSearchEngine::matching_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QList<int>>("kept");
    QTest::addColumn<QString>("record"); // empty: not looked at
    QTest::addColumn<QString>("message");

    const auto row = [](const char *name, Twin t, const QString &in, const QList<int> &kept, const char *rec = "",
                        const QString &message = QString()) {
        QTest::newRow(name) << t << in << kept << QString::fromLatin1(rec) << message;
    };
    row("one day, 10:30 AM inclusive, 10:30:45 outside", D, kDates + "fh=1;th=10;tn=30", {3, 4},
        "||||1:00:00 AM|10:30:00 AM|AM|AM|3/7/2006|3/7/2006");
    row("first hour after midnight", D, kDates + "fh=12;th=12;tn=59", {1, 2});
    row("noon hour", D, kDates + "fh=12;fpm;th=12;tn=59;tpm", {6, 7},
        "||||12:00:00 PM|12:59:00 PM|PM|PM|3/7/2006|3/7/2006");
    row("11 PM to 1 AM next day", D, "fm=3;fd=7;fy=2006;fh=11;fpm;tm=3;td=8;ty=2006;th=1", {8, 9});
    row("days between are whole", D, "fm=3;fd=7;fy=2006;fh=11;fpm;tm=3;td=10;ty=2006;th=5", {8, 9, 10, 11});
    row("range with details", D, "fm=03;fd=6;fy=2006;fh=1;tm=3;td=10;ty=2006;th=1;fac=123;st=VALID",
        {0, 1, 5, 7, 8, 11}, "|VALID|123||1:00:00 AM|1:00:00 AM|AM|AM|03/6/2006|3/10/2006");
    row("unreadable dates and times never in range", D,
        "fm=2;fd=1;fy=2006;fh=12;tm=3;td=31;ty=2006;th=11;tn=59;tpm;ep=1", {0, 9, 12});
    row("stored, timed", S, "fy=2006;ty=2006;fm=3;fd=9;fh=6;tm=3;td=10;th=6", {11, 12});
    // Without times the dates take no part.
    row("no times: entry point", D, kDates + "tpm;ep=1", {0, 9, 12, 14, 15},
        "1||||AM 3/7/2006|PM 3/7/2006|AM|PM|3/7/2006|3/7/2006");
    row("stored, no dates", S, "fy=2006;ty=2006;fpm;ep=2", {1, 10}, "2||||PM //2006|AM //2006|PM|AM|//2006|//2006");
    row("status is case-sensitive", D, kDates + "st=valid", {});
    row("status criterion untrimmed", D, kDates + "st= OFF", {});
    row("status and facility columns of a short line", D, kDates + "st=X    123;fac=000", {10});
    row("card with its spaces trimmed", D, kDates + "card=12345", {5},
        "|||12345|AM 3/7/2006|AM 3/7/2006|AM|AM|3/7/2006|3/7/2006");
    row("stopped by the facility check", D, "fac=12;st=VALID;ep=1;card=99", {},
        "1|VALID|12|99|last|last|last|last|last|last", kFacility);
    row("stopped by the order check", D, "fm=3;fd=8;fy=2006;tm=3;td=7;ty=2006;fh=1;th=2;st=NOT VALID", {2, 6},
        "|NOT VALID|||1:00:00 AM|2:00:00 AM|AM|AM|3/8/2006|3/7/2006", kOrder);
    row("stopped for want of criteria, empty slots dropped", D, kDates, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15},
        "", kCriteria);
}

void TestSearchEngine::matching()
{
    QFETCH(Twin, twin);
    QFETCH(QString, input);
    QFETCH(QList<int>, kept);
    QFETCH(QString, record);
    QFETCH(QString, message);

    const QStringList source = sampleSource();
    const SearchCriteria last = criteriaFrom(QStringList(10, "last").join('|'));
    const Outcome out = runSearch(twin, entries(input), last, source);
    QCOMPARE(out.message, message);
    QStringList expected;
    for (int i : kept)
        expected.append(source.at(i));
    QCOMPARE(out.results, expected);
    if (!record.isEmpty())
        QCOMPARE(criteriaText(out.criteria), record);
    // The 8-bit test used on files agrees with the one used on the display.
    for (int i = 0; out.resultsReplaced && i < source.size(); ++i) {
        const QByteArray bytes = source.at(i).toLatin1();
        QCOMPARE(out.matcher.matches(bytes.constData(), bytes.size()), kept.contains(i));
    }
}

// Which lines of a records file count as record lines: both readers agree,
// whether the file is read whole, 64 KiB at a time (lines cross the blocks'
// edges, one runs over several), or through a pipe; and the scan for lines holding a text keeps
// exactly the record lines that hold it, even 4 KiB at a time.
void TestSearchEngine::recordLinesOfFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("records.txt"), fifo = dir.filePath("pipe"), missing = dir.filePath("missing");
    // An autosave file's head: its column header is as long as a record line.
    QByteArray file("\r\n Autosave started 3/7/2006, 9:00:00 AM\r\n\r\n"
                    "    DATE         TIME     ENTRY   STATUS     CODE    NUMBER\r\n\r\n");
    QStringList lines;
    for (int i = 0; i < 3000; ++i) {
        lines << recordAt("3/7/2006 9:05:00 AM", QStringLiteral("1 V 123 %1").arg(i, 6, 10, QChar('0')));
        const QByteArray l = lines.constLast().toLatin1();
        file += l + (i % 2 ? "\r\n" : "\n") + l.left(58) + "\r\n" + l + " \r\n\r\n"; // other lengths are skipped
    }
    // A line longer than a record line is skipped however long it is, also when
    // it runs over several windows and what looks like one starts a window.
    const qsizetype edge = (file.size() / (1 << 16) + 3) << 16;
    file += QByteArray(edge - file.size(), 'x') + lines.constLast().toLatin1() + "\r\n";
    lines << QString(53, 'x') + "NUMBEr" << QString(53, QChar(0xe9)) + "123456";
    file += QByteArray(53, 'x') + "NUMBEr\r\n" + QByteArray(53, '\xe9') + "123456\r"; // no LF at the end
    QVERIFY(writeBytes(path, file));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    QStringList loaded{QStringLiteral("left from an earlier file")};
    QVERIFY(loadRecordLines(path, &loaded));
    QCOMPARE(loaded, lines);
    for (const qint64 window : {qint64(8) << 20, qint64(1) << 16, qint64(0)}) {
        QProcess writer; // the shell opens the pipe for writing, so that neither side waits here
        if (window == 0)
            writer.start("sh", {"-c", "cat \"$0\" > \"$1\"", path, fifo});
        QStringList scanned;
        const auto visit = [&](const char *p, qsizetype n) { scanned << QString::fromLatin1(p, n); };
        QVERIFY(scanRecordLines(window ? path : fifo, visit, nullptr, window ? window : qint64(1) << 16));
        QVERIFY(window || writer.waitForFinished());
        QCOMPARE(scanned, lines);
    }
    // Only the record lines that hold a text: in a few lines, in every line,
    // in the last line alone (which lacks its LF), in none, and one byte long.
    for (const QByteArray &needle : {QByteArray("0012"), QByteArray("123"), QByteArray("3456"), QByteArray("\xe9\xe9"),
                                    QByteArray("NUMBER"), QByteArray("7"), QByteArray("x\r")}) {
        QStringList holding;
        for (const QString &l : std::as_const(lines)) {
            if (l.toLatin1().contains(needle))
                holding << l;
        }
        for (const qint64 window : {qint64(8) << 20, qint64(1) << 16, qint64(4096)}) {
            QStringList scanned, placed;
            const auto visit = [&](const char *p, qsizetype n) { scanned << QString::fromLatin1(p, n); };
            QVERIFY(scanRecordLinesHolding(path, needle, visit, nullptr, window));
            QCOMPARE(scanned, holding);
            // Each line handed over with its place is the file's bytes there.
            const auto place = [&](const char *, qsizetype n, qint64 at) { placed << QString::fromLatin1(file.mid(at, n)); };
            QVERIFY(scanRecordPlaces(path, needle, place, [](qint64, qint64) { return true; }, nullptr, window));
            QCOMPARE(placed, holding);
        }
    }
    QString error, scanError;
    QVERIFY(!loadRecordLines(missing, &loaded, &error) && !error.isEmpty());
    QVERIFY(!scanRecordLines(missing, [](const char *, qsizetype) {}, &scanError) && !scanError.isEmpty());
}

// Rows for a spreadsheet: a cell that it would run as a formula begins with
// an apostrophe, inside the quotes when it needs them; numbers, dates and
// times as they are.
void TestSearchEngine::csvCells_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name"); // of entry point 1
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("row");

    const QString valid = recordAt("3/7/2006 1:05:09 PM", "1 V 123 000042");
    QTest::newRow("= in a name, quoted") << "a.txt" << "=HYPERLINK(\"http://x\",\"y\")" << valid
                                         << "a.txt,2006-03-07,13:05:09,1,\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",VALID,123,000042";
    QTest::newRow("+ and @") << "+cmd.txt" << "@SUM(A1)" << valid << "'+cmd.txt,2006-03-07,13:05:09,1,'@SUM(A1),VALID,123,000042";
    QTest::newRow("- in a status, a tab") << "a.txt" << "\tGate" << "  3/7/2006    1:05:09 PM    1    -2+3         123    000042"
                                          << "a.txt,2006-03-07,13:05:09,1,'\tGate,'-2+3,123,000042";
    QTest::newRow("carriage return first, quoted") << "a.txt" << "\r=1" << valid
                                                   << "a.txt,2006-03-07,13:05:09,1,\"'\r=1\",VALID,123,000042";
    QTest::newRow("numbers and text with = inside as they are") << "-5" << "Gate = 1" << "  3/7/2006    1:05:09 PM    1    VALID        -12    +00042"
                                                                << "-5,2006-03-07,13:05:09,1,Gate = 1,VALID,-12,+00042";
    QTest::newRow("an unreadable date") << "a.txt" << "Gate" << " -3/7/2006    1:05:09 PM    1    VALID        123    000042"
                                        << "a.txt,'-3/7/2006,13:05:09,1,Gate,VALID,123,000042";
}

void TestSearchEngine::csvCells()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QString, line);
    QFETCH(QString, row);
    QCOMPARE(csvRecordRow(line, CsvColumns{true, true}, file, {name}), row);
}

// A stored file searched on the worker finds exactly what matching the
// lines as read today finds, in the same order; a cancelled search tells
// nothing.
void TestSearchEngine::fileSearch_data()
{
    QTest::addColumn<QString>("criteria"); // card|facility|status|entry|from day|to day
    QTest::newRow("card") << "000012|||||";
    QTest::newRow("trimmed card") << "12345|||||";
    QTest::newRow("facility and status") << "|123|VALID|||";
    QTest::newRow("entry point") << "|||1||";
    QTest::newRow("days") << "||||3/7/2006|3/8/2006";
    QTest::newRow("none found") << "999999|||||";
}

void TestSearchEngine::fileSearch()
{
    QFETCH(QString, criteria);
    const QStringList c = criteria.split('|');
    Matcher m;
    m.card = c[0], m.facility = c[1], m.status = c[2], m.entryPoint = c[3];
    if (!c[4].isEmpty()) {
        m.timed = true;
        m.fromDay = QDate::fromString(c[4], "M/d/yyyy").toJulianDay();
        m.toDay = QDate::fromString(c[5], "M/d/yyyy").toJulianDay();
        m.toSecond = 24 * 3600 - 1;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("stored.txt");
    QByteArray bytes = "\r\n    DATE         TIME     ENTRY   STATUS     CODE    NUMBER\r\n\r\n";
    const QStringList sample = sampleSource();
    for (int i = 0; i < 4000; ++i)
        bytes += sample.at(i % 16).toLatin1() + (i % 3 ? "\r\n" : "\n");
    QVERIFY(writeBytes(path, bytes));
    QStringList today;
    QVERIFY(loadRecordLines(path, &today));

    FileSearch search;
    QSignalSpy done(&search, &FileSearch::finished);
    search.start(path, m);
    QTRY_COMPARE(done.size(), 1);
    const auto found = done.first().first().value<SearchResults>();
    QCOMPARE(done.first().last().toString(), QString());
    QCOMPARE(found.toList(), findMatches(m, today));

    search.start(path, m);
    search.cancel();
    QTest::qWait(100);
    QCOMPARE(done.size(), 1);
    search.start(dir.filePath("missing.txt"), m);
    QTRY_COMPARE(done.size(), 2);
    QCOMPARE(done.last().last().toString(), QStringLiteral("No such file or directory"));
}

QTEST_GUILESS_MAIN(TestSearchEngine)
#include "tst_search_engine.moc"
