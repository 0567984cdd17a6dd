#include "GatetallyApp.h"
#include "MainCommands.h"
#include "MainScreen.h"
#include "Navigator.h"
#include "Paths.h"
#include "RecordLine.h"
#include "ScriptedPrompts.h"
#include "Settings.h"
#include "SignOn.h"
#include "State.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

using namespace gt;
using gt::test::crlf;
using gt::test::readBytes;
using gt::test::ScriptedPrompts;
using gt::test::writeBytes;

namespace {

const QDateTime kTuesday(QDate(2006, 3, 7), QTime(13, 5, 9));
const QByteArray kAbsent("<unreadable>");
const QByteArray kColumns("    DATE         TIME     ENTRY   STATUS     CODE    NUMBER");

const QByteArray kAutosaveHeader = crlf({"", " Autosave started 3/7/2006, 1:05:09 PM", "", kColumns, ""});
const QByteArray kResumeMarker = crlf({"", " Autosave started 3/7/2006  1:05:09 PM", ""});
const QByteArray kStopMarker = crlf({"", " Possible interruption in records", " Autosave was disabled 3/7/2006, 1:05:09 PM"});
const QByteArray kExitMarker =
    crlf({"", " Possible interruption in records", " Software was exited 3/7/2006, 1:05:09 PM", ""});
const QByteArray kSaveHeader = crlf({"", " Saved 3/7/2006", "", kColumns, ""});

const QByteArray kOldContent = crlf({"", " Saved 3/6/2006", "", kColumns, "", "an earlier line"});

// One prompt as "title|icon|buttons|text", so a whole conversation compares
// as one list.
QString describe(const ScriptedPrompts::Shown &s)
{
    QString icon = QStringLiteral("-");
    if (s.icon == Prompts::Icon::Question)
        icon = QStringLiteral("?");
    else if (s.icon == Prompts::Icon::Warning)
        icon = QStringLiteral("!");
    else if (s.icon != Prompts::Icon::None)
        icon = QStringLiteral("i");
    QString buttons;
    if (s.buttons & Prompts::Yes)
        buttons += QLatin1Char('Y');
    if (s.buttons & Prompts::No)
        buttons += QLatin1Char('N');
    if (s.buttons & Prompts::Cancel)
        buttons += QLatin1Char('C');
    if (s.buttons & Prompts::Ok)
        buttons += QStringLiteral("OK");
    return s.title + QLatin1Char('|') + icon + QLatin1Char('|') + buttons + QLatin1Char('|') + s.text;
}

const QString kClearDisplay = QStringLiteral("Gatetally|-|YN|Would you like to clear the display?");
const QString kDifferentMonday = QStringLiteral("Gatetally|-|YN|Autosave was previously saving records to Monday.txt.\r\n"
                                                "Would you like to start saving records to a different file?");
const QString kOverwrite = QStringLiteral("Existing File|?|YNC|Do you want to overwrite the existing file? ");
const QString kSaveRefusal = QStringLiteral(
    "Gatetally|-|OK|Autosave is currently on. To manually save these records, autosave should be turned off.");
const QString kSaveAsRefusal =
    QStringLiteral("Gatetally|-|OK|Autosave is currently on. To manually save these records\r\nautosave should be turned off.");
const QString kClearQuestion = QStringLiteral("Gatetally|-|YN|   This will permanently erase\r\nany unsaved records. Continue?");
const QString kExitOn = QStringLiteral("Gatetally|-|YN|Autosave is currently on. Exiting now will stop the\r\n"
                                       "Quorvel Gatetally from saving any more records.\r\n"
                                       "Are you sure you want to exit?");
const QString kExitOff =
    QStringLiteral("Gatetally|-|YN|Exiting will permanently erase any unsaved records.\r\nAre you sure you want to exit?");

QList<Prompts::Button> answersOf(const QString &letters)
{
    QList<Prompts::Button> out;
    for (QChar c : letters)
        out.append(c == QLatin1Char('Y') ? Prompts::Yes : c == QLatin1Char('N') ? Prompts::No : Prompts::Cancel);
    return out;
}

// A fresh data folder with the default settings, a pinned clock and the
// commands over them, as the main screen would have them.
struct Desk
{
    QTemporaryDir tmp;
    GatetallyState state{tmp.path()};
    ScriptedPrompts prompts;
    bool clearCheck = false;
    MainCommands commands{state, prompts, clearCheck};
    QStringList events;

    Desk()
    {
        loadSettings(state);
        state.clock.setFixed(kTuesday);
        commands.closePort = [this] { events << QStringLiteral("port closed"); };
        QObject::connect(&commands, &MainCommands::exitConfirmed, [this] { events << QStringLiteral("exit timer"); });
    }

    QString records() const { return recordsDirPath(state.dataDir); }

    // A file name of a table, or one of the awkward places a write must fail in.
    QString path(const QString &token)
    {
        if (token.isEmpty() || token.trimmed().isEmpty())
            return token;
        if (token == QLatin1String("default"))
            return defaultAutosaveFile(state.dataDir);
        if (token == QLatin1String("@full")) {
            const QString link = QDir(records()).filePath(QStringLiteral("full.txt"));
            if (!QFileInfo(link).isSymLink())
                QFile::link(QStringLiteral("/dev/full"), link);
            return link;
        }
        if (token == QLatin1String("@under")) {
            const QString plain = QDir(state.dataDir).filePath(QStringLiteral("plain.txt"));
            writeBytes(plain, "a plain file\r\n");
            return plain + QStringLiteral("/x.txt");
        }
        if (token == QLatin1String("@readonly")) {
            const QString dir = QDir(records()).filePath(QStringLiteral("locked"));
            QDir().mkpath(dir);
            QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            return QDir(dir).filePath(QStringLiteral("x.txt"));
        }
        return QDir::toNativeSeparators(QDir(records()).filePath(token));
    }

    // Makes a file the records file in use, as a start-up would find it.
    void useFile(const QString &token, bool autosave)
    {
        state.strAutosaveFile = path(token);
        state.blnAutosave = autosave;
        SettingsChange change;
        change.autosave = autosave;
        change.autosaveFile = state.strAutosaveFile;
        QVERIFY(rewriteSettings(state, change));
    }

    void script(const QString &answers, const QStringList &fileNames)
    {
        prompts.answers = answersOf(answers);
        for (const QString &name : fileNames)
            prompts.fileNames.append(path(name));
    }

    // Displays n records the way the receiver does.
    void display(int n)
    {
        for (int i = 0; i < n; ++i) {
            const QString line =
                buildRecordLine(QStringLiteral("%1 V 12%2 00456%3").arg(i % 9 + 1).arg(i % 10).arg(i % 10), kTuesday);
            state.strRecords.append(line, MakeDisplayLine(line, state.strDisplayMode, state.strEntryNames));
        }
    }

    QByteArray recordBytes() const { return encodeTextLines(state.strRecords.recordLines()); }

    QStringList conversation() const
    {
        QStringList out;
        for (const ScriptedPrompts::Shown &s : prompts.shown)
            out.append(describe(s));
        return out;
    }

    QStringList setupLines() const
    {
        QStringList lines;
        readTextLines(setupFilePath(state.dataDir), &lines);
        return lines;
    }

    // Every Save dialog of these commands is the same one.
    void checkDialogs(int expected) const
    {
        QCOMPARE(prompts.dialogs.size(), expected);
        for (const Prompts::SaveDialog &d : prompts.dialogs) {
            QCOMPARE(d.filter, QStringLiteral("Text documents (*.txt)|*.txt|"));
            QCOMPARE(d.filterIndex, 1);
            QCOMPARE(d.initialFolder, records());
        }
    }
};

QByteArray fileOrAbsent(Desk &desk, const QString &name)
{
    return readBytes(desk.path(name));
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void autosaveOn_data();
    void autosaveOn();
    void autosaveOff_data();
    void autosaveOff();
    void setupFileWins();
    void unreadableSetupKeepsMemory();
    void save_data();
    void save();
    void saveAs_data();
    void saveAs();
    void savesReceiverRecordLines();
    void writeFailure_data();
    void writeFailure();
    void clear_data();
    void clear();
    void exit_data();
    void exit();
    void workingWeek();

    void screenAutosaveButtons();
    void screenCommands_data();
    void screenCommands();
    void screenExitEndsThroughTimer();
    void programExitClosesPort();
};

void TestCommands::autosaveOn_data()
{
    QTest::addColumn<QString>("inUse");
    QTest::addColumn<QByteArray>("mondayBefore");
    QTest::addColumn<QByteArray>("tuesdayBefore");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("fileNames");
    QTest::addColumn<QStringList>("conversation");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("fileAfter");
    QTest::addColumn<QByteArray>("mondayAfter");
    QTest::addColumn<QByteArray>("tuesdayAfter");
    QTest::addColumn<int>("countAfter");
    QTest::addColumn<bool>("clearCheck");

    const QStringList none;
    const QStringList monday{QStringLiteral("Monday.txt")};
    const QStringList tuesday{QStringLiteral("Tuesday.txt")};

    QTest::newRow("no file yet: dialog at once, header")
        << "default" << QByteArray() << QByteArray() << 0 << "" << monday << none << 1 << true << "Monday.txt"
        << kAutosaveHeader << kAbsent << 0 << false;
    QTest::newRow("no file yet, chosen file exists: replaced by the header")
        << "default" << kOldContent << QByteArray() << 0 << "" << monday << none << 1 << true << "Monday.txt"
        << kAutosaveHeader << kAbsent << 0 << false;
    QTest::newRow("records shown, cleared")
        << "default" << QByteArray() << QByteArray() << 3 << "Y" << monday << QStringList{kClearDisplay} << 1 << true
        << "Monday.txt" << kAutosaveHeader << kAbsent << 0 << true;
    QTest::newRow("records shown, kept")
        << "default" << QByteArray() << QByteArray() << 3 << "N" << monday << QStringList{kClearDisplay} << 1 << true
        << "Monday.txt" << kAutosaveHeader << kAbsent << 3 << false;
    QTest::newRow("earlier file kept: resume marker appended")
        << "Monday.txt" << kOldContent << QByteArray() << 0 << "N" << none << QStringList{kDifferentMonday} << 0
        << true << "Monday.txt" << kOldContent + kResumeMarker << kAbsent << 0 << false;
    QTest::newRow("earlier file kept but gone: made with the resume marker")
        << "Monday.txt" << QByteArray() << QByteArray() << 0 << "N" << none << QStringList{kDifferentMonday} << 0
        << true << "Monday.txt" << kResumeMarker << kAbsent << 0 << false;
    QTest::newRow("different file: earlier one untouched, new one replaced")
        << "Monday.txt" << kOldContent << kOldContent << 0 << "Y" << tuesday << QStringList{kDifferentMonday} << 1
        << true << "Tuesday.txt" << kOldContent << kAutosaveHeader << 0 << false;
    QTest::newRow("records shown and earlier file: both questions in order")
        << "Monday.txt" << kOldContent << QByteArray() << 2 << "YN" << none
        << QStringList{kClearDisplay, kDifferentMonday} << 0 << true << "Monday.txt" << kOldContent + kResumeMarker
        << kAbsent << 0 << true;
    QTest::newRow("dialog cancelled: stays off, nothing written")
        << "default" << QByteArray() << QByteArray() << 0 << "" << QStringList{QString()} << none << 1 << false
        << "default" << kAbsent << kAbsent << 0 << false;
    QTest::newRow("blank name: as cancelled")
        << "default" << QByteArray() << QByteArray() << 0 << "" << QStringList{QStringLiteral("   ")} << none << 1
        << false << "default" << kAbsent << kAbsent << 0 << false;
    QTest::newRow("different file cancelled: earlier file not reused")
        << "Monday.txt" << kOldContent << QByteArray() << 0 << "Y" << QStringList{QString()}
        << QStringList{kDifferentMonday} << 1 << false << "Monday.txt" << kOldContent << kAbsent << 0 << false;
}

void TestCommands::autosaveOn()
{
    QFETCH(QString, inUse);
    QFETCH(QByteArray, mondayBefore);
    QFETCH(QByteArray, tuesdayBefore);
    QFETCH(int, shown);
    QFETCH(QString, answers);
    QFETCH(QStringList, fileNames);
    QFETCH(QStringList, conversation);
    QFETCH(int, dialogs);
    QFETCH(bool, on);
    QFETCH(QString, fileAfter);
    QFETCH(QByteArray, mondayAfter);
    QFETCH(QByteArray, tuesdayAfter);
    QFETCH(int, countAfter);
    QFETCH(bool, clearCheck);

    Desk desk;
    desk.useFile(inUse, false);
    if (!mondayBefore.isNull())
        QVERIFY(writeBytes(desk.path(QStringLiteral("Monday.txt")), mondayBefore));
    if (!tuesdayBefore.isNull())
        QVERIFY(writeBytes(desk.path(QStringLiteral("Tuesday.txt")), tuesdayBefore));
    desk.display(shown);
    desk.state.blnAutosaveFull = true;
    const QByteArray setupBefore = readBytes(setupFilePath(desk.state.dataDir));
    desk.script(answers, fileNames);
    QSignalSpy restored(&desk.commands, &MainCommands::autosaveStateChanged);

    desk.commands.turnAutosaveOn();

    QCOMPARE(desk.conversation(), conversation);
    desk.checkDialogs(dialogs);
    QCOMPARE(desk.prompts.unscripted, 0);
    QCOMPARE(desk.state.blnAutosave, on);
    QCOMPARE(desk.state.blnAutosaveFull, false);
    QCOMPARE(restored.count(), on ? 0 : 1);
    QCOMPARE(desk.state.strAutosaveFile, desk.path(fileAfter));
    QCOMPARE(fileOrAbsent(desk, QStringLiteral("Monday.txt")), mondayAfter);
    QCOMPARE(fileOrAbsent(desk, QStringLiteral("Tuesday.txt")), tuesdayAfter);
    QCOMPARE(desk.state.intRecordCount(), countAfter);
    QCOMPARE(desk.clearCheck, clearCheck);
    if (on) {
        const QStringList setup = desk.setupLines();
        QCOMPARE(setup.size(), 103);
        QCOMPARE(setup.at(0), QStringLiteral("CommPort=1"));
        QCOMPARE(setup.at(1), QStringLiteral("autosave=T"));
        QCOMPARE(setup.at(2), desk.path(fileAfter));
    } else {
        QCOMPARE(readBytes(setupFilePath(desk.state.dataDir)), setupBefore);
        QCOMPARE(QDir(desk.records()).entryList(QDir::Files), QStringList(mondayBefore.isNull() ? QStringList() : QStringList{QStringLiteral("Monday.txt")}));
    }

    // A second click on "On" asks and writes nothing more.
    desk.prompts.reset();
    const QByteArray monday = fileOrAbsent(desk, QStringLiteral("Monday.txt"));
    desk.commands.turnAutosaveOn();
    if (on) {
        QVERIFY(desk.prompts.shown.isEmpty());
        QCOMPARE(fileOrAbsent(desk, QStringLiteral("Monday.txt")), monday);
    }
}

void TestCommands::autosaveOff_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<bool>("full");
    QTest::addColumn<QStringList>("fileNames");
    QTest::addColumn<QString>("fileAfter");
    QTest::addColumn<QByteArray>("mondayAfter");
    QTest::addColumn<QByteArray>("tuesdayAfter");

    QTest::newRow("stop marker appended") << true << false << QStringList() << "Monday.txt"
                                          << kOldContent + kStopMarker << kAbsent;
    QTest::newRow("after the capacity message: new file holds the stop marker")
        << true << true << QStringList{QStringLiteral("Tuesday.txt")} << "Tuesday.txt" << kOldContent << kStopMarker;
    QTest::newRow("after the capacity message, cancelled: current file kept")
        << true << true << QStringList{QString()} << "Monday.txt" << kOldContent + kStopMarker << kAbsent;
    QTest::newRow("already off: nothing at all") << false << false << QStringList() << "Monday.txt" << kOldContent
                                                 << kAbsent;
}

void TestCommands::autosaveOff()
{
    QFETCH(bool, on);
    QFETCH(bool, full);
    QFETCH(QStringList, fileNames);
    QFETCH(QString, fileAfter);
    QFETCH(QByteArray, mondayAfter);
    QFETCH(QByteArray, tuesdayAfter);

    Desk desk;
    desk.useFile(QStringLiteral("Monday.txt"), on);
    QVERIFY(writeBytes(desk.path(QStringLiteral("Monday.txt")), kOldContent));
    desk.state.blnAutosaveFull = full;
    desk.display(2);
    const QByteArray setupBefore = readBytes(setupFilePath(desk.state.dataDir));
    desk.script(QString(), fileNames);

    desk.commands.turnAutosaveOff();

    QVERIFY(desk.prompts.shown.isEmpty());
    desk.checkDialogs(int(fileNames.size()));
    QCOMPARE(desk.state.blnAutosave, false);
    QCOMPARE(desk.state.blnAutosaveFull, false);
    QCOMPARE(desk.state.strAutosaveFile, desk.path(fileAfter));
    QCOMPARE(fileOrAbsent(desk, QStringLiteral("Monday.txt")), mondayAfter);
    QCOMPARE(fileOrAbsent(desk, QStringLiteral("Tuesday.txt")), tuesdayAfter);
    QCOMPARE(desk.state.intRecordCount(), 2);
    if (on) {
        const QStringList setup = desk.setupLines();
        QCOMPARE(setup.size(), 103);
        QCOMPARE(setup.at(1), QStringLiteral("autosave=F"));
        QCOMPARE(setup.at(2), desk.path(fileAfter));
    } else {
        QCOMPARE(readBytes(setupFilePath(desk.state.dataDir)), setupBefore);
    }
}

void TestCommands::setupFileWins()
{
    // setup.txt edited while the program ran: its line 3 is the file in use
    // from the next autosave command on, and its line 1 survives the rewrite.
    Desk desk;
    desk.useFile(QStringLiteral("Monday.txt"), false);
    QStringList setup = desk.setupLines();
    setup[0] = QStringLiteral("CommPort=7");
    setup[2] = desk.path(QStringLiteral("Tuesday.txt"));
    QVERIFY(writeBytes(setupFilePath(desk.state.dataDir), encodeTextLines(setup)));
    desk.script(QStringLiteral("N"), {});

    desk.commands.turnAutosaveOn();

    QCOMPARE(desk.conversation(),
             QStringList{QStringLiteral("Gatetally|-|YN|Autosave was previously saving records to Tuesday.txt.\r\n"
                                        "Would you like to start saving records to a different file?")});
    QCOMPARE(readBytes(desk.path(QStringLiteral("Tuesday.txt"))), kResumeMarker);
    QCOMPARE(fileOrAbsent(desk, QStringLiteral("Monday.txt")), kAbsent);
    QCOMPARE(desk.state.strSetupLine1, QStringLiteral("CommPort=7"));
    setup[1] = QStringLiteral("autosave=T");
    QCOMPARE(desk.setupLines(), setup);

    // Edited again before turning off: the stop marker follows the file.
    setup[2] = desk.path(QStringLiteral("Wednesday.txt"));
    QVERIFY(writeBytes(setupFilePath(desk.state.dataDir), encodeTextLines(setup)));
    desk.commands.turnAutosaveOff();
    QCOMPARE(readBytes(desk.path(QStringLiteral("Wednesday.txt"))), kStopMarker);
    QCOMPARE(readBytes(desk.path(QStringLiteral("Tuesday.txt"))), kResumeMarker);
}

void TestCommands::unreadableSetupKeepsMemory()
{
    Desk desk;
    desk.useFile(QStringLiteral("Monday.txt"), false);
    QVERIFY(QFile::remove(setupFilePath(desk.state.dataDir)));
    // A folder where setup.txt should be: it can be neither read nor replaced.
    QVERIFY(QDir().mkpath(setupFilePath(desk.state.dataDir)));
    desk.script(QStringLiteral("N"), {});

    desk.commands.turnAutosaveOn();

    QVERIFY(desk.state.blnAutosave);
    QCOMPARE(desk.state.strAutosaveFile, desk.path(QStringLiteral("Monday.txt")));
    QCOMPARE(readBytes(desk.state.strAutosaveFile), kResumeMarker);
    QCOMPARE(desk.prompts.shown.size(), 2);
    QCOMPARE(describe(desk.prompts.shown.at(0)), kDifferentMonday);
    QVERIFY(desk.prompts.shown.at(1).text.startsWith(
        QStringLiteral("The settings file %1 could not be written:\r\n").arg(setupFilePath(desk.state.dataDir))));

    desk.prompts.reset();
    desk.commands.turnAutosaveOff();
    QVERIFY(!desk.state.blnAutosave);
    QCOMPARE(readBytes(desk.state.strAutosaveFile), kResumeMarker + kStopMarker);
}

void TestCommands::save_data()
{
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<QString>("inUse");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("fileNames");
    QTest::addColumn<QStringList>("conversation");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("appended");
    QTest::addColumn<int>("countAfter");

    const QStringList none;
    QTest::newRow("Yes replaces, display kept") << false << "Monday.txt" << 3 << "YN" << none
                                                << QStringList{kOverwrite, kClearDisplay} << "Monday.txt" << false << 3;
    QTest::newRow("No appends, display cleared") << false << "Monday.txt" << 3 << "NY" << none
                                                 << QStringList{kOverwrite, kClearDisplay} << "Monday.txt" << true << 0;
    QTest::newRow("Cancel: nothing") << false << "Monday.txt" << 3 << "C" << none << QStringList{kOverwrite} << ""
                                     << false << 3;
    QTest::newRow("empty display: header alone, no clearing question")
        << false << "Monday.txt" << 0 << "Y" << none << QStringList{kOverwrite} << "Monday.txt" << false << 0;
    QTest::newRow("No to a missing file creates it")
        << false << "Gone.txt" << 1 << "NN" << none << QStringList{kOverwrite, kClearDisplay} << "Gone.txt" << false
        << 1;
    QTest::newRow("autosave on: refused") << true << "Monday.txt" << 3 << "" << none << QStringList{kSaveRefusal} << ""
                                          << false << 3;
    QTest::newRow("no file chosen yet: as Save As")
        << false << "default" << 2 << "" << QStringList{QStringLiteral("Report.txt")} << none << "Report.txt" << false
        << 2;
}

void TestCommands::save()
{
    QFETCH(bool, autosave);
    QFETCH(QString, inUse);
    QFETCH(int, shown);
    QFETCH(QString, answers);
    QFETCH(QStringList, fileNames);
    QFETCH(QStringList, conversation);
    QFETCH(QString, written);
    QFETCH(bool, appended);
    QFETCH(int, countAfter);

    Desk desk;
    desk.useFile(inUse, autosave);
    QVERIFY(writeBytes(desk.path(QStringLiteral("Monday.txt")), kOldContent));
    desk.display(shown);
    const QByteArray saved = kSaveHeader + desk.recordBytes();
    desk.script(answers, fileNames);

    desk.commands.save();

    QCOMPARE(desk.conversation(), conversation);
    desk.checkDialogs(int(fileNames.size()));
    QCOMPARE(desk.prompts.unscripted, 0);
    QCOMPARE(desk.state.intRecordCount(), countAfter);
    QCOMPARE(fileOrAbsent(desk, QStringLiteral("Monday.txt")),
             written == QLatin1String("Monday.txt") ? (appended ? kOldContent + saved : saved) : kOldContent);
    if (!written.isEmpty() && written != QLatin1String("Monday.txt"))
        QCOMPARE(fileOrAbsent(desk, written), saved);
    // Save never changes the file in use.
    if (fileNames.isEmpty())
        QCOMPARE(desk.state.strAutosaveFile, desk.path(inUse));
}

void TestCommands::saveAs_data()
{
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<bool>("clearCheckBefore");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("conversation");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("countAfter");
    QTest::addColumn<bool>("clearCheckAfter");

    QTest::newRow("new file") << false << false << 2 << "" << "Weekly report.txt" << QStringList() << "Weekly report"
                              << 2 << false;
    QTest::newRow("existing file replaced without asking")
        << false << false << 2 << "" << "Monday.txt" << QStringList() << "Monday" << 2 << false;
    QTest::newRow("40-character name: 30-character title")
        << false << false << 1 << "" << "abcdefghij0123456789ABCDEFGHIJklmnopqrst.txt" << QStringList()
        << "abcdefghij0123456789ABCDEFGHIJ" << 1 << false;
    QTest::newRow("cleared by autosave on: offered, Yes")
        << false << true << 2 << "Y" << "Report.txt" << QStringList{kClearDisplay} << "Report" << 0 << false;
    QTest::newRow("cleared by autosave on: offered, No")
        << false << true << 2 << "N" << "Report.txt" << QStringList{kClearDisplay} << "Report" << 2 << true;
    QTest::newRow("cleared by autosave on, empty display: not offered")
        << false << true << 0 << "" << "Report.txt" << QStringList() << "Report" << 0 << true;
    QTest::newRow("cancelled: nothing at all") << false << false << 2 << "" << "" << QStringList() << "" << 2 << false;
    QTest::newRow("cancelled with the flag set: nothing at all")
        << false << true << 2 << "" << "" << QStringList() << "" << 2 << true;
    QTest::newRow("autosave on: refused") << true << false << 2 << "" << "-" << QStringList{kSaveAsRefusal} << ""
                                          << 2 << false;
}

void TestCommands::saveAs()
{
    QFETCH(bool, autosave);
    QFETCH(bool, clearCheckBefore);
    QFETCH(int, shown);
    QFETCH(QString, answers);
    QFETCH(QString, fileName);
    QFETCH(QStringList, conversation);
    QFETCH(QString, title);
    QFETCH(int, countAfter);
    QFETCH(bool, clearCheckAfter);

    Desk desk;
    desk.useFile(QStringLiteral("Monday.txt"), autosave);
    QVERIFY(writeBytes(desk.path(QStringLiteral("Monday.txt")), kOldContent));
    desk.state.strListTitle = QStringLiteral("Quorvel Gatetally");
    desk.clearCheck = clearCheckBefore;
    desk.display(shown);
    const QByteArray saved = kSaveHeader + desk.recordBytes();
    const QByteArray setupBefore = readBytes(setupFilePath(desk.state.dataDir));
    const bool chosen = !fileName.isEmpty() && fileName != QLatin1String("-");
    desk.script(answers, fileName == QLatin1String("-") ? QStringList() : QStringList{fileName});
    QSignalSpy header(&desk.commands, &MainCommands::headerChanged);

    desk.commands.saveAs();

    QCOMPARE(desk.conversation(), conversation);
    desk.checkDialogs(fileName == QLatin1String("-") ? 0 : 1);
    QCOMPARE(desk.prompts.unscripted, 0);
    QCOMPARE(desk.state.intRecordCount(), countAfter);
    QCOMPARE(desk.clearCheck, clearCheckAfter);
    if (chosen) {
        QCOMPARE(readBytes(desk.path(fileName)), saved);
        QCOMPARE(desk.state.strAutosaveFile, desk.path(fileName));
        QCOMPARE(desk.state.strListTitle, title);
        QCOMPARE(header.count(), 1);
        const QStringList setup = desk.setupLines();
        QCOMPARE(setup.size(), 103);
        QCOMPARE(setup.at(1), QStringLiteral("autosave=F"));
        QCOMPARE(setup.at(2), desk.path(fileName));
    } else {
        QCOMPARE(desk.state.strAutosaveFile, desk.path(QStringLiteral("Monday.txt")));
        QCOMPARE(desk.state.strListTitle, QStringLiteral("Quorvel Gatetally"));
        QCOMPARE(header.count(), 0);
        QCOMPARE(readBytes(setupFilePath(desk.state.dataDir)), setupBefore);
        QCOMPARE(QDir(desk.records()).entryList(QDir::Files), QStringList{QStringLiteral("Monday.txt")});
    }
    if (fileName != QLatin1String("Monday.txt"))
        QCOMPARE(readBytes(desk.path(QStringLiteral("Monday.txt"))), kOldContent);
}

void TestCommands::savesReceiverRecordLines()
{
    // Names shown: two entry points share one, another has an empty one, and
    // one row is the receiver's incorrect-data line. The file must carry the
    // numbers the panel sent, whatever the display shows.
    Desk desk;
    desk.state.strEntryNames[0] = QStringLiteral("Door");
    desk.state.strEntryNames[1] = QStringLiteral("Door");
    desk.state.strEntryNames[2] = QString();
    desk.state.strDisplayMode = QStringLiteral("Name");
    const QStringList messages{QStringLiteral("1 V 123 004567"), QStringLiteral("2 N 045 000012"),
                               QStringLiteral("3 F 999 123456")};
    for (const QString &m : messages) {
        const QString line = buildRecordLine(m, kTuesday);
        desk.state.strRecords.append(line, MakeDisplayLine(line, QStringLiteral("Name"), desk.state.strEntryNames));
    }
    const QString shortLine = buildRecordLine(QStringLiteral("2 V 1"), kTuesday);
    desk.state.strRecords.append(shortLine, incorrectDataLine(shortLine));
    QVERIFY(desk.state.strRecords.displayLines().at(1).contains(QStringLiteral("Door")));
    desk.useFile(QStringLiteral("Names.txt"), false);
    desk.script(QStringLiteral("YN"), {});

    desk.commands.save();

    QCOMPARE(readBytes(desk.path(QStringLiteral("Names.txt"))),
             kSaveHeader
                 + crlf({"  3/7/2006    1:05:09 PM    1    VALID        123    004567",
                         "  3/7/2006    1:05:09 PM    2    NOT VALID    045    000012",
                         "  3/7/2006    1:05:09 PM    3    OFF          999    123456",
                         "  3/7/2006    1:05:09 PM    2    VALID        1    2 V 1"}));
}

void TestCommands::writeFailure_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("Save, Yes, to /dev/full") << "save" << "@full" << "Y" << "full.txt";
    QTest::newRow("Save, No, to /dev/full") << "save" << "@full" << "N" << "full.txt";
    QTest::newRow("Save As, cannot create") << "saveAs" << "@under" << "" << "x.txt";
    QTest::newRow("Save As, to /dev/full") << "saveAs" << "@full" << "" << "full.txt";
    QTest::newRow("Save As, read-only folder") << "saveAs" << "@readonly" << "" << "locked/x.txt";
    QTest::newRow("autosave on, new file cannot be created") << "on" << "@under" << "Y" << "x.txt";
    QTest::newRow("autosave on, kept file on /dev/full") << "on" << "@full" << "N" << "full.txt";
    QTest::newRow("autosave off, /dev/full") << "off" << "@full" << "" << "full.txt";
    QTest::newRow("Exit, /dev/full") << "exit" << "@full" << "Y" << "full.txt";
}

void TestCommands::writeFailure()
{
    QFETCH(QString, command);
    QFETCH(QString, target);
    QFETCH(QString, answers);
    QFETCH(QString, fileName);

    if (target == QLatin1String("@readonly") && ::geteuid() == 0)
        QSKIP("a read-only folder does not stop the superuser");

    Desk desk;
    // Only Save and Save As have a display to protect; the others start empty
    // so that no clearing question comes first.
    const bool saving = command.startsWith(QLatin1String("save"));
    if (saving)
        desk.display(2);
    const bool chooses = command == QLatin1String("saveAs") || (command == QLatin1String("on") && target == QLatin1String("@under"));
    if (chooses)
        desk.useFile(QStringLiteral("Monday.txt"), false);
    else
        desk.useFile(target, command != QLatin1String("save") && command != QLatin1String("on"));
    desk.script(answers + QStringLiteral("N"), chooses ? QStringList{target} : QStringList());
    const QByteArray setupBefore = readBytes(setupFilePath(desk.state.dataDir));
    const QString fileBefore = desk.state.strAutosaveFile;

    if (command == QLatin1String("save"))
        desk.commands.save();
    else if (command == QLatin1String("saveAs"))
        desk.commands.saveAs();
    else if (command == QLatin1String("on"))
        desk.commands.turnAutosaveOn();
    else if (command == QLatin1String("off"))
        desk.commands.turnAutosaveOff();
    else
        desk.commands.exit();

    // Told once, plainly, with the file's name and the system's reason, and
    // never asked to clear a display that was not saved.
    QStringList failures;
    for (const ScriptedPrompts::Shown &s : desk.prompts.shown) {
        if (s.text.startsWith(QStringLiteral("The records file ")))
            failures.append(describe(s));
    }
    QCOMPARE(failures.size(), 1);
    const QString prefix = QStringLiteral("Gatetally|!|OK|The records file %1 could not be written:\r\n").arg(fileName);
    QVERIFY2(failures.at(0).startsWith(prefix), qPrintable(failures.at(0)));
    QVERIFY(failures.at(0).size() > prefix.size());
    QVERIFY(!desk.conversation().contains(kClearDisplay));
    QCOMPARE(desk.state.intRecordCount(), saving ? 2 : 0);

    if (command == QLatin1String("saveAs")) {
        QCOMPARE(desk.state.strAutosaveFile, fileBefore);
        QCOMPARE(readBytes(setupFilePath(desk.state.dataDir)), setupBefore);
    }
    if (command == QLatin1String("on"))
        QVERIFY(desk.state.blnAutosave);
    if (command == QLatin1String("off"))
        QVERIFY(!desk.state.blnAutosave);
    if (command == QLatin1String("exit"))
        QCOMPARE(desk.events, (QStringList{QStringLiteral("port closed"), QStringLiteral("exit timer")}));
    else
        QVERIFY(desk.events.isEmpty());
}

void TestCommands::clear_data()
{
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("conversation");
    QTest::addColumn<int>("countAfter");

    QTest::newRow("autosave on: at once") << true << 3 << "" << QStringList() << 0;
    QTest::newRow("autosave off, Yes") << false << 3 << "Y" << QStringList{kClearQuestion} << 0;
    QTest::newRow("autosave off, No") << false << 3 << "N" << QStringList{kClearQuestion} << 3;
    QTest::newRow("autosave off, empty display still asks") << false << 0 << "N" << QStringList{kClearQuestion} << 0;
}

void TestCommands::clear()
{
    QFETCH(bool, autosave);
    QFETCH(int, shown);
    QFETCH(QString, answers);
    QFETCH(QStringList, conversation);
    QFETCH(int, countAfter);

    Desk desk;
    desk.useFile(QStringLiteral("Monday.txt"), autosave);
    QVERIFY(writeBytes(desk.path(QStringLiteral("Monday.txt")), kOldContent));
    desk.display(shown);
    desk.clearCheck = true;
    desk.state.blnAutosaveFull = true;
    const QByteArray setupBefore = readBytes(setupFilePath(desk.state.dataDir));
    const QStringList linesBefore = desk.state.strRecords.recordLines();
    desk.script(answers, {});
    QSignalSpy emptied(&desk.state.strRecords, &DisplayStore::emptied);

    desk.commands.clear();

    QCOMPARE(desk.conversation(), conversation);
    QCOMPARE(desk.state.intRecordCount(), countAfter);
    const bool cleared = autosave || answers == QLatin1String("Y");
    QCOMPARE(desk.state.strRecords.recordLines(), cleared ? QStringList() : linesBefore);
    QCOMPARE(emptied.count(), cleared ? 1 : 0);
    QVERIFY(desk.clearCheck);
    QVERIFY(desk.state.blnAutosaveFull);
    QCOMPARE(desk.state.blnAutosave, autosave);
    QCOMPARE(readBytes(setupFilePath(desk.state.dataDir)), setupBefore);
    QCOMPARE(readBytes(desk.path(QStringLiteral("Monday.txt"))), kOldContent);
}

void TestCommands::exit_data()
{
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("conversation");
    QTest::addColumn<QByteArray>("mondayAfter");
    QTest::addColumn<QStringList>("events");

    const QStringList ends{QStringLiteral("port closed"), QStringLiteral("exit timer")};
    QTest::newRow("autosave on, Yes: exit marker") << true << "Y" << QStringList{kExitOn} << kOldContent + kExitMarker
                                                   << ends;
    QTest::newRow("autosave on, No") << true << "N" << QStringList{kExitOn} << kOldContent << QStringList();
    QTest::newRow("autosave off, Yes: nothing written") << false << "Y" << QStringList{kExitOff} << kOldContent << ends;
    QTest::newRow("autosave off, No") << false << "N" << QStringList{kExitOff} << kOldContent << QStringList();
}

void TestCommands::exit()
{
    QFETCH(bool, autosave);
    QFETCH(QString, answers);
    QFETCH(QStringList, conversation);
    QFETCH(QByteArray, mondayAfter);
    QFETCH(QStringList, events);

    Desk desk;
    desk.useFile(QStringLiteral("Monday.txt"), autosave);
    QVERIFY(writeBytes(desk.path(QStringLiteral("Monday.txt")), kOldContent));
    desk.display(2);
    const QByteArray setupBefore = readBytes(setupFilePath(desk.state.dataDir));
    desk.script(answers, {});

    desk.commands.exit();

    QCOMPARE(desk.conversation(), conversation);
    QCOMPARE(readBytes(desk.path(QStringLiteral("Monday.txt"))), mondayAfter);
    QCOMPARE(desk.events, events);
    QCOMPARE(desk.commands.isExiting(), !events.isEmpty());
    QCOMPARE(readBytes(setupFilePath(desk.state.dataDir)), setupBefore);
    QCOMPARE(QDir(desk.records()).entryList(QDir::Files), QStringList{QStringLiteral("Monday.txt")});
    QCOMPARE(desk.state.intRecordCount(), 2);

    // Once confirmed, another request (the close control again) neither asks
    // nor marks a second time; before that, it asks again.
    desk.prompts.reset();
    desk.prompts.answers = {Prompts::No};
    desk.commands.exit();
    QCOMPARE(desk.prompts.shown.size(), events.isEmpty() ? 1 : 0);
    QCOMPARE(readBytes(desk.path(QStringLiteral("Monday.txt"))), mondayAfter);

    // Without a port the program still ends.
    Desk portless;
    portless.commands.closePort = nullptr;
    portless.script(answers, {});
    portless.commands.exit();
    QCOMPARE(portless.events, events.isEmpty() ? QStringList() : QStringList{QStringLiteral("exit timer")});
}

void TestCommands::workingWeek()
{
    Desk desk;
    auto receive = [&desk](const QString &message) {
        QVERIFY(appendTextLines(desk.state.strAutosaveFile, {buildRecordLine(message, desk.state.clock.now())}));
    };

    // Monday morning: autosave turned on to a new file; two records.
    desk.state.clock.setFixed(QDateTime(QDate(2006, 3, 6), QTime(8, 0, 5)));
    desk.script(QString(), {QStringLiteral("Week.txt")});
    desk.commands.turnAutosaveOn();
    desk.state.clock.advance(60);
    receive(QStringLiteral("1 V 123 004567"));
    desk.state.clock.advance(3600 * 4);
    receive(QStringLiteral("2 N 045 000012"));
    // Monday evening: Exit.
    desk.state.clock.setFixed(QDateTime(QDate(2006, 3, 6), QTime(17, 30, 0)));
    desk.script(QStringLiteral("Y"), {});
    desk.commands.exit();

    // Tuesday: the next start marks the file, a record, autosave off, then on
    // again for the same file.
    GatetallyState tuesday(desk.state.dataDir);
    tuesday.clock.setFixed(QDateTime(QDate(2006, 3, 7), QTime(7, 59, 59)));
    QVERIFY(signOnLoad(tuesday).problem.isEmpty());
    QVERIFY(tuesday.blnAutosave);
    ScriptedPrompts prompts;
    bool clearCheck = false;
    MainCommands commands(tuesday, prompts, clearCheck);
    tuesday.clock.setFixed(QDateTime(QDate(2006, 3, 7), QTime(10, 9, 8)));
    QVERIFY(appendTextLines(tuesday.strAutosaveFile, {buildRecordLine(QStringLiteral("3 F 999 123456"), tuesday.clock.now())}));
    tuesday.clock.setFixed(QDateTime(QDate(2006, 3, 7), QTime(12, 0, 0)));
    commands.turnAutosaveOff();
    tuesday.clock.setFixed(QDateTime(QDate(2006, 3, 7), QTime(13, 5, 9)));
    prompts.answers = {Prompts::No};
    commands.turnAutosaveOn();
    QCOMPARE(prompts.unscripted, 0);

    QCOMPARE(readBytes(desk.path(QStringLiteral("Week.txt"))),
             crlf({"",
                   " Autosave started 3/6/2006, 8:00:05 AM",
                   "",
                   kColumns,
                   "",
                   "  3/6/2006    8:01:05 AM    1    VALID        123    004567",
                   "  3/6/2006   12:01:05 PM    2    NOT VALID    045    000012",
                   "",
                   " Possible interruption in records",
                   " Software was exited 3/6/2006, 5:30:00 PM",
                   "",
                   " Autosave started 3/7/2006, 7:59:59 AM",
                   "",
                   "  3/7/2006   10:09:08 AM    3    OFF          999    123456",
                   "",
                   " Possible interruption in records",
                   " Autosave was disabled 3/7/2006, 12:00:00 PM",
                   "",
                   " Autosave started 3/7/2006  1:05:09 PM",
                   ""}));
}

namespace {

// The main screen with its commands attached, as the program wires it.
struct Screen
{
    Desk desk;
    Navigator navigator;
    MainScreen screen{desk.state, desk.prompts, navigator};
    MainCommands *commands = new MainCommands(desk.state, desk.prompts, screen.blnClearCheck, &screen);

    Screen()
    {
        // Records whether the port was closed before the exit timer ran.
        commands->closePort = [this] {
            desk.events << (screen.Timer1->isActive() ? QStringLiteral("port closed late") : QStringLiteral("port closed"));
        };
        screen.attachCommands(commands);
        screen.show();
    }

    void trigger(const char *name)
    {
        QAction *a = screen.action(QLatin1String(name));
        QVERIFY2(a, name);
        QVERIFY2(a->isEnabled(), name);
        a->trigger();
    }
};

} // namespace

void TestCommands::screenAutosaveButtons()
{
    Screen s;
    QVERIFY(QTest::qWaitForWindowExposed(&s.screen));
    QVERIFY(s.screen.optOff->isChecked());
    QCOMPARE(s.screen.lblMainHeader->text(), QStringLiteral("Quorvel Gatetally"));

    // Cancelled: "Off" is selected again and the header stays.
    s.desk.script(QString(), {QString()});
    QTest::mouseClick(s.screen.optOn, Qt::LeftButton);
    QVERIFY(s.screen.optOff->isChecked());
    QVERIFY(!s.screen.optOn->isChecked());
    QVERIFY(!s.desk.state.blnAutosave);
    QCOMPARE(s.screen.lblMainHeader->text(), QStringLiteral("Quorvel Gatetally"));

    // Chosen: on, the header names the file.
    s.desk.display(4);
    QCOMPARE(s.screen.txtNumber->text(), QStringLiteral("4"));
    s.desk.script(QStringLiteral("Y"), {QStringLiteral("Shift.txt")});
    QTest::mouseClick(s.screen.optOn, Qt::LeftButton);
    QVERIFY(s.screen.optOn->isChecked());
    QVERIFY(s.desk.state.blnAutosave);
    QCOMPARE(s.screen.lblMainHeader->text(), s.desk.path(QStringLiteral("Shift.txt")));
    QCOMPARE(s.screen.txtNumber->text(), QStringLiteral("0"));
    QVERIFY(s.screen.blnClearCheck);
    QCOMPARE(readBytes(s.desk.path(QStringLiteral("Shift.txt"))), kAutosaveHeader);

    s.desk.prompts.reset();
    QTest::mouseClick(s.screen.optOff, Qt::LeftButton);
    QVERIFY(s.screen.optOff->isChecked());
    QVERIFY(!s.desk.state.blnAutosave);
    QVERIFY(s.desk.prompts.shown.isEmpty());
    QCOMPARE(readBytes(s.desk.path(QStringLiteral("Shift.txt"))), kAutosaveHeader + kStopMarker);
}

void TestCommands::screenCommands_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("conversation");
    QTest::addColumn<QString>("countAfter");

    QTest::newRow("cmdClear") << "cmdClear" << false << "Y" << QStringList{kClearQuestion} << "0";
    QTest::newRow("mnuEditDelete, No") << "mnuEditDelete" << false << "N" << QStringList{kClearQuestion} << "3";
    QTest::newRow("mnuFileSave") << "mnuFileSave" << false << "YY" << QStringList{kOverwrite, kClearDisplay} << "0";
    QTest::newRow("mnuFileSaveAs, autosave on") << "mnuFileSaveAs" << true << "" << QStringList{kSaveAsRefusal} << "3";
    QTest::newRow("cmdExit, No") << "cmdExit" << false << "N" << QStringList{kExitOff} << "3";
    QTest::newRow("mnuFileExit, No") << "mnuFileExit" << true << "N" << QStringList{kExitOn} << "3";
    QTest::newRow("close control, No") << "close" << true << "N" << QStringList{kExitOn} << "3";
}

void TestCommands::screenCommands()
{
    QFETCH(QString, control);
    QFETCH(bool, autosave);
    QFETCH(QString, answers);
    QFETCH(QStringList, conversation);
    QFETCH(QString, countAfter);

    Screen s;
    s.desk.useFile(QStringLiteral("Monday.txt"), autosave);
    s.screen.showAutosaveState();
    s.desk.display(3);
    s.desk.script(answers, {});

    if (control.startsWith(QLatin1String("cmd"))) {
        auto *button = s.screen.findChild<QPushButton *>(control);
        QVERIFY(button && button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (control == QLatin1String("close")) {
        s.screen.close();
        QVERIFY(s.screen.isVisible());
    } else {
        s.trigger(control.toLatin1().constData());
    }

    QCOMPARE(s.desk.conversation(), conversation);
    QCOMPARE(s.screen.txtNumber->text(), countAfter);
    QVERIFY(!s.screen.Timer1->isActive());
    QVERIFY(s.desk.events.isEmpty());
}

void TestCommands::screenExitEndsThroughTimer()
{
    Screen s;
    s.desk.useFile(QStringLiteral("Monday.txt"), true);
    s.screen.showAutosaveState();
    QSignalSpy ticked(&s.screen, &MainScreen::exitTimerTicked);
    s.desk.script(QStringLiteral("Y"), {});

    s.screen.close(); // the window's close control runs Exit

    QCOMPARE(s.desk.conversation(), QStringList{kExitOn});
    QCOMPARE(s.desk.events, QStringList{QStringLiteral("port closed")});
    QVERIFY(s.screen.Timer1->isActive());
    QCOMPARE(s.screen.Timer1->interval(), 100);
    QCOMPARE(readBytes(s.desk.path(QStringLiteral("Monday.txt"))), kExitMarker);
    QVERIFY(ticked.wait(2000));
    QCOMPARE(ticked.count(), 1);
}

void TestCommands::programExitClosesPort()
{
    // The whole program, listening to its built-in simulated panel.
    QTemporaryDir tmp;
    Options options;
    options.dataDir = tmp.path();
    options.demo = true;
    ScriptedPrompts prompts;
    GatetallyApp app(options, prompts);
    app.start();
    app.showMainScreen();
    MainScreen *main = app.mainScreen();
    QVERIFY(app.receiver() && app.receiver()->isPortOpen());
    QSignalSpy finished(&app, &GatetallyApp::finished);

    prompts.answers = {Prompts::No};
    QTest::mouseClick(main->cmdExit, Qt::LeftButton);
    QVERIFY(app.receiver()->isPortOpen());
    QVERIFY(!main->Timer1->isActive());

    prompts.answers = {Prompts::Yes};
    main->action(QStringLiteral("mnuFileExit"))->trigger();
    QCOMPARE(prompts.texts().size(), 2);
    QVERIFY(!app.receiver()->isPortOpen());
    QVERIFY(main->Timer1->isActive());
    QCOMPARE(finished.count(), 0);
    QVERIFY(finished.wait(2000));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
