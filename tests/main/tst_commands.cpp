#include "FileSizeLimit.h"
#include "GatetallyApp.h"
#include "MainCommands.h"
#include "Navigator.h"
#include "Screens.h"
#include "Paths.h"
#include "PortLink.h"
#include "Receiver.h"
#include "RecordLine.h"
#include "ScriptedPrompts.h"
#include "Settings.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QtTest>
#include <QtWidgets>
#include <cerrno>
#include <optional>

using namespace gt;
using gt::test::crlf;
using gt::test::readBytes;
using gt::test::ScriptedPrompts;
using gt::test::writeBytes;

namespace {

const QDateTime kTuesday(QDate(2006, 3, 7), QTime(13, 5, 9));
const QByteArray kColumns("    DATE         TIME     ENTRY   STATUS     CODE    NUMBER");
const QByteArray kAutosaveHeader = crlf({"", " Autosave started 3/7/2006, 1:05:09 PM", "", kColumns, ""});
const QByteArray kResume = crlf({"", " Autosave started 3/7/2006  1:05:09 PM", ""});
const QByteArray kStop = crlf({"", " Possible interruption in records", " Autosave was disabled 3/7/2006, 1:05:09 PM"});
const QByteArray kExitMarker =
    crlf({"", " Possible interruption in records", " Software was exited 3/7/2006, 1:05:09 PM", ""});
const QByteArray kSaveHeader = crlf({"", " Saved 3/7/2006", "", kColumns, ""});
const QByteArray kOld = crlf({"", " Saved 3/6/2006", "", kColumns, "", "an earlier line"});

// The receiver's record lines of the rows on display; the last one came from
// a message too short to read and is shown as an incorrect-data row.
const QList<QByteArray> kRows{"  3/7/2006    1:05:09 PM    1    VALID        123    004567",
                              "  3/7/2006    1:05:09 PM    2    NOT VALID    045    000012",
                              "  3/7/2006    1:05:09 PM    3    OFF          999    123456",
                              "  3/7/2006    1:05:09 PM    2    VALID        1    2 V 1"};
QByteArray saved(int rows) { return kSaveHeader + crlf(kRows.mid(0, rows)); }

const QString kClearDisplay = QStringLiteral("Gatetally|-|YN|Would you like to clear the display?");
QString different(const char *name)
{
    return QStringLiteral("Gatetally|-|YN|Autosave was previously saving records to %1.\r\n"
                          "Would you like to start saving records to a different file?").arg(QLatin1String(name));
}
// A records file that could not be written, with the system's reason.
QString failed(const char *name, int error)
{
    return QStringLiteral("Gatetally|!|OK|The records file %1 could not be written:\r\n%2")
        .arg(QLatin1String(name), qt_error_string(error));
}
const QString kOverwrite = QStringLiteral("Existing File|?|YNC|Do you want to overwrite the existing file? ");
const QString kSaveRefusal = QStringLiteral(
    "Gatetally|-|OK|Autosave is currently on. To manually save these records, autosave should be turned off.");
const QString kSaveAsRefusal = QStringLiteral(
    "Gatetally|-|OK|Autosave is currently on. To manually save these records\r\nautosave should be turned off.");
const QString kClearQuestion =
    QStringLiteral("Gatetally|-|YN|   This will permanently erase\r\nany unsaved records. Continue?");
const QString kExitOn = QStringLiteral("Gatetally|-|YN|Autosave is currently on. Exiting now will stop the\r\n"
                                       "Quorvel Gatetally from saving any more records.\r\n"
                                       "Are you sure you want to exit?");
const QString kExitOff = QStringLiteral(
    "Gatetally|-|YN|Exiting will permanently erase any unsaved records.\r\nAre you sure you want to exit?");
const QString kStaysOff = QStringLiteral("\r\n\r\nAutosave stays off.");
const QString kLatin1 = QStringLiteral("Gatetally|!|OK|The name %1 cannot be used.\r\n"
                                       "setup.txt keeps the records file's name in 8-bit (Latin-1) characters, and this\r\n"
                                       "name has characters outside them. Nothing was written; please choose another name.");
const QStringList kEnds{QStringLiteral("port closed"), QStringLiteral("exit timer")};

// One command given on the main screen (the objectName of its control, or
// "close" for the window's close control): the state before (rows shown, -1:
// the display full), the operator's answers (Y, N, C) and file names, and
// what must hold afterwards. Records may arrive from the line before the
// command and while the prompts listed in `during` are open (prompt n brings
// the message "5 V 10n 00000n"); the display is then compared whole.
struct Case
{
    QString control, inUse;
    bool autosave, full, clearCheck;
    int shown;
    QString answers;
    QStringList fileNames, conversation;
    bool autosaveAfter;
    QString fileAfter;
    QByteArray bytes; // of fileAfter; every other records file keeps its bytes
    int countAfter;
    bool clearCheckAfter;
    QString title = {}; // the list title afterwards; empty: the program's own
    QByteArray before = {}; // received before the command
    QList<int> during = {};
    QList<QByteArray> display = {}; // record lines afterwards
    int sizeLimit = 0; // bytes a file may grow to during the command, as on a nearly full disk
};

// A data folder with the default settings, Monday.txt and Tuesday.txt holding
// an earlier save, a pinned clock, and the main screen with its commands.
struct Desk
{
    QTemporaryDir tmp;
    GatetallyState state{tmp.path()};
    ScriptedPrompts prompts;
    Navigator navigator;
    AppScreenFlow flow{state, prompts, navigator};
    MainScreen screen{state, prompts, flow};
    MainCommands &commands = *screen.commands();
    QStringList events;

    Desk()
    {
        loadSettings(state);
        state.clock.setFixed(kTuesday);
        // Shows whether the port was closed before the exit timer started.
        commands.closePort = [this] { events << (screen.Timer1->isActive() ? "port closed late" : "port closed"); };
        QObject::connect(&commands, &MainCommands::exitConfirmed, [this] { events << QStringLiteral("exit timer"); });
        for (const char *name : {"Monday.txt", "Tuesday.txt"})
            writeBytes(path(name), kOld);
    }

    // A file of the Records folder, "default", or where nothing can be written:
    // "@full" links to /dev/full, "@under" lies below a plain file.
    QString path(const QString &token)
    {
        const QDir records(recordsDirPath(state.dataDir));
        if (token.trimmed().isEmpty())
            return token;
        if (token == "default")
            return defaultAutosaveFile(state.dataDir);
        if (token == "@full") {
            QFile::link("/dev/full", records.filePath("full.txt"));
            return records.filePath("full.txt");
        }
        if (token == "@under") {
            writeBytes(QDir(state.dataDir).filePath("plain.txt"), "plain\r\n");
            return QDir(state.dataDir).filePath("plain.txt/x.txt");
        }
        return QDir::toNativeSeparators(records.filePath(token));
    }

    // The records file in use and the autosave state, as a start-up finds them.
    void useFile(const QString &token, bool autosave)
    {
        state.strAutosaveFile = path(token);
        state.blnAutosave = autosave;
        QVERIFY(rewriteSettings(state, SettingsChange{std::nullopt, autosave, state.strAutosaveFile}));
        screen.load();
    }

    void script(const QString &answers, const QStringList &fileNames)
    {
        for (QChar c : answers)
            prompts.answers << (c == 'Y' ? Prompts::Yes : c == 'N' ? Prompts::No : Prompts::Cancel);
        for (const QString &name : fileNames)
            prompts.fileNames << path(name);
    }

    // Rows shown with names: entry points 1 and 2 share one, 3 has none.
    void display(int rows)
    {
        state.strDisplayMode = DisplayMode::Name;
        state.strEntryNames[0] = state.strEntryNames[1] = QStringLiteral("Door");
        state.strEntryNames[2].clear();
        for (int i = 0; i < rows; ++i) {
            const QString line = QString::fromLatin1(kRows.at(i));
            state.strRecords.append(line, i == 3 ? incorrectDataLine(line)
                                                 : MakeDisplayLine(line, DisplayMode::Name, state.strEntryNames));
        }
    }

    // Every prompt as "title|icon|buttons|text".
    QStringList conversation() const
    {
        const QMap<int, QString> buttons{{Prompts::Ok, "OK"}, {Prompts::Yes | Prompts::No, "YN"},
                                         {Prompts::Yes | Prompts::No | Prompts::Cancel, "YNC"}};
        QStringList out;
        for (const ScriptedPrompts::Shown &s : prompts.shown)
            out << s.title + '|' + "-i?!x"[int(s.icon)] + '|' + buttons.value(s.buttons, "?") + '|' + s.text;
        return out;
    }

    QStringList setupLines() const
    {
        QStringList lines;
        readTextLines(setupFilePath(state.dataDir), &lines);
        return lines;
    }

    // Every file of the Records folder, name and bytes (not the link to /dev/full).
    QByteArray records() const
    {
        QByteArray all;
        const QDir records(recordsDirPath(state.dataDir));
        for (const QFileInfo &f : records.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name))
            all += f.fileName().toLatin1() + ":\n" + readBytes(f.filePath()) + '\n';
        return all;
    }

    // The file in use with its bytes, every other file unchanged, the header
    // caption, setup.txt, every scripted answer used, every Save dialog alike.
    void check(const QString &inUse, const QByteArray &bytes, bool autosave)
    {
        QMap<QString, QByteArray> files{{"Monday.txt", kOld}, {"Tuesday.txt", kOld}};
        if (inUse != "default" && !inUse.startsWith('@'))
            files[inUse] = bytes;
        QByteArray expected;
        for (auto f = files.cbegin(); f != files.cend(); ++f)
            expected += f.key().toLatin1() + ":\n" + f.value() + '\n';
        QCOMPARE(records(), expected);
        QCOMPARE(state.strAutosaveFile, path(inUse));
        QCOMPARE(screen.lblMainHeader->text(), inUse == "default" ? QStringLiteral("Quorvel Gatetally") : path(inUse));
        const QStringList setup = setupLines();
        QCOMPARE(setup.size(), 103);
        QCOMPARE(setup.mid(0, 3), (QStringList{"CommPort=1", autosave ? "autosave=T" : "autosave=F", path(inUse)}));
        QCOMPARE(prompts.unscripted, 0);
        QVERIFY(prompts.answers.isEmpty() && prompts.fileNames.isEmpty());
        for (const Prompts::SaveDialog &d : prompts.dialogs)
            QCOMPARE(QStringList({d.filter, QString::number(d.filterIndex), d.initialFolder}),
                     QStringList({"Text documents (*.txt)|*.txt|", "1", recordsDirPath(state.dataDir)}));
    }
};

QByteArray arrivedMessage(int n) { return "5 V 10" + QByteArray::number(n) + " 00000" + QByteArray::number(n) + " \r"; }
QByteArray arrived(int n)
{
    return "  3/7/2006    1:05:09 PM    5    VALID        10" + QByteArray::number(n) + "    00000" + QByteArray::number(n);
}
const QByteArray kWaiting("  3/7/2006    1:05:09 PM    6    NOT VALID    106    000006");

} // namespace

Q_DECLARE_METATYPE(Case)

class TestCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<Case>("c");
        const auto row = [](const char *name, const Case &c) { QTest::newRow(name) << c; };
        const QString on("optOn"), off("optOff"), save("mnuFileSave"), saveAs("mnuFileSaveAs");
        const QString mon("Monday.txt"), tue("Tuesday.txt"), gone("Gone.txt"), def("default"), rep("Report.txt");
        const QString title("Report"), name40("abcdefghij0123456789ABCDEFGHIJklmnopqrst.txt");
        const QStringList none, both{kOverwrite, kClearDisplay}, toMon{mon}, toRep{rep}, cancel{""};
        const QString diffMon = different("Monday.txt"), full = failed("full.txt", ENOSPC);
        // control, in use, autosave, full, clearCheck, rows shown, answers, file names, conversation;
        // afterwards: autosave, file in use, its bytes, count, clearCheck (and title).
        row("on, no file yet: dialog at once, chosen file replaced by the header",
            {on, def, false, true, false, 0, "", toMon, none, true, mon, kAutosaveHeader, 0, false});
        row("on, records kept",
            {on, def, false, true, false, 3, "N", toMon, {kClearDisplay}, true, mon, kAutosaveHeader, 3, false});
        row("on, earlier file kept but gone: made with the resume marker",
            {on, gone, false, true, false, 0, "N", none, {different("Gone.txt")}, true, gone, kResume, 0, false});
        row("on, records and earlier file: both questions in order",
            {on, mon, false, true, false, 2, "YN", none, {kClearDisplay, diffMon}, true, mon, kOld + kResume, 0, true});
        row("on, dialog cancelled: stays off, nothing written",
            {on, def, false, true, false, 0, "", cancel, none, false, def, {}, 0, false});
        row("on, blank name: as cancelled",
            {on, def, false, true, false, 0, "", {"   "}, none, false, def, {}, 0, false});
        row("on, different file cancelled: earlier file not reused",
            {on, mon, false, true, false, 0, "Y", cancel, {diffMon}, false, mon, kOld, 0, false});
        row("on, already on: nothing", {on, mon, true, false, false, 2, "", none, none, true, mon, kOld, 2, false});
        row("off: stop marker appended",
            {off, mon, true, false, false, 2, "", none, none, false, mon, kOld + kStop, 2, false});
        row("off after the capacity message: new file holds the stop marker",
            {off, mon, true, true, false, 2, "", {"New.txt"}, none, false, "New.txt", kStop, 2, false});
        row("off after the capacity message, cancelled: current file kept",
            {off, mon, true, true, false, 2, "", cancel, none, false, mon, kOld + kStop, 2, false});
        row("off, already off: nothing",
            {off, mon, false, false, false, 2, "", none, none, false, mon, kOld, 2, false});
        row("Save, No: block appended, display cleared",
            {save, mon, false, false, false, 3, "NY", none, both, false, mon, kOld + saved(3), 0, false});
        row("Save, Cancel: nothing",
            {save, mon, false, false, false, 3, "C", none, {kOverwrite}, false, mon, kOld, 3, false});
        row("Save, empty display: header alone, no clearing question",
            {save, mon, false, false, false, 0, "Y", none, {kOverwrite}, false, mon, kSaveHeader, 0, false});
        row("Save, Yes: replaced by the receiver's lines (names shared and empty, incorrect data), display kept",
            {save, mon, false, false, false, 4, "YN", none, both, false, mon, saved(4), 4, false});
        row("Save, autosave on: refused",
            {save, mon, true, false, false, 3, "", none, {kSaveRefusal}, true, mon, kOld, 3, false});
        row("Save, no file chosen yet: as Save As",
            {save, def, false, false, false, 2, "", toRep, none, false, rep, saved(2), 2, false, title});
        row("Save As: existing file replaced without asking",
            {saveAs, tue, false, false, false, 2, "", toMon, none, false, mon, saved(2), 2, false, "Monday"});
        row("Save As: 40-character name, 30-character title",
            {saveAs, mon, false, false, false, 1, "", {name40}, none, false, name40, saved(1), 1, false,
             "abcdefghij0123456789ABCDEFGHIJ"});
        row("Save As after autosave on cleared: offered, No",
            {saveAs, mon, false, false, true, 2, "N", toRep, {kClearDisplay}, false, rep, saved(2), 2, true, title});
        row("Save As after autosave on cleared, empty display: not offered",
            {saveAs, mon, false, false, true, 0, "", toRep, none, false, rep, kSaveHeader, 0, true, title});
        row("Save As cancelled: nothing at all",
            {saveAs, mon, false, false, true, 2, "", cancel, none, false, mon, kOld, 2, true});
        row("Save As, autosave on: refused",
            {saveAs, mon, true, false, false, 2, "", none, {kSaveAsRefusal}, true, mon, kOld, 2, false});
        row("Clear, autosave on: at once",
            {"cmdClear", mon, true, true, true, 3, "", none, none, true, mon, kOld, 0, true});
        row("Clear, autosave off, Yes",
            {"cmdClear", mon, false, true, true, 3, "Y", none, {kClearQuestion}, false, mon, kOld, 0, true});
        row("Clear, autosave off, No",
            {"mnuEditDelete", mon, false, true, true, 3, "N", none, {kClearQuestion}, false, mon, kOld, 3, true});
        row("Clear, autosave off, empty display still asks",
            {"mnuEditDelete", mon, false, true, true, 0, "N", none, {kClearQuestion}, false, mon, kOld, 0, true});
        row("Exit, autosave on, Yes: the exit marker",
            {"close", mon, true, false, false, 2, "Y", none, {kExitOn}, true, mon, kOld + kExitMarker, 2, false});
        row("Exit, autosave on, No",
            {"mnuFileExit", mon, true, false, false, 2, "N", none, {kExitOn}, true, mon, kOld, 2, false});
        row("Exit, autosave off, Yes: nothing written",
            {"cmdExit", mon, false, false, false, 2, "Y", none, {kExitOff}, false, mon, kOld, 2, false});
        // Told with the file's name and the reason; nothing claimed as saved nor offered for clearing.
        row("Save, /dev/full",
            {save, "@full", false, false, false, 2, "Y", none, {kOverwrite, full}, false, "@full", {}, 2, false});
        row("Save, Yes, the disk fills up: the old file kept whole",
            {save, mon, false, false, false, 4, "Y", none, {kOverwrite, QStringLiteral(
             "Gatetally|!|OK|The records file Monday.txt could not be written:\r\n"
             "Only part of the data could be written (the disk may be full).")},
             false, mon, kOld, 4, false, {}, {}, {}, {}, 100});
        row("Save As, cannot create", {saveAs, mon, false, false, true, 2, "", {"@under"},
            {failed("x.txt", ENOTDIR)}, false, mon, kOld, 2, true});
        // No file behind it: autosave stays off and setup.txt as it was.
        row("on, new file cannot be created", {on, mon, false, false, false, 0, "Y", {"@under"},
            {diffMon, failed("x.txt", ENOTDIR) + kStaysOff}, false, mon, kOld, 0, false});
        row("on, kept file on /dev/full", {on, "@full", false, false, false, 0, "N", none,
            {different("full.txt"), full + kStaysOff}, false, "@full", {}, 0, false});
        row("Save As, a name setup.txt cannot hold: refused before writing", {saveAs, mon, false, false, false, 2,
            "", {"\u0416\u0443\u0440\u043d\u0430\u043b.txt"}, {kLatin1.arg(QString::fromUtf8("\u0416\u0443\u0440\u043d\u0430\u043b.txt"))},
            false, mon, kOld, 2, false});
        row("off, /dev/full", {off, "@full", true, false, false, 0, "", none, {full}, false, "@full", {}, 0, false});
        row("Exit, /dev/full: the program still ends",
            {"cmdExit", "@full", true, false, false, 0, "Y", none, {kExitOn, full}, true, "@full", {}, 0, false});
        const QByteArray six("6 N 106 000006 \r");
        const QString kNote = QStringLiteral("Gatetally|-|YN|1 record(s) could not be written to the records file "
                                             "full.txt.\r\nThey are on the display only: answer No to save them "
                                             "elsewhere first.\r\n\r\n") + kExitOn.mid(15);
        // Records arriving; then: what came before, during which prompts, the record lines on the display.
        row("Save, Yes, then a record while clearing is asked: it stays",
            {save, mon, false, false, false, 3, "YY", none, both, false, mon, saved(3), 1, false, {}, {}, {1},
             {arrived(1)}});
        row("Save As after autosave on cleared, a record while clearing is asked: it stays",
            {saveAs, mon, false, false, true, 2, "Y", toRep, {kClearDisplay}, false, rep, saved(2), 1, false, title, {},
             {1}, {arrived(1)}});
        row("on, clearing Yes, a record in the Save dialog, cancelled: nothing cleared, nothing written",
            {on, def, false, false, false, 3, "Y", cancel, {kClearDisplay}, false, def, {}, 4, false, {}, {}, {1},
             kRows.mid(0, 3) + QList<QByteArray>{arrived(1)}});
        row("on, clearing Yes, records during the questions: after the header of the new file only",
            {on, mon, false, false, false, 3, "YY", {tue}, {kClearDisplay, diffMon}, true, tue,
             kAutosaveHeader + crlf({arrived(0), arrived(2)}), 2, true, {}, {}, {0, 2}, {arrived(0), arrived(2)}});
        row("on, earlier file kept: a record during the question follows the resume marker",
            {on, mon, false, false, false, 0, "N", none, {diffMon}, true, mon, kOld + kResume + crlf({arrived(0)}), 1,
             false, {}, {}, {0}, {arrived(0)}});
        row("on with the display full and a record waiting: appended as it enters",
            {on, def, false, false, false, -1, "Y", toMon, {kClearDisplay}, true, mon,
             kAutosaveHeader + crlf({kWaiting}), 1, true, {}, six, {}, {kWaiting}});
        row("Clear, autosave off, Yes, a record while it is asked: it stays",
            {"cmdClear", mon, false, false, false, 3, "Y", none, {kClearQuestion}, false, mon, kOld, 1, false, {}, {},
             {0}, {arrived(0)}});
        row("Exit with a record that could not be written: the question says so",
            {"cmdExit", "@full", true, false, false, 0, "N", none, {full, kNote}, true, "@full", {}, 1, false, {}, six,
             {}, {kWaiting}});
    }

    void commands()
    {
        QFETCH(Case, c);
        Desk desk;
        desk.useFile(c.inUse, c.autosave);
        desk.state.blnAutosaveFull = c.full;
        desk.commands.blnClearCheck = c.clearCheck;
        if (c.shown < 0)
            desk.state.strRecords.appendMany(QStringList(kDisplayCapacity, "f"), QStringList(kDisplayCapacity, "f"));
        else
            desk.display(c.shown);
        auto *port = new MemoryPortLink;
        Receiver receiver(desk.state, desk.prompts, std::unique_ptr<PortLink>(port));
        QVERIFY(receiver.openPort());
        port->receive(c.before);
        QCoreApplication::processEvents();
        desk.script(c.answers, c.fileNames);
        desk.prompts.whileOpen = [&](int n) {
            if (c.during.contains(n))
                port->receive(arrivedMessage(n));
        };
        desk.screen.show();

        std::optional<test::FileSizeLimit> full;
        if (c.sizeLimit)
            full.emplace(c.sizeLimit);
        if (auto *button = desk.screen.findChild<QAbstractButton *>(c.control))
            QTest::mouseClick(button, Qt::LeftButton);
        else if (c.control == "close")
            QVERIFY(!desk.screen.close() && desk.screen.isVisible());
        else
            test::findAction(&desk.screen, c.control)->trigger();
        full.reset();
        QCoreApplication::processEvents();

        QCOMPARE(desk.conversation(), c.conversation);
        QCOMPARE(desk.state.blnAutosave, c.autosaveAfter);
        QCOMPARE(desk.screen.optOn->isChecked(), c.autosaveAfter);
        QCOMPARE(desk.state.blnAutosaveFull, !c.control.startsWith("opt") && c.full);
        // The count box follows every change, partial clearings included; where
        // records arrive during the command the rows are compared line by line below.
        QCOMPARE(desk.screen.txtNumber->text(), QString::number(desk.state.intRecordCount()));
        if (c.before.isEmpty() && c.during.isEmpty())
            QCOMPARE(desk.state.intRecordCount(), c.countAfter);
        QCOMPARE(desk.commands.blnClearCheck, c.clearCheckAfter);
        QCOMPARE(desk.state.strListTitle, c.title.isEmpty() ? "Quorvel Gatetally" : c.title);
        const bool ends = QStringList{kExitOn, kExitOff}.contains(c.conversation.value(0)) && c.answers == "Y";
        QCOMPARE(desk.events, ends ? kEnds : QStringList());
        QCOMPARE(desk.screen.Timer1->isActive(), ends);
        if (!c.before.isEmpty() || !c.during.isEmpty()) {
            QStringList display;
            for (const QByteArray &l : c.display)
                display << QString::fromLatin1(l);
            QCOMPARE(desk.state.strRecords.recordLines(), display);
        }
        desk.check(c.fileAfter, c.bytes, c.autosaveAfter);
    }

    // Rows kept on the display when autosave starts are in no file: Clear
    // asks about them even with autosave on. Records held while the display
    // is full are saved after its rows.
    void keptAndHeldRecords()
    {
        Desk desk;
        desk.useFile("default", false);
        auto *port = new MemoryPortLink;
        Receiver receiver(desk.state, desk.prompts, std::unique_ptr<PortLink>(port));
        QVERIFY(receiver.openPort());
        desk.display(2);
        desk.script("NY", {"Monday.txt"});
        desk.commands.turnAutosaveOn();
        desk.prompts.whileOpen = [&](int n) {
            if (n == 2)
                port->receive(arrivedMessage(n));
        };
        desk.commands.clear();
        QCOMPARE(desk.conversation(), (QStringList{kClearDisplay, kClearQuestion}));
        QCOMPARE(desk.state.strRecords.recordLines(), QStringList{QString::fromLatin1(arrived(2))});
        QCOMPARE(readBytes(desk.path("Monday.txt")), kAutosaveHeader + crlf({arrived(2)}));
        // Now every row is in the file: cleared at once.
        desk.commands.clear();
        QCOMPARE(desk.conversation().size(), 2);
        QCOMPARE(desk.state.intRecordCount(), 0);

        desk.script("Y", {"Full.txt"});
        desk.commands.turnAutosaveOff();
        desk.state.strRecords.appendMany(QStringList(kDisplayCapacity, "f"), QStringList(kDisplayCapacity, "f"));
        port->receive("6 N 106 000006 \r");
        desk.commands.saveAs();
        QCOMPARE(readBytes(desk.path("Full.txt")), kSaveHeader + crlf(QList<QByteArray>(kDisplayCapacity, "f")) + crlf({kWaiting}));
    }

    // The session ends while the Exit question is open: the run ends then,
    // and the answer that follows marks nothing a second time.
    void sessionEndsDuringTheExitQuestion()
    {
        Desk desk;
        desk.useFile("Monday.txt", true);
        desk.script("Y", {});
        desk.prompts.whileOpen = [&desk](int) { desk.commands.exitWithoutAsking(); };
        desk.commands.exit();
        QCOMPARE(readBytes(desk.path("Monday.txt")), kOld + kExitMarker);
        QCOMPARE(desk.events, kEnds);
    }

    void setupFileReread()
    {
        // setup.txt edited while the program runs names the file from the next
        // autosave command on; its line 1 survives the rewrite.
        Desk desk;
        desk.useFile("Monday.txt", false);
        QStringList setup = desk.setupLines();
        const auto edit = [&desk, &setup](const char *file) {
            setup[2] = desk.path(file);
            QVERIFY(writeBytes(setupFilePath(desk.state.dataDir), encodeTextLines(setup)));
        };
        setup[0] = "CommPort=7";
        edit("Edited.txt");
        desk.script("N", {});
        desk.commands.turnAutosaveOn();
        QCOMPARE(desk.conversation(), QStringList{different("Edited.txt")});
        QCOMPARE(readBytes(desk.path("Edited.txt")), kResume);
        setup[1] = "autosave=T";
        QCOMPARE(desk.setupLines(), setup);
        edit("Wednesday.txt");
        desk.commands.turnAutosaveOff();
        QCOMPARE(readBytes(desk.path("Wednesday.txt")), kStop);

        // A folder where setup.txt should be: memory is used, the failed rewrite is told.
        QVERIFY(QFile::remove(setupFilePath(desk.state.dataDir)) && QDir().mkpath(setupFilePath(desk.state.dataDir)));
        desk.prompts.reset();
        desk.script("N", {});
        desk.commands.turnAutosaveOn();
        QVERIFY(desk.state.blnAutosave);
        QCOMPARE(readBytes(desk.path("Wednesday.txt")), kStop + kResume);
        const QString told = QStringLiteral("Gatetally|!|OK|The settings file %1 could not be written:\r\n"
                                            "Filename refers to a directory").arg(setupFilePath(desk.state.dataDir));
        QCOMPARE(desk.conversation(), (QStringList{different("Wednesday.txt"), told}));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
