#include "Processes.h"
#include "RecordSource.h"
#include "RecordsFile.h"
#include "SearchTestData.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;
using gt::test::recordAt;
using gt::test::Run;
using gt::test::run;

class TestSearchCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void search_data();
    void search();

private:
    QTemporaryDir m_dir;
};

// A records file as the program writes it (header, markers, blank lines
// around the record lines); another with 12 AM, 12 PM and after noon, every
// status, one with no word, a date that does not exist; names for a
// spreadsheet, one with a comma and quotes.
void TestSearchCli::initTestCase()
{
    const QStringList r{recordAt("3/6/2006 11:59:59 PM", "1 V 123 000001"), recordAt("3/7/2006 9:05:00 AM", "2 N 123 012345"),
                        recordAt("3/7/2006 10:30:00 PM", "3 V 456 012345"), recordAt("3/7/2006 10:30:01 PM", "4 F 123 000004")};
    QStringList lines = records::autosaveHeader(QDateTime(QDate(2006, 3, 6), QTime(8, 0)));
    lines << r.at(0) << r.at(1) << records::stopMarker(QDateTime(QDate(2006, 3, 7), QTime(10, 0)))
          << records::resumeMarker(QDateTime(QDate(2006, 3, 7), QTime(10, 1))) << r.at(2) << QString() << r.at(3)
          << incorrectDataLine(r.at(3));
    QVERIFY(gt::test::writeBytes(m_dir.filePath("Records 1.txt"), encodeTextLines(lines)));
    QVERIFY(gt::test::writeBytes(
        m_dir.filePath("Records 2.txt"),
        encodeTextLines({recordAt("3/8/2006 12:05:00 AM", "1 V 123 012345"),
                         recordAt("3/8/2006 12:30:00 PM", "2 N 123 000007"),
                         recordAt("3/8/2006 1:15:09 PM", "3 F 123 000008"),
                         "  3/8/2006   11:59:59 PM    4    X            123    000009",
                         " 2/30/2006    9:00:00 AM    1    VALID        123    000010"})));
    QVERIFY(gt::test::writeBytes(m_dir.filePath("setup csv.txt"),
                                 encodeTextLines({"CommPort=1", "autosave=F", "x", "Gate", "Lobby, \"B\""})));
    QStringList many; // a report long enough to fail in the middle
    for (int i = 0; i < 2500; ++i)
        many << r;
    QVERIFY(gt::test::writeBytes(m_dir.filePath("many.txt"), encodeTextLines(many)));
}

// gatetally-search over records files, in the order given, as a report or
// CSV: the output byte for byte ("STAMP": the report's stamp line, any second
// of the run), standard error, the exit status. Criteria the screens refuse:
// their message, status 2. A file not read: status 1, the others still
// searched. A report not written, failing in the middle (a long one) or at
// the last flush (a short one): status 1 with the reason.
void TestSearchCli::search_data()
{
    QTest::addColumn<QStringList>("args"); // DIR: the test's folder, also in the outputs; ">FILE": output to FILE
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QString>("err");

    const QString R1 = "DIR/Records 1.txt", R2 = "DIR/Records 2.txt";
    const auto head = [](const QStringList &criteria) {
        return QStringList{"", "STAMP", "", "     Search Criteria:", ""} + criteria
            + QStringList{"", "    DATE         TIME          ENTRY       STATUS     CODE    NUMBER", ""};
    };

    QTest::newRow("every criterion, lower-case pm")
        << QStringList{"--from", "3/6/2006 11:59 pm", "--to", "3/12/2006 1:00", "--entry", "2", "--status", "NOT VALID",
                       "--facility", "123", "--card", "012345", R1}
        << 0
        << head({"     From: 11:59:00 PM", "     To:   1:00:00 AM", "     Entry Point:  2", "     Status:  NOT VALID",
                 "     Facility Code:  123", "     Card/Keyless Number:  012345"})
               + QStringList{"  3/7/2006    9:05:00 AM         2        NOT VALID    123    012345"}
        << QString();
    QTest::newRow("criteria the screens refuse") << QStringList{"--from", "3/7/2006 9:00 AM", R1} << 2 << QStringList()
                                                 << "Please enter the ending hour for this search\n";
    QTest::newRow("unreadable --from") << QStringList{"--from", "yesterday", "--to", "3/7/2006 1:00 AM", R1} << 2
                                       << QStringList()
                                       << "gatetally-search: --from wants a date and time such as \"3/7/2006 9:05 AM\"\n";
    QTest::newRow("missing names file") << QStringList{"--card", "1", "--names", "DIR/missing setup.txt", R1} << 1
                                        << QStringList()
                                        << "gatetally-search: DIR/missing setup.txt: No such file or directory\n";
    const QString full = "gatetally-search: the report could not be written: No space left on device\n";
    QTest::newRow("short report not written") << QStringList{"--facility", "123", R1, ">/dev/full"} << 1
                                              << QStringList() << full;
    QTest::newRow("long report not written") << QStringList{"--facility", "123", "DIR/many.txt", ">/dev/full"} << 1
                                             << QStringList() << full;
    QTest::newRow("in the order given, a missing file in the middle")
        << QStringList{"--status", "OFF", R2, "DIR/missing.txt", R1} << 1
        << head({"     Status:  OFF"})
               + QStringList{"Records file: DIR/Records 2.txt",
                             "  3/8/2006    1:15:09 PM         3        OFF          123    000008",
                             "",
                             "Records file: DIR/missing.txt",
                             "          This file could not be read: No such file or directory",
                             "",
                             "Records file: DIR/Records 1.txt",
                             "  3/7/2006   10:30:01 PM         4        OFF          123    000004"}
        << "gatetally-search: DIR/missing.txt: No such file or directory\n";
    QTest::newRow("csv: statuses, 24-hour times, a date that does not exist")
        << QStringList{"--csv", "--facility", "123", R2} << 0
        << QStringList{"date,time,entry,status,facility,card",
                       "2006-03-08,00:05:00,1,VALID,123,012345",
                       "2006-03-08,12:30:00,2,NOT VALID,123,000007",
                       "2006-03-08,13:15:09,3,OFF,123,000008",
                       "2006-03-08,23:59:59,4,X,123,000009",
                       "2/30/2006,09:00:00,1,VALID,123,000010"}
        << QString();
    QTest::newRow("csv: names quoted, a file column for several files")
        << QStringList{"--csv", "--card", "012345", "--names", "DIR/setup csv.txt", R1, R2} << 0
        << QStringList{"file,date,time,entry,entry_name,status,facility,card",
                       "DIR/Records 1.txt,2006-03-07,09:05:00,2,\"Lobby, \"\"B\"\"\",NOT VALID,123,012345",
                       "DIR/Records 1.txt,2006-03-07,22:30:00,3,,VALID,456,012345",
                       "DIR/Records 2.txt,2006-03-08,00:05:00,1,Gate,VALID,123,012345"}
        << QString();
}

void TestSearchCli::search()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QStringList, out);
    QFETCH(QString, err);

    const QString output = args.constLast().startsWith('>') ? args.takeLast().mid(1) : QString();
    const QDateTime before = QDateTime::currentDateTime();
    const Run r = run("gatetally-search", args.replaceInStrings("DIR", m_dir.path()), output);
    const QDateTime after = QDateTime::currentDateTime();
    QCOMPARE(r.code, code);
    QCOMPARE(QString::fromLocal8Bit(r.err), err.replace("DIR", m_dir.path()));
    out.replaceInStrings("DIR", m_dir.path());
    QByteArray expected = encodeTextLines(out);
    for (QDateTime t = before.addMSecs(-before.time().msec()); t <= after && expected != r.out; t = t.addSecs(1)) {
        QStringList stamped = out;
        stamped.replaceInStrings(QRegularExpression("^STAMP$"),
                                 "Search results saved " + QLocale::c().toString(t, "M/d/yyyy  h:mm:ss AP"));
        expected = encodeTextLines(stamped);
    }
    QCOMPARE(QString::fromLatin1(r.out), QString::fromLatin1(expected));
}

QTEST_GUILESS_MAIN(TestSearchCli)
#include "tst_search_cli.moc"
