#include "Paths.h"
#include "RecordLine.h"
#include "Settings.h"
#include "State.h"
#include "FileSizeLimit.h"
#include "Rows.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QtTest>

#include <optional>
#include <sys/stat.h>

Q_DECLARE_METATYPE(gt::DisplayMode)

using namespace gt;
using gt::test::readBytes;
using gt::test::writeBytes;

namespace {

// The mode bits of a file or folder, in octal as ls shows them; "none"
// when there is nothing there.
QString modeOf(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("none");
    return QString::number(st.st_mode & 07777, 8);
}

QByteArray setupWith(const QByteArray &l1, const QByteArray &l2, const QByteArray &l3, int nameLines = 100,
                     const QByteArray &eol = "\r\n")
{
    QByteArray out = l1 + eol + l2 + eol + l3 + eol;
    for (int i = 0; i < nameLines; ++i)
        out += "Name" + QByteArray::number(i + 1) + eol;
    return out;
}

struct Stamp
{
    const char *name;
    QDateTime when;
    const char *message, *line;
};
const Stamp kStamps[] = {
    {.name = "5 Jan gets two blanks, 10:05:09 AM none", .when = {{2006, 1, 5}, {10, 5, 9}}, .message = "1 N 007 000001 ",
     .line = "  1/5/2006   10:05:09 AM    1    NOT VALID    007    000001"},
    {.name = "15 Oct gets none, midnight is 12 AM, OFF", .when = {{2006, 10, 15}, {0, 0, 0}}, .message = "9 F 999 123456 ",
     .line = "10/15/2006   12:00:00 AM    9    OFF          999    123456"},
    {.name = "noon is 12 PM", .when = {{2007, 2, 28}, {12, 0, 1}}, .message = "2 V 100 222222 ",
     .line = " 2/28/2007   12:00:01 PM    2    VALID        100    222222"},
    {.name = "unknown status stands alone, line shorter; 9 PM", .when = {{2006, 3, 7}, {21, 0, 0}},
     .message = "4 X 555 777777 ", .line = "  3/7/2006    9:00:00 PM    4    X    555    777777"},
    {.name = "unused positions ignored, control characters never reach the line", .when = {{2006, 3, 7}, {9, 0, 0}},
     .message = "4#V#5\n5#77\r777#", .line = "  3/7/2006    9:00:00 AM    4    VALID        5?5    77?777"},
};

// A replacing write that fails leaves the old file byte for byte, and says
// why; one through a link replaces the file it leads to; a device is written
// to, never replaced by a file.
struct Replace
{
    const char *name;
    bool device = false; // the link leads to /dev/full, not to a.txt
    int limit = 0;       // bytes a file may grow to; 0: no limit
    QString error = {};
    QByteArray after = "old\r\n"; // a.txt afterwards
};
const Replace kReplaces[] = {
    {.name = "disk fills up at the second block", .limit = 90,
     .error = "Only part of the data could be written (the disk may be full)."},
    {.name = "through a link", .after = QByteArray(78, 'x') + "\r\n" + QByteArray(76, 'x') + "\r\n"},
    {.name = "a device", .device = true, .error = "No space left on device"},
};

// setup.txt as a site may have it (one that cannot be read is test_startup's).
struct Load
{
    const char *name;
    QByteArray file;
    int port = 1;
    bool autosave = false;
    int names = 100; // Name1.. loaded from the file
};
const Load kLoads[] = {
    {.name = "port 12, autosave T", .file = setupWith("CommPort=12", "autosave=T", "/x/a.txt"), .port = 12, .autosave = true},
    {.name = "port 17 is no port", .file = setupWith("CommPort=17", "autosave=F", "/x/a.txt")},
    {.name = "port 0 is no port", .file = setupWith("CommPort=0", "autosave=F", "/x/a.txt")},
    {.name = "50 names, LF line ends", .file = setupWith("CommPort=2", "autosave=F", "/x/a.txt", 50, "\n"), .port = 2, .names = 50},
    {.name = "CR line ends, line 2 ending in x is on", .file = setupWith("CommPort=6", "autosave=x", "/x/a.txt", 100, "\r"),
     .port = 6, .autosave = true},
};

// Each writer changes its own lines of setup.txt and keeps the rest as the
// file has them. Start: CommPort=3, autosave=T, /x/Records/a.txt, Name1..Name100.
struct Rewrite
{
    const char *name;
    std::optional<int> port = {};
    std::optional<bool> autosave = {};
    std::optional<QString> file = {};
    QByteArray line1 = "CommPort=3", line2 = "autosave=T", line3 = "/x/Records/a.txt";
    bool renamed = false; // entry points 1 and 100 renamed FRONT and LAST
};
const Rewrite kRewrites[] = {
    {.name = "comm port", .port = 12, .line1 = "CommPort=12"},
    {.name = "autosave off", .autosave = false, .line2 = "autosave=F"},
    {.name = "autosave on, new file", .autosave = true, .file = "/x/Records/b.txt", .line3 = "/x/Records/b.txt"},
    {.name = "names", .renamed = true},
};

} // namespace

class TestCore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordLine_data() { test::rowsOf(kStamps); }
    void recordLine();
    void displayLine_data();
    void displayLine();
    void fileNames();
    void textFiles();
    void replacingWrites_data() { test::rowsOf(kReplaces); }
    void replacingWrites();
    void fileModes();
    void settingsLoad_data() { test::rowsOf(kLoads); }
    void settingsLoad();
    void settingsRewrite_data() { test::rowsOf(kRewrites); }
    void settingsRewrite();
};

void TestCore::recordLine()
{
    QFETCH(int, row);
    QCOMPARE(buildRecordLine(kStamps[row].message, kStamps[row].when), QString::fromLatin1(kStamps[row].line));
}

// The whole display line of a record line; MakeRecordLine gives the record
// line back where the entry point column can be read back.
void TestCore::displayLine_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<DisplayMode>("mode");
    QTest::addColumn<QString>("name"); // of entry point 3
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("roundTrip");

    const QString head = " 12/3/2006    1:05:09 PM", tail = "VALID        123    045678";
    const auto row = [&](const char *name, QChar entry, DisplayMode mode, const char *entryName,
                         const char *column, bool back = true) {
        QTest::newRow(name) << head + "    " + entry + "    " + tail << mode << QString::fromLatin1(entryName)
                            << head + column + tail << back;
    };
    row("number: the digit at position 34", '3', kNumberMode, "DOOR", "         3        ");
    row("even name", '3', kNameMode, "DOOR", "       DOOR       ");
    row("odd name: the extra blank on the right", '3', kNameMode, "FRONT", "      FRONT       ");
    row("empty name", '3', kNameMode, "", "                  ", false);
    row("entry 0 has no name", '0', kNameMode, "DOOR", "         0        ");
    row("non-digit entry", 'A', kNameMode, "DOOR", "         A        ");
    QTest::newRow("one-character status shown once")
        << "  3/7/2006    9:00:00 AM    4    X    555    777777" << kNumberMode << QString()
        << "  3/7/2006    9:00:00 AM         4        X    555    777777" << false;
}

void TestCore::displayLine()
{
    QFETCH(QString, record);
    QFETCH(DisplayMode, mode);
    QFETCH(QString, name);
    QFETCH(QString, display);
    QFETCH(bool, roundTrip);
    QStringList names(101);
    names[2] = name; // entry point 3
    names[0] = QStringLiteral("SHOULDNOT");
    QCOMPARE(MakeDisplayLine(record, mode, names), display);
    if (roundTrip)
        QCOMPARE(MakeRecordLine(display, names), record);
}

// A records file is named below Records, and titled without its extension
// in at most 30 characters.
void TestCore::fileNames()
{
    const QString dir = QStringLiteral("/data/gt"), x40(40, QLatin1Char('x'));
    const auto both = [&](const QString &path) { return recordsFileName(dir, path) + '|' + recordsFileTitle(dir, path); };
    QCOMPARE(both(dir + "/Records/" + x40 + ".txt"), x40 + ".txt|" + QString(30, QLatin1Char('x')));
    QCOMPARE(both(dir + "/Records/old/Monday.txt"), QStringLiteral("old/Monday.txt|old/Monday"));
    QCOMPARE(both("/tmp/elsewhere/Friday.txt"), QStringLiteral("Friday.txt|Friday"));
}

// Lines written byte for byte (read back, LF alone too, in test_search_engine),
// and the failures a caller must hear of.
void TestCore::textFiles()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("a.txt"));
    QVERIFY(appendTextLines(path, {QStringLiteral("one"), QString()}));
    QVERIFY(appendTextLines(path, {QStringLiteral("caf\u00e9")}));
    const QByteArray before("one\r\n\r\ncaf\xe9\r\n");
    QCOMPARE(readBytes(path), before);

    // A file that cannot be created or read, and a disk filling up half way
    // through an append: that one is cut back to what the file had, so that
    // the next append is not glued to half a line.
    QString e1, e2, e3;
    QStringList lines;
    QVERIFY(!appendTextLines(tmp.filePath(QStringLiteral("missing/a.txt")), {QStringLiteral("x")}, &e1));
    QVERIFY(!readTextLines(tmp.filePath(QStringLiteral("nothere.txt")), &lines, &e2));
    {
        const gt::test::FileSizeLimit limit(40);
        QVERIFY(!appendTextLines(path, QStringList(4, QString(20, QLatin1Char('x'))), &e3));
    }
    QCOMPARE(readBytes(path), before);
    QVERIFY2(!e1.isEmpty() && !e2.isEmpty() && !e3.isEmpty(), "every failure gives a reason");
}

void TestCore::replacingWrites()
{
    QFETCH(int, row);
    const Replace &c = kReplaces[row];
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("a.txt")), link = tmp.filePath(QStringLiteral("link.txt"));
    QVERIFY(writeBytes(file, "old\r\n"));
    QVERIFY(QFile::link(c.device ? QStringLiteral("/dev/full") : file, link));
    QString reason;
    bool ok = false;
    {
        std::optional<gt::test::FileSizeLimit> full;
        if (c.limit)
            full.emplace(c.limit);
        ReplacingFile out(link);
        ok = out.open(&reason) && out.write(QByteArray(78, 'x') + "\r\n", &reason)
            && out.write(QByteArray(76, 'x') + "\r\n", &reason) && out.commit(&reason);
    }
    QCOMPARE(reason, c.error);
    QCOMPARE(ok, c.error.isEmpty());
    QCOMPARE(readBytes(file), c.after);
    QVERIFY(QFileInfo(link).isSymLink());
    // No new file left beside the old one.
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::System), (QStringList{"a.txt", "link.txt"}));
}

// Under the usual umask 022 what the program makes is its owner's only, on
// the first start too; what was there keeps its mode.
void TestCore::fileModes()
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const mode_t umask = ::umask(022);
    QVERIFY(writeBytes(dir.filePath("kept.txt"), "old\r\n") && dir.mkdir("kept")); // 644 and 755
    GatetallyState state(dir.filePath("d/e"));
    QString error;
    const bool ok = loadSettings(state, &error) == SettingsLoad::Defaults && error.isEmpty()
        && appendTextLines(dir.filePath("new.txt"), {QStringLiteral("x")})
        && replaceTextLines(dir.filePath("kept.txt"), {QStringLiteral("x")}) && makeOwnerFolder(dir.filePath("kept/e/f"));
    ::umask(umask);
    QVERIFY(ok);
    QStringList modes;
    for (const char *path : {"d", "d/e", "d/e/setup.txt", "d/e/Records", "new.txt", "kept.txt", "kept", "kept/e", "kept/e/f"})
        modes << path + (':' + modeOf(dir.filePath(path)));
    QCOMPARE(modes, (QStringList{"d:700", "d/e:700", "d/e/setup.txt:600", "d/e/Records:700", "new.txt:600", "kept.txt:644",
                                 "kept:755", "kept/e:700", "kept/e/f:700"}));
}

void TestCore::settingsLoad()
{
    QFETCH(int, row);
    const Load &c = kLoads[row];
    QTemporaryDir tmp;
    const QString setup = tmp.filePath("setup.txt");
    QVERIFY(writeBytes(setup, c.file));
    GatetallyState state(tmp.path());
    QCOMPARE(loadSettings(state), SettingsLoad::Read);
    QCOMPARE(state.intCommPort, c.port);
    QCOMPARE(state.blnAutosave, c.autosave);
    QCOMPARE(state.strEntryNames.size(), 101);
    for (int i = 0; i < 101; ++i)
        QCOMPARE(state.strEntryNames.at(i), i < c.names ? QStringLiteral("Name%1").arg(i + 1) : QString());
    QCOMPARE(readBytes(setup), c.file); // reading never rewrites
}

void TestCore::settingsRewrite()
{
    QFETCH(int, row);
    const Rewrite &c = kRewrites[row];
    QTemporaryDir tmp;
    const QString setup = tmp.filePath("setup.txt");
    QVERIFY(writeBytes(setup, setupWith("CommPort=3", "autosave=T", "/x/Records/a.txt")));
    GatetallyState state(tmp.path());
    QCOMPARE(loadSettings(state), SettingsLoad::Read);
    // Memory may differ from the file; the file's lines win for what a
    // writer does not change.
    state.strSetupLine1 = QStringLiteral("CommPort=9");
    state.strAutosaveFile = QStringLiteral("/elsewhere.txt");
    if (c.renamed) {
        state.strEntryNames[0] = QStringLiteral("FRONT");
        state.strEntryNames[99] = QStringLiteral("LAST");
    }
    QString error;
    QVERIFY2(rewriteSettings(state, {.commPort = c.port, .autosave = c.autosave, .autosaveFile = c.file}, &error),
             qPrintable(error));
    QByteArray expected = setupWith(c.line1, c.line2, c.line3);
    if (c.renamed)
        expected.replace("\r\nName1\r\n", "\r\nFRONT\r\n").replace("\r\nName100\r\n", "\r\nLAST\r\n");
    QCOMPARE(readBytes(setup), expected);
    QCOMPARE(state.strSetupLine1.toLatin1() + '|' + state.strSetupLine2.toLatin1(), c.line1 + '|' + c.line2);
}

QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
