// A site that runs itself: the autostart entry behind Setup > Start at
// Login, the note after a run that ended without Exit, and the self-checks
// shown in the status area.

#include "AutostartEntry.h"
#include "MainCommands.h"
#include "MainScreen.h"
#include "Program.h"
#include "PseudoTerminal.h"
#include "RunMarker.h"
#include "SelfCheck.h"
#include "TestFiles.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>
#include <sys/stat.h>

using namespace gt;
using gt::test::crlf;
using gt::test::readBytes;
using gt::test::writeBytes;

Q_DECLARE_METATYPE(gt::SelfCheckFigures)
Q_DECLARE_METATYPE(gt::SelfCheckLimits)

namespace {

// The whole program on a line of its own: Comm 1 may be held by another
// test program running beside this one, and its box would be one too many.
struct OwnLine : test::Program
{
    panel::PseudoTerminal line;
    OwnLine()
    {
        if (line.open())
            options.port = line.devicePath();
    }
};

const QDateTime kFirst(QDate(2026, 12, 7), QTime(7, 59, 30));
const QDateTime kSecond(QDate(2026, 12, 7), QTime(14, 2, 5));
const QByteArray kColumns("    DATE         TIME     ENTRY   STATUS     CODE    NUMBER");
const QByteArray kRecord1(" 12/6/2026    9:15:02 PM    3    VALID        101    004711");
const QByteArray kRecord2(" 12/7/2026    7:58:11 AM    1    NOT VALID    101    000815");
const QByteArray kSignOn = crlf({" Autosave started 12/7/2026, 7:59:30 AM", ""});
const QByteArray kSignOnAgain = crlf({" Autosave started 12/7/2026, 2:02:05 PM", ""});
const QByteArray kExit =
    crlf({"", " Possible interruption in records", " Software was exited 12/7/2026, 7:59:30 AM", ""});

int modeOf(const QString &path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// The lines of the status area, shown as plain or as styled text.
QStringList statusLines(const QLabel *label)
{
    QString text = label->text();
    if (text.isEmpty())
        return {};
    if (Qt::mightBeRichText(text)) {
        QTextDocument doc;
        doc.setHtml(text);
        text = doc.toPlainText();
    }
    // A line break of styled text reads back as U+2028.
    return text.replace(QChar(0x2028), QLatin1Char('\n')).split(QLatin1Char('\n'));
}

QByteArray setupNaming(const QByteArray &autosave, const QString &recordsFile)
{
    return test::setupFile("CommPort=1", autosave, recordsFile.toLatin1());
}

} // namespace

class TestUnattended : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void autostartEntryText_data();
    void autostartEntryText();
    void startAtLogin();
    void startAtLoginFailure();
    void lastRunEnded_data();
    void lastRunEnded();
    void selfCheckTexts_data();
    void selfCheckTexts();
    void selfCheckOnTheMainScreen();

private:
    // Every autostart entry of this test goes here, never into the real home.
    QTemporaryDir m_config;
    QString entry() const { return m_config.filePath(QStringLiteral("autostart/gatetally.desktop")); }
};

void TestUnattended::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QCOMPARE(autostart::entryPath(), entry());
}

// The Exec line of the entry, from the command: plain words as they are, a
// word the desktop would split or expand quoted and escaped, then escaped
// once more as a desktop entry's string value.
void TestUnattended::autostartEntryText_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QByteArray>("exec");
    QTest::newRow("plain") << QStringList{"/usr/bin/gatetally", "--data-dir", "/home/op/.local/share/gt"}
                           << QByteArray("Exec=/usr/bin/gatetally --data-dir /home/op/.local/share/gt");
    QTest::newRow("spaces") << QStringList{"/opt/gate tally/gatetally", "--data-dir", "/srv/site data"}
                            << QByteArray("Exec=\"/opt/gate tally/gatetally\" --data-dir \"/srv/site data\"");
    QTest::newRow("specials") << QStringList{"/usr/bin/gatetally", "--data-dir", "/srv/100% $HOME \"a\\b\"`x`"}
                              << QByteArray("Exec=/usr/bin/gatetally --data-dir "
                                            "\"/srv/100%% \\\\$HOME \\\\\"a\\\\\\\\b\\\\\"\\\\`x\\\\`\"");
    QTest::newRow("non-ASCII, empty word") << QStringList{"/usr/bin/gatetally", "--data-dir", "/srv/Zürich", ""}
                                           << QByteArray("Exec=/usr/bin/gatetally --data-dir /srv/Z\xc3\xbcrich \"\"");
}

void TestUnattended::autostartEntryText()
{
    QFETCH(QStringList, command);
    QFETCH(QByteArray, exec);
    QCOMPARE(autostart::entryContents(command), "[Desktop Entry]\n"
                                                "Type=Application\n"
                                                "Name=Quorvel Gatetally\n"
                                                "Comment=Starts the door access log when you log in\n"
                                                + exec
                                                + "\n"
                                                  "Icon=gatetally\n"
                                                  "Terminal=false\n"
                                                  "X-GNOME-Autostart-enabled=true\n");
}

// Checking the item writes the entry for this program on this data folder
// (its folder made, the file its owner's only); unchecking removes it; the
// check follows the file when someone else removes it or puts it there.
void TestUnattended::startAtLogin()
{
    OwnLine p;
    p.start();
    QAction *item = p.main()->findChild<QAction *>(QStringLiteral("mnuSetupAutostart"));
    auto *setup = p.main()->findChild<QMenu *>(QStringLiteral("mnuSetup"));
    QVERIFY(item && setup && setup->actions().contains(item));
    QVERIFY(item->isCheckable() && !item->isChecked());
    QCOMPARE(item->text(), QStringLiteral("Start at &Login"));

    item->trigger();
    QVERIFY(item->isChecked());
    const QList<QByteArray> lines = readBytes(entry()).split('\n');
    QVERIFY(lines.contains("Exec=" + QFile::encodeName(QCoreApplication::applicationFilePath()) + " --data-dir "
                           + QFile::encodeName(p.dir.path())));
    QCOMPARE(modeOf(entry()), 0600);
    QCOMPARE(modeOf(QFileInfo(entry()).path()), 0700);

    item->trigger();
    QVERIFY(!item->isChecked() && !QFile::exists(entry()));

    QVERIFY(writeBytes(entry(), "[Desktop Entry]\n"));
    QMetaObject::invokeMethod(setup, "aboutToShow");
    QVERIFY(item->isChecked());
    QVERIFY(QFile::remove(entry()));
    QMetaObject::invokeMethod(setup, "aboutToShow");
    QVERIFY(!item->isChecked());
    QCOMPARE(p.prompts.shown.size(), 0);
}

// A plain file where the autostart folder should be: the entry cannot be
// written, the operator is told which file and why, and the item stays
// unchecked.
void TestUnattended::startAtLoginFailure()
{
    const QString folder = QFileInfo(entry()).path();
    QDir(folder).removeRecursively();
    QVERIFY(writeBytes(folder, "not a folder"));
    OwnLine p;
    p.start();
    p.main()->mnuSetupAutostart->trigger();
    QVERIFY(!p.main()->mnuSetupAutostart->isChecked());
    QCOMPARE(p.prompts.texts(), QStringList{"Gatetally could not be set to start at login: the file " + entry()
                                            + " could not be written:\r\n" + folder + ": Not a directory"});
    QVERIFY(QFile::remove(folder));
}

// A run ends by Exit, by the end of the session or not at all (killed: the
// program is gone without either); the next start on the folder says so in
// the status area, with the last record of the records file in use, and the
// records file holds nothing but what the program always writes.
void TestUnattended::lastRunEnded_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<QByteArray>("autosave");
    QTest::addColumn<QByteArray>("records"); // "-" for no records file
    QTest::addColumn<QString>("note");
    const QString killed = QStringLiteral("The last run of Gatetally, started 12/7/2026 7:59:30 AM, ended without "
                                          "Exit (it was stopped or crashed). ");
    const QByteArray header = crlf({"", " Autosave started 12/6/2026, 9:00:00 PM", "", kColumns, ""});
    QTest::newRow("killed, autosave on")
        << "kill" << QByteArray("autosave=T") << header + crlf({kRecord1, kRecord2})
        << killed + "The last record in gate.txt was written 12/7/2026 7:58:11 AM.";
    // Many starts without a record since: the record is far from the end.
    QByteArray markers;
    for (int i = 0; i < 400; ++i)
        markers += crlf({" Autosave started 12/7/2026, 7:00:00 AM", ""});
    QTest::newRow("killed, the last record behind many markers")
        << "kill" << QByteArray("autosave=T") << header + crlf({kRecord1}) + markers
        << killed + "The last record in gate.txt was written 12/6/2026 9:15:02 PM.";
    QTest::newRow("killed, a file of markers only")
        << "kill" << QByteArray("autosave=T") << header << killed + "The records file gate.txt holds no record.";
    QTest::newRow("killed, autosave off, no file")
        << "kill" << QByteArray("autosave=F") << QByteArray("-") << killed + "The records file gate.txt does not exist.";
    QTest::newRow("Exit") << "exit" << QByteArray("autosave=T") << header + crlf({kRecord1}) << QString();
    QTest::newRow("end of the session") << "session" << QByteArray("autosave=F") << QByteArray("-") << QString();
}

void TestUnattended::lastRunEnded()
{
    QFETCH(QString, end);
    QFETCH(QByteArray, autosave);
    QFETCH(QByteArray, records);
    QFETCH(QString, note);
    OwnLine p;
    const QString file = p.dir.filePath(QStringLiteral("Records/gate.txt"));
    QVERIFY(QDir(p.dir.path()).mkpath(QStringLiteral("Records")));
    QVERIFY(writeBytes(p.dir.filePath(QStringLiteral("setup.txt")), setupNaming(autosave, file)));
    if (records != "-")
        QVERIFY(writeBytes(file, records));
    const QString marker = p.dir.filePath(QStringLiteral("gatetally.run"));

    p.start(kFirst);
    QVERIFY(QFile::exists(marker));
    QCOMPARE(modeOf(marker), 0600);
    const bool on = autosave == "autosave=T";
    QByteArray expected = records == "-" ? QByteArray() : records + (on ? kSignOn : QByteArray());
    if (end == "exit") {
        p.prompts.answers = {Prompts::Yes};
        p.main()->commands()->exit();
        expected += on ? kExit : QByteArray();
    } else if (end == "session") {
        p.app->endSession();
    }
    QCOMPARE(QFile::exists(marker), end == "kill");
    p.app.reset();

    p.prompts.shown.clear();
    p.start(kSecond);
    expected += on ? kSignOnAgain : QByteArray();
    QCOMPARE(records == "-" ? QByteArray("-") : readBytes(file), records == "-" ? QByteArray("-") : expected);
    // Beside the size of the records file, when there is one, which keeps
    // its quiet look beside the note.
    QStringList lines;
    if (!note.isEmpty())
        lines << note;
    if (records != "-")
        lines << QStringLiteral("Records file gate.txt: %1.").arg(SelfCheck::size(expected.size()));
    const QLabel *status = p.main()->lblStatus;
    QCOMPARE(statusLines(status), lines);
    if (!note.isEmpty())
        QVERIFY(status->isVisibleTo(p.main()) && status->styleSheet().contains(QStringLiteral("#a00000")));
    QCOMPARE(status->text().contains(QStringLiteral("font-weight: normal")), lines.size() == 2);
    QCOMPARE(p.prompts.shown.size(), 0);
    QVERIFY(QFile::exists(marker));
    QStringList dataFolder = QDir(p.dir.path()).entryList(QDir::Files);
    QCOMPARE(dataFolder, (QStringList{"gatetally.run", "setup.txt"}));
}

// The texts of the checks from given figures: free space below the low mark
// with its figure, below the critical mark more urgently while autosave is
// on; the records file's size, and the advice for one grown too big. The
// marks themselves can be given.
void TestUnattended::selfCheckTexts_data()
{
    QTest::addColumn<SelfCheckLimits>("limits");
    QTest::addColumn<SelfCheckFigures>("figures");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QStringList>("notices");
    const auto figures = [](qint64 free, qint64 size, bool autosave) {
        return SelfCheckFigures{QStringLiteral("/srv/gt"), free, QStringLiteral("gate.txt"), size, autosave};
    };
    const QString low = QStringLiteral("Only %1 free on the disk of the data folder /srv/gt: records cannot be "
                                       "written once it is full.");
    const QString critical = QStringLiteral("Autosave is on with only %1 free on the disk of the data folder "
                                            "/srv/gt: records cannot be written once it is full. Free some space now.");
    const QString big = QStringLiteral("The records file gate.txt is %1: consider starting a new one (Auto Save "
                                       "Off, then On, and Yes to saving to a different file).");
    const SelfCheckLimits defaults;
    QTest::newRow("all well") << defaults << figures(52'000'000'000, 12'345'678, true) << QStringList()
                              << QStringList{"Records file gate.txt: 12.3 MB."};
    QTest::newRow("100 MB free is enough") << defaults << figures(100'000'000, 0, false) << QStringList()
                                           << QStringList{"Records file gate.txt: 0 bytes."};
    QTest::newRow("just below 100 MB") << defaults << figures(99'950'000, -1, true)
                                       << QStringList{low.arg("100.0 MB")} << QStringList();
    QTest::newRow("below 10 MB, autosave off")
        << defaults << figures(8'200'000, -1, false) << QStringList{low.arg("8.2 MB")} << QStringList();
    QTest::newRow("below 10 MB, autosave on")
        << defaults << figures(8'200'000, 640, true) << QStringList{critical.arg("8.2 MB")}
        << QStringList{"Records file gate.txt: 640 bytes."};
    QTest::newRow("10 MB, autosave on") << defaults << figures(10'000'000, -1, true)
                                        << QStringList{low.arg("10.0 MB")} << QStringList();
    QTest::newRow("free space unknown") << defaults << figures(-1, -1, true) << QStringList() << QStringList();
    QTest::newRow("1 GB file") << defaults << figures(52'000'000'000, 1'000'000'000, true) << QStringList()
                               << QStringList{"Records file gate.txt: 1.0 GB."};
    QTest::newRow("file above 1 GB, disk nearly full")
        << defaults << figures(3'000'000, 1'234'567'890, true)
        << QStringList{critical.arg("3.0 MB"), big.arg("1.2 GB")} << QStringList();
    QTest::newRow("marks of its own") << SelfCheckLimits{5000, 1000, 2000} << figures(4999, 2001, false)
                                      << QStringList{low.arg("5.0 kB"), big.arg("2.0 kB")} << QStringList();
}

void TestUnattended::selfCheckTexts()
{
    QFETCH(SelfCheckLimits, limits);
    QFETCH(SelfCheckFigures, figures);
    QFETCH(QStringList, warnings);
    QFETCH(QStringList, notices);
    const SelfCheckLines lines = SelfCheck(limits).judge(figures);
    QCOMPARE(lines.warnings, warnings);
    QCOMPARE(lines.notices, notices);
}

// The running program measures the real disk and file at start, every
// minute, and again whenever autosave starts; the lines are in the status
// area, never in a box.
void TestUnattended::selfCheckOnTheMainScreen()
{
    OwnLine p;
    const QString file = p.dir.filePath(QStringLiteral("Records/gate.txt"));
    QVERIFY(QDir(p.dir.path()).mkpath(QStringLiteral("Records")));
    QVERIFY(writeBytes(p.dir.filePath(QStringLiteral("setup.txt")), setupNaming("autosave=F", file)));
    QVERIFY(writeBytes(file, QByteArray(2500, 'x')));
    GatetallyApp &app = p.make(kFirst);
    app.selfCheckLimits.bigFile = 3000;
    app.start();
    app.showMainScreen();
    QCOMPARE(app.selfCheckTimer()->interval(), 60 * 1000);
    QVERIFY(app.selfCheckTimer()->isActive());
    QCOMPARE(p.main()->lblStatus->text(), QStringLiteral("Records file gate.txt: 2.5 kB."));

    // The file grows; the minute's check sees it.
    QVERIFY(writeBytes(file, QByteArray(3200, 'x')));
    QVERIFY(QMetaObject::invokeMethod(app.selfCheckTimer(), "timeout"));
    QVERIFY(p.main()->lblStatus->text().startsWith(QStringLiteral("The records file gate.txt is 3.2 kB: ")));

    // Whatever the disk has free is below a mark this high: turning autosave
    // on is told at once.
    app.selfCheckLimits = SelfCheckLimits{std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max(),
                                          std::numeric_limits<qint64>::max()};
    p.prompts.answers = {Prompts::No};
    QTest::mouseClick(p.main()->optOn, Qt::LeftButton);
    QVERIFY(app.state().blnAutosave);
    const QStringList lines = statusLines(p.main()->lblStatus);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.first().startsWith(QStringLiteral("Autosave is on with only ")), qPrintable(lines.first()));
    QCOMPARE(p.prompts.texts(), QStringList{MainCommands::differentFileQuestion(QStringLiteral("gate.txt"))});
}

QTEST_MAIN(TestUnattended)
#include "tst_unattended.moc"
