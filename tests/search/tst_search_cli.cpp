#include "Clock.h"
#include "RecordLine.h"
#include "RecordsFile.h"
#include "SearchTestData.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;
using gt::test::recordAt;

namespace {

QStringList sampleRecords()
{
    return {recordAt("3/6/2006 11:59:59 PM", "1 V 123 000001"), recordAt("3/7/2006 9:05:00 AM", "2 N 123 012345"),
            recordAt("3/7/2006 10:30:00 PM", "3 V 456 012345"), recordAt("3/7/2006 10:30:01 PM", "4 F 123 000004"),
            recordAt("3/12/2006 1:00:00 AM", "2 V 789 000005")};
}

// A records file as the program writes it: headers, markers and blank lines
// around the record lines, which are the only lines searched.
QByteArray recordsFile()
{
    QStringList lines = records::autosaveHeader(QDateTime(QDate(2006, 3, 6), QTime(8, 0)));
    const QStringList r = sampleRecords();
    lines << r.at(0) << r.at(1);
    lines << records::stopMarker(QDateTime(QDate(2006, 3, 7), QTime(10, 0)));
    lines << records::resumeMarker(QDateTime(QDate(2006, 3, 7), QTime(10, 1)));
    lines << r.at(2) << r.at(3) << QString() << r.at(4) << incorrectDataLine(r.at(4));
    return encodeTextLines(lines);
}

QByteArray setupFile()
{
    QStringList lines{QStringLiteral("CommPort=1"), QStringLiteral("autosave=F"), QStringLiteral("x")};
    for (int i = 1; i <= 100; ++i)
        lines << (i == 2 ? QStringLiteral("Front Door") : i == 4 ? QStringLiteral("Dock") : QString());
    return encodeTextLines(lines);
}

QString bin(const QString &name)
{
    const QString dir = qEnvironmentVariable("GATETALLY_BIN_DIR");
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() + QLatin1Char('/') + name
                         : dir + QLatin1Char('/') + name;
}

} // namespace

class TestSearchCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void report_data();
    void report();
    void refused_data();
    void refused();
    void unreadableFiles();
    void generatedFile();

private:
    QTemporaryDir m_dir;
    QString m_records, m_setup;
};

void TestSearchCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_records = m_dir.filePath(QStringLiteral("Records 1.txt"));
    m_setup = m_dir.filePath(QStringLiteral("setup.txt"));
    QVERIFY(gt::test::writeBytes(m_records, recordsFile()));
    QVERIFY(gt::test::writeBytes(m_setup, setupFile()));
}

// The whole output, byte for byte: the report head with the criteria, then
// the matching records as display lines.
void TestSearchCli::report_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("criteria"); // lines between "Search Criteria:" + blank and the header's blank
    QTest::addColumn<QList<int>>("found");
    QTest::addColumn<bool>("names");

    QTest::newRow("card") << QStringList{"--card", "012345"} << QStringList{"     Card/Keyless Number:  012345"}
                          << QList<int>{1, 2} << false;
    QTest::newRow("range with inclusive ends")
        << QStringList{"--from", "3/7/2006 9:05 AM", "--to", "3/7/2006 10:30 PM"}
        << QStringList{"     From: 9:05:00 AM", "     To:   10:30:00 PM"} << QList<int>{1, 2} << false;
    QTest::newRow("range over days, lower-case pm")
        << QStringList{"--from", "3/6/2006 11:59 pm", "--to", "3/12/2006 1:00"}
        << QStringList{"     From: 11:59:00 PM", "     To:   1:00:00 AM"} << QList<int>{0, 1, 2, 3, 4} << false;
    QTest::newRow("all details")
        << QStringList{"--entry", "2", "--status", "NOT VALID", "--facility", "123", "--card", "012345"}
        << QStringList{"     Entry Point:  2", "     Status:  NOT VALID", "     Facility Code:  123",
                       "     Card/Keyless Number:  012345"}
        << QList<int>{1} << false;
    QTest::newRow("names") << QStringList{"--entry", "2", "--names", "SETUP"}
                           << QStringList{"     Entry Point:  2"} << QList<int>{1, 4} << true;
    QTest::newRow("nothing found") << QStringList{"--status", "valid"} << QStringList{"     Status:  valid"}
                                   << QList<int>{} << false;
}

void TestSearchCli::report()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, criteria);
    QFETCH(QList<int>, found);
    QFETCH(bool, names);

    args.replaceInStrings(QStringLiteral("SETUP"), m_setup);
    QProcess p;
    const QDateTime before = QDateTime::currentDateTime();
    p.start(bin(QStringLiteral("gatetally-search")), args << m_records);
    QVERIFY(p.waitForFinished(60000));
    const QDateTime after = QDateTime::currentDateTime();
    QCOMPARE(p.readAllStandardError(), QByteArray());
    QCOMPARE(p.exitCode(), 0);
    const QByteArray out = p.readAllStandardOutput();

    QStringList entryNames(101);
    entryNames[1] = QStringLiteral("Front Door");
    entryNames[3] = QStringLiteral("Dock");
    QStringList body;
    for (int i : found)
        body << MakeDisplayLine(sampleRecords().at(i), names ? kNameMode : kNumberMode, entryNames);
    if (body.isEmpty())
        body << QStringLiteral("          There were no results for this search");

    // The stamp is the moment of the run; any second it ran in will do.
    QStringList tried;
    for (QDateTime t = before.addMSecs(-before.time().msec()); t <= after; t = t.addSecs(1)) {
        QStringList lines{"", "Search results saved " + formatDate(t.date()) + "  " + formatTime(t.time()), "",
                          "     Search Criteria:", ""};
        lines << criteria << "" << records::listingHeaderLine() << "" << body;
        const QByteArray expected = encodeTextLines(lines);
        if (out == expected)
            return;
        tried << QString::fromLatin1(expected);
    }
    QCOMPARE(QString::fromLatin1(out), tried.constFirst());
}

// Criteria the screens would refuse: the same message, status 2, no report.
void TestSearchCli::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    QTest::newRow("facility of two") << QStringList{"--facility", "12"}
                                     << "Please enter three digits for the facility code";
    QTest::newRow("facility letters") << QStringList{"--facility", "12a"}
                                      << "This entry must be a number from 0 through 9";
    QTest::newRow("entry 0") << QStringList{"--entry", "0"} << "0 cannot be assigned as an entry point number";
    QTest::newRow("no criteria") << QStringList{} << "Please enter search criteria";
    QTest::newRow("From without To") << QStringList{"--from", "3/7/2006 9:00 AM"}
                                     << "Please enter the ending hour for this search";
    QTest::newRow("date without time") << QStringList{"--from", "3/7/2006", "--to", "3/8/2006 1:00 AM"}
                                       << "Please enter the starting hour for this search";
    QTest::newRow("hour 13") << QStringList{"--from", "3/7/2006 13:00 AM", "--to", "3/8/2006 1:00 AM"}
                             << "This entry must be from 1 through 12";
    QTest::newRow("unreadable --from") << QStringList{"--from", "yesterday", "--to", "3/7/2006 1:00 AM"}
                                       << "gatetally-search: --from wants a date and time such as \"3/7/2006 9:05 AM\"";
}

void TestSearchCli::refused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QProcess p;
    p.start(bin(QStringLiteral("gatetally-search")), args << m_records);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    QCOMPARE(QString::fromLocal8Bit(p.readAllStandardError()), message + QLatin1Char('\n'));
    QCOMPARE(p.readAllStandardOutput(), QByteArray());
}

void TestSearchCli::unreadableFiles()
{
    for (const QStringList &args :
         {QStringList{"--card", "1", m_dir.filePath("missing.txt")},
          QStringList{"--card", "1", "--names", m_dir.filePath("missing setup.txt"), m_records}}) {
        QProcess p;
        p.start(bin(QStringLiteral("gatetally-search")), args);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromLocal8Bit(p.readAllStandardError()).contains(QStringLiteral("missing")));
        QCOMPARE(p.readAllStandardOutput(), QByteArray());
    }
}

// The generator's files hold what it was asked for, and the search counts
// them as a plain scan of the file would.
void TestSearchCli::generatedFile()
{
    const QString path = m_dir.filePath(QStringLiteral("generated.txt"));
    QProcess gen;
    gen.start(bin(QStringLiteral("gatetally-genrecords")),
              {"--records", "5000", "--per-day", "2000", "--start", "12/31/2006", "--seed", "7", path});
    QVERIFY(gen.waitForFinished(60000));
    QCOMPARE(gen.exitCode(), 0);

    QStringList lines;
    QVERIFY(readTextLines(path, &lines));
    QStringList recordLines;
    for (const QString &l : std::as_const(lines)) {
        if (records::isRecordLine(l))
            recordLines << l;
    }
    QCOMPARE(recordLines.size(), 5000);
    QCOMPARE(recordLines.constFirst().left(10), QStringLiteral("12/31/2006"));
    QCOMPARE(recordLines.constLast().left(10), QStringLiteral("  1/2/2007"));

    const QString facility = recordLines.at(2500).mid(46, 3);
    int expected = 0;
    for (const QString &l : std::as_const(recordLines))
        expected += l.mid(46, 3) == facility && l.mid(33, 9).trimmed() == QLatin1String("VALID");
    QVERIFY(expected > 0);

    QProcess p;
    p.start(bin(QStringLiteral("gatetally-search")), {"--facility", facility, "--status", "VALID", path});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList out = splitTextLines(p.readAllStandardOutput());
    QCOMPARE(out.size(), 10 + expected);
    for (const QString &l : out.mid(10))
        QCOMPARE(l.mid(55, 3), facility);
}

QTEST_GUILESS_MAIN(TestSearchCli)
#include "tst_search_cli.moc"
