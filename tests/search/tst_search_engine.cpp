#include "CsvRecords.h"
#include "FileSearch.h"
#include "RecordSource.h"
#include "SearchCriteria.h"
#include "SearchTestData.h"
#include "TestFiles.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include <sys/stat.h>

using namespace gt;
using namespace gt::search;
using namespace gt::test;

Q_DECLARE_METATYPE(gt::search::Matcher)

namespace {

const Twin D = Twin::Displayed, S = Twin::Stored;
const QString kCriteria = "Please enter search criteria";
const QString kFacility = "Please enter three digits for the facility code";
const QString kOrder = "The time and date listed in the From row must be earlier than the time and date listed in "
                       "the To row";

Entries day(const Entries &e) { return on("3/7/2006", "3/7/2006", e); }

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
        // 10: an unknown status shortens the line: "status" "X    123", "facility" "000"
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
    void csvCells();
    void fileSearch_data();
    void fileSearch();
};

// Each check in its order: its message, the field it focuses, what it leaves
// in the fields (minutes completed or padded, a bad field emptied).
struct Check
{
    const char *name;
    Twin twin;
    Entries in;
    QString message; // empty: the search got through
    Field focus = Field::None;
    std::optional<QString> fromMin = {}, toMin = {}; // afterwards; none: as typed
    enum { AsTyped, Emptied } focused = AsTyped; // the focused field afterwards
};
Q_DECLARE_METATYPE(Check)

void TestSearchEngine::checks_data()
{
    QTest::addColumn<Check>("c");
    const QString fromHour = "Please enter the starting hour for this search";
    const QString toHour = "Please enter the ending hour for this search";
    const QString fromMonth = "Please enter the starting month for this search";
    const QString toDay = "Please enter the ending day for this search";
    const QString fromYear = "Please enter four digits for the starting year for this search";
    const QString toYear = "Please enter four digits for the ending year for this search";
    const Entries valid{.status = "VALID"};
    const Check rows[] = {
        {"facility before the rows", D, {.fromMin = "5", .facility = "1"}, kFacility, Field::Facility, {}, {}, Check::Emptied},
        {"minute without hour", D, day({.fromMin = "5", .toMin = "5"}), fromHour, Field::FromHour},
        {"hour fills minute, minute padded", D, on("/7/2006", "", {.fromHour = "9", .toHour = "10", .toMin = "7"}), fromMonth,
         Field::FromMonth, "00", "07"},
        {"To year short", D, on("3/7/2006", "3/8/20", valid), toYear, Field::ToYear, {}, {}, Check::Emptied},
        {"2/29 of a common year", D, on("3/1/2006", "2/29/2006", valid), toDay, Field::ToDay},
        {"2/29 of a leap year", D, on("2/29/2008", "3/1/2008", valid)},
        {"year 0000", D, on("4/3/0000", "4/30/2006", valid), fromYear, Field::FromYear, {}, {}, Check::Emptied},
        {"hour 0", D, day({.fromHour = "0", .fromMin = "30", .toHour = "11"}), fromHour, Field::FromHour, {}, "00"},
        {"From time only", D, day({.fromHour = "9", .fromMin = "5"}), toHour, Field::ToHour, "05"},
        {"To time only", D, day({.toHour = "9"}), fromHour, Field::FromHour, {}, "00"},
        {"From = To", D, day({.fromHour = "10", .fromMin = "30", .toHour = "10", .toMin = "30"}), kOrder, Field::FromHour},
        // The stored-file screen shares the date checks of a row; what is its
        // own is when it checks at all and that both hours are wanted.
        {"S From row empty, nothing", S, on("//2006", "//2006", {}), kCriteria},
        {"S To time alone", S, on("//2006", "//2006", {.toHour = "9", .status = "VALID"}), fromHour, Field::FromHour},
        {"S To hour", S, on("3/7/2006", "//2006", {.fromHour = "9", .toMin = "5"}), toHour, Field::ToHour, "00"},
    };
    for (const Check &c : rows)
        QTest::newRow(c.name) << c;
}

void TestSearchEngine::checks()
{
    QFETCH(Check, c);
    Entries expected = c.in;
    expected.fromMin = c.fromMin.value_or(c.in.fromMin), expected.toMin = c.toMin.value_or(c.in.toMin);
    if (c.focused == Check::Emptied)
        expected.text(c.focus).clear();
    const Outcome out = runSearch(c.twin, c.in, SearchCriteria(), sampleSource());
    QCOMPARE(out.message, c.message);
    QCOMPARE(out.focus, c.focus);
    QCOMPARE(entriesText(out.entries), entriesText(expected));
    // Only a search that got past the completeness checks replaces the results.
    QCOMPARE(out.resultsReplaced, c.focus == Field::None || c.message == kOrder);
}

// The lines each search keeps, in source order, and the criteria record it
// leaves over the last search's for the report and Refine this Search: the
// facility check records only the details; the order check and the want of
// criteria record everything and narrow the lines by the details.
struct Match
{
    const char *name;
    Twin twin;
    Entries in;
    QList<int> kept;
    std::optional<SearchCriteria> record = {}; // none: not looked at
    QString message = {};
};
Q_DECLARE_METATYPE(Match)

void TestSearchEngine::matching_data()
{
    QTest::addColumn<Match>("m");
    const char *d7 = "3/7/2006";
    using C = SearchCriteria;
    const Match rows[] = {
        {"one day, 10:30 AM inclusive, 10:30:45 outside", D, day({.fromHour = "1", .toHour = "10", .toMin = "30"}), {3, 4}},
        {"first hour after midnight", D, day({.fromHour = "12", .toHour = "12", .toMin = "59"}), {1, 2}},
        {"noon hour", D, day({.fromHour = "12", .toHour = "12", .toMin = "59", .fromAM = false, .toAM = false}), {6, 7},
         C{.strFromTime = "12:00:00 PM", .strToTime = "12:59:00 PM", .strFromAMPM = "PM", .strToAMPM = "PM",
           .strFromDate = d7, .strToDate = d7}},
        {"11 PM to 5 AM days later, days between whole", D,
         on("3/7/2006", "3/10/2006", {.fromHour = "11", .toHour = "5", .fromAM = false}), {8, 9, 10, 11}},
        {"range with details", D,
         on("03/6/2006", "3/10/2006", {.fromHour = "1", .toHour = "1", .facility = "123", .status = "VALID"}),
         {0, 1, 5, 7, 8, 11},
         C{.strCritStatus = "VALID", .strCritFacility = "123", .strFromTime = "1:00:00 AM", .strToTime = "1:00:00 AM",
           .strFromAMPM = "AM", .strToAMPM = "AM", .strFromDate = "03/6/2006", .strToDate = "3/10/2006"}},
        {"unreadable dates and times never in range", D,
         on("2/1/2006", "3/31/2006", {.fromHour = "12", .toHour = "11", .toMin = "59", .entryPoint = "1", .toAM = false}),
         {0, 9, 12}},
        // Without times the dates take no part.
        {"no times: entry point", D, day({.entryPoint = "1", .toAM = false}), {0, 9, 12, 14, 15}},
        {"stored, From row empty: the To date ignored", S, on("//2006", "3/99/2006", {.entryPoint = "2", .fromAM = false}),
         {1, 10},
         C{.strCritEntryPoint = "2", .strFromTime = "PM //2006", .strToTime = "AM 3/99/2006", .strFromAMPM = "PM",
           .strToAMPM = "AM", .strFromDate = "//2006", .strToDate = "3/99/2006"}},
        {"status is case-sensitive", D, day({.status = "valid"}), {}},
        {"status and facility columns of a short line", D, day({.facility = "000", .status = "X    123"}), {10}},
        {"card with its spaces trimmed", D, day({.cardKeyless = "12345"}), {5}},
        {"stopped by the facility check", D, {.facility = "12", .status = "VALID", .cardKeyless = "99", .entryPoint = "1"},
         {}, C{"1", "VALID", "12", "99", "last", "last", "last", "last", "last", "last"}, kFacility},
        {"stopped by the order check", D, on("3/8/2006", "3/7/2006", {.fromHour = "1", .toHour = "2", .status = "NOT VALID"}),
         {2, 6},
         C{.strCritStatus = "NOT VALID", .strFromTime = "1:00:00 AM", .strToTime = "2:00:00 AM", .strFromAMPM = "AM",
           .strToAMPM = "AM", .strFromDate = "3/8/2006", .strToDate = d7},
         kOrder},
        {"stopped for want of criteria, empty slots dropped", D, day({}), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15},
         {}, kCriteria},
    };
    for (const Match &m : rows)
        QTest::newRow(m.name) << m;
}

void TestSearchEngine::matching()
{
    QFETCH(Match, m);
    const QStringList source = sampleSource();
    const SearchCriteria last{"last", "last", "last", "last", "last", "last", "last", "last", "last", "last"};
    const Outcome out = runSearch(m.twin, m.in, last, source);
    QCOMPARE(out.message, m.message);
    QStringList expected;
    for (int i : m.kept)
        expected.append(source.at(i));
    QCOMPARE(out.results, expected);
    if (m.record)
        QCOMPARE(criteriaText(out.criteria), criteriaText(*m.record));
    // The 8-bit test used on files agrees with the one used on the display.
    for (int i = 0; out.resultsReplaced && i < source.size(); ++i) {
        const QByteArray bytes = source.at(i).toLatin1();
        QCOMPARE(out.matcher.matches(bytes.constData(), bytes.size()), m.kept.contains(i));
    }
}

// The record lines of a file, the same read whole or through a pipe; the
// scan for a text keeps exactly the record lines holding it, in windows as
// small as 4 KiB (lines across their edges).
void TestSearchEngine::recordLinesOfFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("records.txt"), fifo = dir.filePath("pipe");
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
    QProcess writer; // the shell opens the pipe for writing, so that neither side waits here
    writer.start("sh", {"-c", "cat \"$0\" > \"$1\"", path, fifo});
    QStringList piped;
    QVERIFY(scanRecordLines(fifo, [&](const char *p, qsizetype n) { piped << QString::fromLatin1(p, n); }));
    QVERIFY(writer.waitForFinished());
    QCOMPARE(piped, lines);
    // Only the record lines that hold a text, each handed over with its place
    // in the file: any, in a few lines, in the last line alone (which lacks
    // its LF), in none, one byte long.
    for (const QByteArray &needle : {QByteArray(), QByteArray("0012"), QByteArray("3456"), QByteArray("\xe9\xe9"),
                                     QByteArray("NUMBER"), QByteArray("7")}) {
        QStringList holding;
        for (const QString &l : std::as_const(lines)) {
            if (l.toLatin1().contains(needle))
                holding << l;
        }
        for (const qint64 window : {qint64(8) << 20, qint64(1) << 16, qint64(4096)}) {
            QStringList placed;
            const auto place = [&](const char *p, qsizetype n, qint64 at) {
                placed << QString::fromLatin1(p, n) + (file.mid(at, n) == QByteArray(p, n) ? "" : " elsewhere");
            };
            QVERIFY(scanRecordPlaces(path, needle, place, [](qint64, qint64) { return true; }, nullptr, window));
            QCOMPARE(placed, holding);
        }
    }
    QString error;
    QVERIFY(!loadRecordLines(dir.filePath("missing"), &loaded, &error) && error == "No such file or directory");
}

// CSV rows: a cell a spreadsheet would run as a formula begins with an
// apostrophe, inside the quotes when it needs them; numbers as they are.
void TestSearchEngine::csvCells()
{
    const QString valid = recordAt("3/7/2006 1:05:09 PM", "1 V 123 000042"), at = ",2006-03-07,13:05:09,1,";
    const struct
    {
        QString file, name, line, row; // name: of entry point 1
    } rows[] = {
        {"a.txt", "=HYPERLINK(\"http://x\",\"y\")", valid, "a.txt" + at + "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",VALID,123,000042"},
        {"+cmd.txt", "@SUM(A1)", valid, "'+cmd.txt" + at + "'@SUM(A1),VALID,123,000042"},
        {"a.txt", "\tGate", "  3/7/2006    1:05:09 PM    1    -2+3         123    000042", "a.txt" + at + "'\tGate,'-2+3,123,000042"},
        {"a.txt", "\r=1", valid, "a.txt" + at + "\"'\r=1\",VALID,123,000042"}, // a carriage return first, quoted
        // Numbers, and text with = inside, as they are.
        {"-5", "Gate = 1", "  3/7/2006    1:05:09 PM    1    VALID        -12    +00042", "-5" + at + "Gate = 1,VALID,-12,+00042"},
    };
    for (const auto &r : rows)
        QCOMPARE(csvRecordRow(r.line, CsvColumns{true, true}, r.file, {r.name}), r.row);
}

// The worker's search of a stored file (the sample over and over, some
// lines ended by LF alone) keeps the lines matching; a cancelled one tells
// nothing, a missing file its reason.
void TestSearchEngine::fileSearch_data()
{
    QTest::addColumn<Matcher>("m");
    QTest::addColumn<QList<int>>("kept"); // of the sample
    QTest::newRow("facility and status") << Matcher{.facility = "123", .status = "VALID"}
                                         << QList<int>{0, 1, 5, 7, 8, 11, 12, 14, 15};
    QTest::newRow("days") << Matcher{.timed = true, .fromDay = QDate(2006, 3, 7).toJulianDay(),
                                     .toDay = QDate(2006, 3, 8).toJulianDay(), .toSecond = 24 * 3600 - 1}
                          << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}; // 10 is too short for a file's record line
    QTest::newRow("none found") << Matcher{.card = "999999"} << QList<int>{};
}

void TestSearchEngine::fileSearch()
{
    QFETCH(Matcher, m);
    QFETCH(QList<int>, kept);
    QTemporaryDir dir;
    const QString path = dir.filePath("stored.txt");
    QByteArray bytes = "\r\n    DATE         TIME     ENTRY   STATUS     CODE    NUMBER\r\n\r\n";
    const QStringList sample = sampleSource();
    QStringList expected;
    for (int i = 0; i < 4000; ++i) {
        bytes += sample.at(i % 16).toLatin1() + (i % 3 ? "\r\n" : "\n");
        if (kept.contains(i % 16))
            expected << sample.at(i % 16);
    }
    QVERIFY(writeBytes(path, bytes));
    FileSearch search;
    QSignalSpy done(&search, &FileSearch::finished);
    search.start(path, m);
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(done.first().last().toString(), QString());
    QCOMPARE(done.first().first().value<SearchResults>().toList(), expected);

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
