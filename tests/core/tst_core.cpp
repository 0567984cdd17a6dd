#include "Clock.h"
#include "Paths.h"
#include "RecordLine.h"
#include "RecordsFile.h"
#include "Settings.h"
#include "State.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>


using namespace gt;
using gt::test::crlf;
using gt::test::readBytes;
using gt::test::writeBytes;

namespace {

QByteArray defaultSetup(const QString &dir, const QStringList &names = {})
{
    QList<QByteArray> lines{"CommPort=1", "autosave=F", defaultAutosaveFile(dir).toLatin1()};
    for (int i = 0; i < 100; ++i)
        lines.append(names.value(i).toLatin1());
    return crlf(lines);
}

QByteArray setupWith(const QByteArray &l1, const QByteArray &l2, const QByteArray &l3, int nameLines = 100,
                     const QByteArray &eol = "\r\n")
{
    QByteArray out = l1 + eol + l2 + eol + l3 + eol;
    for (int i = 0; i < nameLines; ++i)
        out += "Name" + QByteArray::number(i + 1) + eol;
    return out;
}

} // namespace

class TestCore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordLine_data();
    void recordLine();
    void displayLine_data();
    void displayLine();
    void makeRecordLine_data();
    void makeRecordLine();

    void fileNames_data();
    void fileNames();

    void textFiles();
    void textFileFailures();

    void settingsLoad_data();
    void settingsLoad();
    void settingsRewrite_data();
    void settingsRewrite();
    void settingsRewriteKeepsOldFileOnFailure();
};

void TestCore::recordLine_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");

    QTest::newRow("3 Dec 1:05:09 PM valid")
        << QDateTime(QDate(2006, 12, 3), QTime(13, 5, 9)) << QStringLiteral("3 V 123 045678 ")
        << QStringLiteral(" 12/3/2006    1:05:09 PM    3    VALID        123    045678");
    QTest::newRow("5 Jan gets two blanks, 10:05:09 AM none")
        << QDateTime(QDate(2006, 1, 5), QTime(10, 5, 9)) << QStringLiteral("1 N 007 000001 ")
        << QStringLiteral("  1/5/2006   10:05:09 AM    1    NOT VALID    007    000001");
    QTest::newRow("15 Oct gets none, OFF")
        << QDateTime(QDate(2006, 10, 15), QTime(23, 59, 59)) << QStringLiteral("9 F 999 123456 ")
        << QStringLiteral("10/15/2006   11:59:59 PM    9    OFF          999    123456");
    QTest::newRow("midnight is 12 AM")
        << QDateTime(QDate(2007, 2, 28), QTime(0, 0, 0)) << QStringLiteral("2 V 100 222222 ")
        << QStringLiteral(" 2/28/2007   12:00:00 AM    2    VALID        100    222222");
    QTest::newRow("noon is 12 PM")
        << QDateTime(QDate(2007, 2, 28), QTime(12, 0, 1)) << QStringLiteral("2 V 100 222222 ")
        << QStringLiteral(" 2/28/2007   12:00:01 PM    2    VALID        100    222222");
    QTest::newRow("unknown status stands alone, line shorter")
        << QDateTime(QDate(2006, 3, 7), QTime(9, 0, 0)) << QStringLiteral("4 X 555 777777 ")
        << QStringLiteral("  3/7/2006    9:00:00 AM    4    X    555    777777");
    QTest::newRow("unused positions ignored")
        << QDateTime(QDate(2006, 3, 7), QTime(9, 0, 0)) << QStringLiteral("4#V#555#777777#")
        << QStringLiteral("  3/7/2006    9:00:00 AM    4    VALID        555    777777");
    QTest::newRow("control characters never reach the line")
        << QDateTime(QDate(2006, 3, 7), QTime(9, 0, 0)) << QStringLiteral("4 V 5\n5 77\r777 ")
        << QStringLiteral("  3/7/2006    9:00:00 AM    4    VALID        5?5    77?777");
}

void TestCore::recordLine()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    QCOMPARE(buildRecordLine(message, when), expected);
}

void TestCore::displayLine_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("column"); // display positions 25-42

    const QString rec = QStringLiteral(" 12/3/2006    1:05:09 PM    3    VALID        123    045678");
    QTest::newRow("number") << rec << kNumberMode << QStringLiteral("DOOR") << QStringLiteral("         3        ");
    QTest::newRow("even name") << rec << kNameMode << QStringLiteral("DOOR")
                               << QStringLiteral("   ") + QStringLiteral("    DOOR    ") + QStringLiteral("   ");
    QTest::newRow("odd name") << rec << kNameMode << QStringLiteral("FRONT")
                              << QStringLiteral("   ") + QStringLiteral("   FRONT    ") + QStringLiteral("   ");
    QTest::newRow("one letter") << rec << kNameMode << QStringLiteral("A")
                                << QStringLiteral("   ") + QStringLiteral("     A      ") + QStringLiteral("   ");
    QTest::newRow("ten letters") << rec << kNameMode << QStringLiteral("LOADINGBAY")
                                 << QStringLiteral("   ") + QStringLiteral(" LOADINGBAY ") + QStringLiteral("   ");
    QTest::newRow("empty name") << rec << kNameMode << QString() << QString(18, QLatin1Char(' '));
    QString zero = rec;
    zero[28] = QLatin1Char('0');
    QTest::newRow("entry 0 has no name") << zero << kNameMode << QStringLiteral("DOOR") << QStringLiteral("         0        ");
    QString letter = rec;
    letter[28] = QLatin1Char('A');
    const QString shortLine = QStringLiteral("  3/7/2006    9:00:00 AM    4    X    555    777777");
    QTest::newRow("one-character status shown once") << shortLine << kNumberMode << QString()
                                                     << QStringLiteral("         4        ");
    QTest::newRow("non-digit entry") << letter << kNameMode << QStringLiteral("DOOR")
                                     << QStringLiteral("         A        ");
}

void TestCore::displayLine()
{
    QFETCH(QString, record);
    QFETCH(QString, mode);
    QFETCH(QString, name);
    QFETCH(QString, column);
    QStringList names(101);
    names[2] = name; // entry point 3
    names[0] = QStringLiteral("SHOULDNOT");
    const QString display = MakeDisplayLine(record, mode, names);
    QCOMPARE(display.size(), record.size() + 9); // the entry point column is 9 wider
    QCOMPARE(display.left(24), record.left(24));
    QCOMPARE(display.mid(24, 18), column);
    QCOMPARE(display.mid(42), record.mid(33));
}

void TestCore::makeRecordLine_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("entryIndex");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expectedEntry");

    QTest::newRow("number form round trip") << kNumberMode << 6 << QStringLiteral("GATE") << QStringLiteral("7");
    QTest::newRow("unique name back to number") << kNameMode << 6 << QStringLiteral("GATE") << QStringLiteral("7");
}

void TestCore::makeRecordLine()
{
    QFETCH(QString, mode);
    QFETCH(int, entryIndex);
    QFETCH(QString, name);
    QFETCH(QString, expectedEntry);
    QStringList names(101);
    names[entryIndex] = name;
    const QString message = QString::number(entryIndex + 1) + QStringLiteral(" V 321 654321 ");
    const QString record = buildRecordLine(message, QDateTime(QDate(2006, 3, 7), QTime(8, 1, 2)));
    const QString back = MakeRecordLine(MakeDisplayLine(record, mode, names), names);
    QCOMPARE(back, record.left(28) + expectedEntry + record.mid(29));
    QCOMPARE(back.size(), 59);
}

void TestCore::fileNames_data()
{
    QTest::addColumn<QString>("relative"); // below the data folder, or absolute
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("in Records") << QStringLiteral("Records/Weekly report.txt") << QStringLiteral("Weekly report.txt")
                                << QStringLiteral("Weekly report");
    QTest::newRow("40 characters") << QStringLiteral("Records/") + QString(40, QLatin1Char('x')) + QStringLiteral(".txt")
                                   << QString(40, QLatin1Char('x')) + QStringLiteral(".txt") << QString(30, QLatin1Char('x'));
    QTest::newRow("subfolder") << QStringLiteral("Records/old/Monday.txt") << QStringLiteral("old/Monday.txt")
                               << QStringLiteral("old/Monday");
    QTest::newRow("outside") << QStringLiteral("/tmp/elsewhere/Friday.txt") << QStringLiteral("Friday.txt")
                             << QStringLiteral("Friday");
}

void TestCore::fileNames()
{
    QFETCH(QString, relative);
    QFETCH(QString, name);
    QFETCH(QString, title);
    const QString dir = QStringLiteral("/data/gt");
    const QString path = relative.startsWith(QLatin1Char('/')) ? relative : dir + QLatin1Char('/') + relative;
    QCOMPARE(recordsFileName(dir, path), name);
    QCOMPARE(recordsFileTitle(dir, path), title);
}

void TestCore::textFiles()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("a.txt"));
    QVERIFY(appendTextLines(path, {QStringLiteral("one"), QString()}));
    QVERIFY(appendTextLines(path, {QStringLiteral("caf\u00e9")}));
    QCOMPARE(readBytes(path), QByteArray("one\r\n\r\ncaf\xe9\r\n"));
    QVERIFY(replaceTextLines(path, {QStringLiteral("two")}));
    QCOMPARE(readBytes(path), QByteArray("two\r\n"));

    // Files edited elsewhere: LF, CR LF and a last line without an end.
    QVERIFY(writeBytes(path, "a\nb\r\n\nc"));
    QStringList lines;
    QVERIFY(readTextLines(path, &lines));
    QCOMPARE(lines, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("c")}));
}

void TestCore::textFileFailures()
{
    QTemporaryDir tmp;
    QString error;
    // A file that cannot be created, and a disk that is full.
    QVERIFY(!appendTextLines(tmp.filePath(QStringLiteral("missing/a.txt")), {QStringLiteral("x")}, &error));
    QVERIFY(!error.isEmpty());
    error.clear();
    const QString full = tmp.filePath(QStringLiteral("full.txt"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
    QVERIFY(!appendTextLines(full, {QStringLiteral("x")}, &error));
    QVERIFY2(!error.isEmpty(), "a full disk must give a reason");
    QStringList lines;
    QVERIFY(!readTextLines(tmp.filePath(QStringLiteral("nothere.txt")), &lines, &error));

    // The disk filling up half way through a block: the short write is a failure.
    const QString half = tmp.filePath(QStringLiteral("half.txt"));
    error.clear();
    bool ok = true;
    {
        const gt::test::FileSizeLimit limit(40);
        ok = replaceTextLines(half, records::exitMarker(QDateTime(QDate(2006, 3, 7), QTime(1, 2, 3))), &error);
    }
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
}

void TestCore::settingsLoad_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("unreadable"); // why, when the defaults replace it
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<int>("names"); // names loaded from the file

    QTest::newRow("port 12") << setupWith("CommPort=12", "autosave=F", "/x/Records/a.txt") << QString() << 12 << false << 100;
    QTest::newRow("port 17 is no port") << setupWith("CommPort=17", "autosave=F", "/x/a.txt") << QString() << 1 << false << 100;
    QTest::newRow("port 0 is no port") << setupWith("CommPort=0", "autosave=F", "/x/a.txt") << QString() << 1 << false << 100;
    QTest::newRow("garbage line 1") << setupWith("hello", "autosave=F", "/x/a.txt") << QString() << 1 << false << 100;
    QTest::newRow("autosave T") << setupWith("CommPort=3", "autosave=T", "/x/a.txt") << QString() << 3 << true << 100;
    QTest::newRow("line 2 ending in x is on") << setupWith("CommPort=3", "autosave=x", "/x/a.txt") << QString() << 3 << true << 100;
    QTest::newRow("50 names") << setupWith("CommPort=2", "autosave=F", "/x/a.txt", 50) << QString() << 2 << false << 50;
    QTest::newRow("LF line ends") << setupWith("CommPort=5", "autosave=T", "/x/a.txt", 100, "\n") << QString() << 5 << true << 100;
    QTest::newRow("CR line ends") << setupWith("CommPort=6", "autosave=T", "/x/a.txt", 100, "\r") << QString() << 6 << true << 100;
    QTest::newRow("two lines only") << QByteArray("CommPort=4\r\nautosave=T\r\n") << "it has fewer than 3 lines" << 1 << false << 0;
    QTest::newRow("one NUL byte") << setupWith("CommPort=7", "autosave=T", QByteArray("/x/a\0.txt", 9))
                                  << "it holds a NUL byte" << 1 << false << 0;
}

void TestCore::settingsLoad()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, unreadable);
    QFETCH(int, port);
    QFETCH(bool, autosave);
    QFETCH(int, names);
    QTemporaryDir tmp;
    const QString setup = setupFilePath(tmp.path());
    // An older kept copy is replaced.
    QVERIFY(writeBytes(setup, file) && writeBytes(setup + ".unreadable", "older"));
    GatetallyState state(tmp.path());
    QString notice;
    QCOMPARE(loadSettings(state, nullptr, &notice), unreadable.isEmpty() ? SettingsLoad::Read : SettingsLoad::Defaults);
    QCOMPARE(state.intCommPort, port);
    QCOMPARE(state.blnAutosave, autosave);
    QCOMPARE(state.strListTitle, QStringLiteral("Quorvel Gatetally"));
    QCOMPARE(state.strEntryNames.size(), 101);
    for (int i = 0; i < 101; ++i)
        QCOMPARE(state.strEntryNames.at(i), i < names ? QStringLiteral("Name%1").arg(i + 1) : QString());
    if (unreadable.isEmpty()) {
        QCOMPARE(readBytes(setup), file); // reading never rewrites
        QCOMPARE(notice, QString());
        return;
    }
    QCOMPARE(readBytes(setup), defaultSetup(tmp.path()));
    QCOMPARE(readBytes(setup + ".unreadable"), file);
    QCOMPARE(notice, QStringLiteral("The settings file %1 could not be read (%2).\r\n"
                                    "Gatetally is using the default settings: port 1, autosave off, "
                                    "no records file chosen and no entry point names.\r\n"
                                    "The old file was kept as %1.unreadable.")
                         .arg(setup, unreadable));
}

void TestCore::settingsRewrite_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<QByteArray>("l1");
    QTest::addColumn<QByteArray>("l2");
    QTest::addColumn<QByteArray>("l3");
    QTest::addColumn<bool>("renamed");
    // Start: CommPort=3, autosave=T, /x/Records/a.txt, names Name1..Name100.
    QTest::newRow("comm port") << 0 << QByteArray("CommPort=12") << QByteArray("autosave=T") << QByteArray("/x/Records/a.txt") << false;
    QTest::newRow("autosave off") << 1 << QByteArray("CommPort=3") << QByteArray("autosave=F") << QByteArray("/x/Records/a.txt") << false;
    QTest::newRow("autosave on, new file") << 2 << QByteArray("CommPort=3") << QByteArray("autosave=T") << QByteArray("/x/Records/b.txt") << false;
    QTest::newRow("save as") << 3 << QByteArray("CommPort=3") << QByteArray("autosave=T") << QByteArray("/x/Records/c.txt") << false;
    QTest::newRow("names") << 4 << QByteArray("CommPort=3") << QByteArray("autosave=T") << QByteArray("/x/Records/a.txt") << true;
}

void TestCore::settingsRewrite()
{
    QFETCH(int, writer);
    QFETCH(QByteArray, l1);
    QFETCH(QByteArray, l2);
    QFETCH(QByteArray, l3);
    QFETCH(bool, renamed);
    QTemporaryDir tmp;
    QVERIFY(writeBytes(setupFilePath(tmp.path()), setupWith("CommPort=3", "autosave=T", "/x/Records/a.txt")));
    GatetallyState state(tmp.path());
    QCOMPARE(loadSettings(state), SettingsLoad::Read);
    // Memory may differ from the file; the file's lines win for what a
    // writer does not change.
    state.strSetupLine1 = QStringLiteral("CommPort=9");
    state.strAutosaveFile = QStringLiteral("/elsewhere.txt");

    SettingsChange change;
    switch (writer) {
    case 0: change.commPort = 12; break;
    case 1: change.autosave = false; break;
    case 2: change.autosave = true; change.autosaveFile = QStringLiteral("/x/Records/b.txt"); break;
    case 3: change.autosaveFile = QStringLiteral("/x/Records/c.txt"); break;
    case 4: state.strEntryNames[0] = QStringLiteral("FRONT"); state.strEntryNames[99] = QStringLiteral("LAST"); break;
    }
    QString error;
    QVERIFY2(rewriteSettings(state, change, &error), qPrintable(error));

    QByteArray expected = setupWith(l1, l2, l3);
    if (renamed) {
        expected.replace("\r\nName1\r\n", "\r\nFRONT\r\n");
        expected.replace("\r\nName100\r\n", "\r\nLAST\r\n");
    }
    QCOMPARE(readBytes(setupFilePath(tmp.path())), expected);
    QCOMPARE(state.strSetupLine1.toLatin1(), l1);
    QCOMPARE(state.strSetupLine2.toLatin1(), l2);
}

void TestCore::settingsRewriteKeepsOldFileOnFailure()
{
    QTemporaryDir tmp;
    const QByteArray original = setupWith("CommPort=3", "autosave=T", "/x/Records/a.txt");
    QVERIFY(writeBytes(setupFilePath(tmp.path()), original));
    GatetallyState state(tmp.path());
    loadSettings(state);
    SettingsChange change;
    change.commPort = 7;
    QString error;
    bool ok = true;
    {
        const gt::test::FileSizeLimit limit(64); // the disk fills up half way through
        ok = rewriteSettings(state, change, &error);
    }
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(setupFilePath(tmp.path())), original);
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList{QStringLiteral("setup.txt")});
}

QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
