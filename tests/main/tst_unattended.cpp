// A site that runs itself: Setup > Start at Login, the note after a run that
// ended without Exit, the self-checks in the status area.

#include "AutostartEntry.h"
#include "MainCommands.h"
#include "Program.h"
#include "SelfCheck.h"
#include "TestFiles.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>
#include <sys/stat.h>

using namespace gt;
using gt::test::crlf;
using gt::test::readBytes;
using gt::test::writeBytes;

namespace {

// The whole program on a line of its own: Comm 1 may be held by a test beside.
struct OwnLine : test::ProgramOnLine
{
    OwnLine() { QVERIFY(plug()); }
};

const QDateTime kFirst(QDate(2026, 12, 7), QTime(7, 59, 30));
const QDateTime kSecond(QDate(2026, 12, 7), QTime(14, 2, 5));
const QByteArray kRecord1(" 12/6/2026    9:15:02 PM    3    VALID        101    004711");
const QByteArray kRecord2(" 12/7/2026    7:58:11 AM    1    NOT VALID    101    000815"); // the later one

int modeOf(const QString &path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// The lines of the status area, shown as plain or as styled text (whose line
// breaks read back as U+2028).
QStringList statusLines(const QLabel *label)
{
    QString text = label->text();
    if (Qt::mightBeRichText(text)) {
        QTextDocument doc;
        doc.setHtml(text);
        text = doc.toPlainText();
    }
    return text.replace(QChar(0x2028), QLatin1Char('\n')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The data folder of `p` naming Records/gate.txt, holding `records` unless "-".
QString useGateFile(test::Program &p, const QByteArray &autosave, const QByteArray &records)
{
    const QString file = p.dir.filePath(QStringLiteral("Records/gate.txt"));
    QDir(p.dir.path()).mkpath(QStringLiteral("Records"));
    writeBytes(p.dir.filePath(QStringLiteral("setup.txt")), test::setupFile("CommPort=1", autosave, file.toLatin1()));
    if (records != "-")
        writeBytes(file, records);
    return file;
}

} // namespace

class TestUnattended : public QObject
{
    Q_OBJECT
private:
    // Every autostart entry of this test goes here, never into the real home.
    QTemporaryDir m_config;
    QString entry() const { return m_config.filePath(QStringLiteral("autostart/gatetally.desktop")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QCOMPARE(autostart::entryPath(), entry());
    }

    // The Exec line of the entry, from the command: plain words as they are, a
    // word the desktop would split or expand quoted and escaped, then escaped
    // once more as a desktop entry's string value.
    void autostartEntryText_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QByteArray>("exec");
        QTest::newRow("spaces, non-ASCII, empty word") << QStringList{"/opt/gate tally/gatetally", "--data-dir", "/srv/Zürich", ""}
                                << QByteArray("Exec=\"/opt/gate tally/gatetally\" --data-dir /srv/Z\xc3\xbcrich \"\"");
        QTest::newRow("specials") << QStringList{"/usr/bin/gatetally", "--data-dir", "/srv/100% $HOME \"a\\b\"`x`"}
                                  << QByteArray("Exec=/usr/bin/gatetally --data-dir "
                                                "\"/srv/100%% \\\\$HOME \\\\\"a\\\\\\\\b\\\\\"\\\\`x\\\\`\"");
    }

    void autostartEntryText()
    {
        QFETCH(QStringList, command);
        QFETCH(QByteArray, exec);
        const QByteArray contents = autostart::entryContents(command);
        QVERIFY2(contents.startsWith("[Desktop Entry]\n") && contents.split('\n').contains(exec), contents.constData());
    }

    // Checking the item writes the entry for this program on this data folder
    // (its folder made as needed); unchecking removes it. A
    // plain file where the folder should be: the operator is told which file
    // and why, and the item stays unchecked.
    void startAtLogin()
    {
        OwnLine p;
        p.start();
        QAction *item = p.main()->mnuSetupAutostart;
        auto *setup = p.main()->findChild<QMenu *>(QStringLiteral("mnuSetup"));
        QVERIFY(setup && setup->actions().contains(item) && !item->isChecked());

        item->trigger();
        QVERIFY(item->isChecked());
        QVERIFY(readBytes(entry()).split('\n').contains("Exec=" + QFile::encodeName(QCoreApplication::applicationFilePath())
                                                        + " --data-dir " + QFile::encodeName(p.dir.path())));
        const QString folder = QFileInfo(entry()).path();
        item->trigger();
        QVERIFY(!item->isChecked() && !QFile::exists(entry()));
        QCOMPARE(p.prompts.shown.size(), 0);

        QVERIFY(QDir(folder).removeRecursively() && writeBytes(folder, "not a folder"));
        item->trigger();
        QVERIFY(!item->isChecked());
        QCOMPARE(p.prompts.texts(), QStringList{"Gatetally could not be set to start at login: the file " + entry()
                                                + " could not be written:\r\n" + folder + ": Not a directory"});
        QVERIFY(QFile::remove(folder));
    }

    // A run ends by Exit, by the end of the session or not at all (killed: the
    // program is gone without either); the next start on the folder says so in
    // the status area, in red, above the size of the records file in use, and
    // the records file holds nothing but what the program always writes.
    void lastRunEnded_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<QByteArray>("autosave");
        QTest::addColumn<QByteArray>("records"); // "-" for no records file
        QTest::addColumn<QStringList>("status");
        const QString killed = QStringLiteral("The last run of Gatetally, started 12/7/2026 7:59:30 AM, ended without "
                                              "Exit (it was stopped or crashed). ");
        const QByteArray header = crlf({"", " Autosave started 12/6/2026, 9:00:00 PM", "",
                                        "    DATE         TIME     ENTRY   STATUS     CODE    NUMBER", ""});
        // Many starts without a record since: the last record is far from the end.
        QByteArray markers;
        for (int i = 0; i < 400; ++i)
            markers += crlf({" Autosave started 12/7/2026, 7:00:00 AM", ""});
        QTest::newRow("killed, the last record behind many markers")
            << "kill" << QByteArray("autosave=T") << header + crlf({kRecord1, kRecord2}) + markers
            << QStringList{killed + "The last record in gate.txt was written 12/7/2026 7:58:11 AM.",
                           "Records file gate.txt: 17.5 kB."};
        QTest::newRow("killed, a file of markers only")
            << "kill" << QByteArray("autosave=T") << header
            << QStringList{killed + "The records file gate.txt holds no record.", "Records file gate.txt: 194 bytes."};
        QTest::newRow("killed, autosave off, no file") << "kill" << QByteArray("autosave=F") << QByteArray("-")
                                                       << QStringList{killed + "The records file gate.txt does not exist."};
        QTest::newRow("Exit") << "exit" << QByteArray("autosave=T") << header + crlf({kRecord1})
                              << QStringList{"Records file gate.txt: 338 bytes."};
        QTest::newRow("end of the session") << "session" << QByteArray("autosave=F") << QByteArray("-") << QStringList();
    }

    void lastRunEnded()
    {
        QFETCH(QString, end);
        QFETCH(QByteArray, autosave);
        QFETCH(QByteArray, records);
        QFETCH(QStringList, status);
        OwnLine p;
        const QString file = useGateFile(p, autosave, records);
        const QString marker = p.dir.filePath(QStringLiteral("gatetally.run"));
        p.start(kFirst);
        QCOMPARE(modeOf(marker), 0600);
        const bool on = autosave == "autosave=T";
        QByteArray expected = records + (on ? crlf({" Autosave started 12/7/2026, 7:59:30 AM", ""}) : QByteArray());
        if (end == "exit") {
            p.prompts.answers = {Prompts::Yes};
            p.main()->commands()->exit();
            expected += crlf({"", " Possible interruption in records", " Software was exited 12/7/2026, 7:59:30 AM", ""});
        } else if (end == "session") {
            p.app->endSession();
        }
        QCOMPARE(QFile::exists(marker), end == "kill");
        p.app.reset();

        p.prompts.shown.clear();
        p.start(kSecond);
        if (records != "-")
            QCOMPARE(readBytes(file), expected + (on ? crlf({" Autosave started 12/7/2026, 2:02:05 PM", ""}) : ""));
        const QLabel *label = p.main()->lblStatus;
        QCOMPARE(statusLines(label), status);
        if (end == "kill")
            QVERIFY(label->isVisibleTo(p.main()) && label->styleSheet().contains(QStringLiteral("#a00000")));
        QCOMPARE(p.prompts.shown.size(), 0);
        // Nothing else in the data folder (but the link to the line).
        QCOMPARE(QDir(p.dir.path()).entryList(QDir::Files | QDir::NoSymLinks), (QStringList{"gatetally.run", "setup.txt"}));
    }

    // The texts of the checks from given figures: free space below the low mark
    // with its figure, below the critical mark more urgently while autosave is
    // on; the records file's size, and the advice for one grown too big. The
    // marks themselves can be given.
    void selfCheckTexts()
    {
        const QString low = QStringLiteral("Only %1 free on the disk of the data folder /srv/gt: records cannot be "
                                           "written once it is full.");
        const QString critical = QStringLiteral("Autosave is on with only %1 free on the disk of the data folder "
                                                "/srv/gt: records cannot be written once it is full. Free some space now.");
        const QString big = QStringLiteral("The records file gate.txt is %1: consider starting a new one (Auto Save "
                                           "Off, then On, and Yes to saving to a different file).");
        const struct { qint64 free, size; bool autosave; QStringList warnings, notices; SelfCheckLimits limits = {}; } rows[] = {
            {.free = 100'000'000, .size = 0, .autosave = false, .notices = {"Records file gate.txt: 0 bytes."}},
            {.free = 8'200'000, .size = -1, .autosave = false, .warnings = {low.arg("8.2 MB")}},
            {.free = 8'200'000, .size = 640, .autosave = true, .warnings = {critical.arg("8.2 MB")},
             .notices = {"Records file gate.txt: 640 bytes."}},
            {.free = 10'000'000, .size = -1, .autosave = true, .warnings = {low.arg("10.0 MB")}},
            {.free = -1, .size = -1, .autosave = true}, // nothing known, nothing said
            {.free = 52'000'000'000, .size = 1'000'000'000, .autosave = true, .notices = {"Records file gate.txt: 1.0 GB."}},
            {.free = 3'000'000, .size = 1'234'567'890, .autosave = true, .warnings = {critical.arg("3.0 MB"), big.arg("1.2 GB")}},
            {.free = 4999, .size = 2001, .autosave = false, .warnings = {low.arg("5.0 kB"), big.arg("2.0 kB")},
             .limits = {5000, 1000, 2000}},
        };
        for (const auto &r : rows) {
            const SelfCheckLines lines = SelfCheck(r.limits).judge({"/srv/gt", r.free, "gate.txt", r.size, r.autosave});
            QCOMPARE(lines.warnings + QStringList{"--"} + lines.notices, r.warnings + QStringList{"--"} + r.notices);
        }
    }

    // The running program measures the real disk and file at start, every
    // minute, and again whenever autosave starts; the lines are in the status
    // area, never in a box.
    void selfCheckOnTheMainScreen()
    {
        OwnLine p;
        const QString file = useGateFile(p, "autosave=F", QByteArray(2500, 'x'));
        GatetallyApp &app = p.make(kFirst);
        app.selfCheckLimits.bigFile = 3000;
        app.start();
        app.showMainScreen();
        QVERIFY(app.selfCheckTimer()->isActive() && app.selfCheckTimer()->interval() == 60 * 1000);
        // The file grows past the mark given; the minute's check sees it.
        QVERIFY(writeBytes(file, QByteArray(3200, 'x')) && QMetaObject::invokeMethod(app.selfCheckTimer(), "timeout"));
        QVERIFY(p.main()->lblStatus->text().startsWith(QStringLiteral("The records file gate.txt is 3.2 kB: ")));

        // Whatever the disk has free is below a mark this high: turning autosave
        // on is told at once.
        const qint64 most = std::numeric_limits<qint64>::max();
        app.selfCheckLimits = SelfCheckLimits{most, most, most};
        p.prompts.answers = {Prompts::No};
        QTest::mouseClick(p.main()->optOn, Qt::LeftButton);
        QVERIFY(app.state().blnAutosave);
        const QStringList lines = statusLines(p.main()->lblStatus);
        QVERIFY2(lines.size() == 2 && lines.first().startsWith(QStringLiteral("Autosave is on with only ")),
                 qPrintable(lines.join('\n')));
        QCOMPARE(p.prompts.shown.size(), 1); // the question of a different file, test_commands's
    }
};

QTEST_MAIN(TestUnattended)
#include "tst_unattended.moc"
