#include "FileSizeLimit.h"
#include "GatetallyApp.h"
#include "MainCommands.h"
#include "Navigator.h"
#include "Screens.h"
#include "Paths.h"
#include "PortLink.h"
#include "Receiver.h"
#include "RecordLine.h"
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
    return QStringLiteral("Gatetally|!|OK|The records file %1 could not be written:\r\n%2").arg(name, qt_error_string(error));
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
const QByteArray kWaiting("  3/7/2006    1:05:09 PM    6    NOT VALID    106    000006");
QByteArray arrivedMessage(int n) { return QString("5 V 10%1 00000%1 \r").arg(n).toLatin1(); }
QByteArray arrived(int n) { return QString("  3/7/2006    1:05:09 PM    5    VALID        10%1    00000%1").arg(n).toLatin1(); }

// Commands given on the main screen: the state before, the operator's answers,
// the boxes shown, what must hold afterwards. A record arrives before them when
// `waiting`, and while each prompt n of `during` is open ("5 V 10n 00000n").
struct Case
{
    QString inUse = "Monday.txt";  // records file in use (see Desk::path)
    bool autosave = false, full = false; // full: the capacity message was shown
    bool clearCheck = false;       // turning autosave on cleared the display
    int shown = 0;                 // rows on display; -1: the display full
    bool waiting = false;
    QString answers = {};          // Y, N, C to the questions in turn
    QStringList files = {};        // the Save dialogs' answers ("" cancels)
    QList<int> during = {};
    int sizeLimit = 0;             // bytes a file may grow to, as on a nearly full disk
    bool sessionEnds = false;      // while the first box is open
    QStringList asked = {};        // every box, as Desk::conversation gives it
    bool autosaveAfter = autosave;
    QString file = inUse;          // in use afterwards, holding `bytes`; every other file keeps its own
    QByteArray bytes = kOld;
    bool cleared = false;          // the rows shown before are gone
    bool clearCheckAfter = clearCheck;
    QString title = {};            // the list title afterwards; empty: the program's own
};

// The default settings, Monday.txt and Tuesday.txt holding an earlier save, a
// pinned clock, the main screen with its commands, the in-memory line.
struct Desk
{
    QTemporaryDir tmp;
    GatetallyState state{tmp.path()};
    ScriptedPrompts prompts;
    Navigator navigator;
    AppScreenFlow flow{state, prompts, navigator};
    MainScreen screen{state, prompts, flow};
    MainCommands &commands = *screen.commands();
    MemoryPortLink *port = new MemoryPortLink;
    Receiver receiver{state, prompts, std::unique_ptr<PortLink>(port)};
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
        QFile::link("/dev/full", path("full.txt"));
        writeBytes(QDir(state.dataDir).filePath("plain.txt"), "plain\r\n");
        receiver.openPort();
    }

    // A file of the Records folder, "default", or where nothing can be written:
    // "@full" links to /dev/full, "@under" lies below a plain file.
    QString path(const QString &token) const
    {
        if (token.trimmed().isEmpty() || token == "default")
            return token.trimmed().isEmpty() ? token : defaultAutosaveFile(state.dataDir);
        if (token == "@under")
            return QDir(state.dataDir).filePath("plain.txt/x.txt");
        return QDir::toNativeSeparators(QDir(recordsDirPath(state.dataDir)).filePath(token == "@full" ? "full.txt" : token));
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
    // -1 fills the display.
    void display(int rows)
    {
        if (rows < 0)
            state.strRecords.appendMany(QStringList(kDisplayCapacity, "f"), QStringList(kDisplayCapacity, "f"));
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

    QStringList setupLines() const { QStringList l; readTextLines(setupFilePath(state.dataDir), &l); return l; }
};

} // namespace

Q_DECLARE_METATYPE(Case)

class TestCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<Case>("c");
        const auto row = [](const char *name, const QStringList &controls, const Case &c) {
            QTest::newRow(name) << controls << c;
        };
        const QString on("optOn"), off("optOff"), save("mnuFileSave"), saveAs("mnuFileSaveAs"), clear("cmdClear");
        const QString mon("Monday.txt"), tue("Tuesday.txt"), def("default"), rep("Report.txt"), exit("cmdExit");
        const QString cyrillic = QString::fromUtf8("\u0416\u0443\u0440\u043d\u0430\u043b.txt");
        const QStringList both{kOverwrite, kClearDisplay};
        const QString diffMon = different("Monday.txt"), full = failed("full.txt", ENOSPC);
        const QString kNote = QStringLiteral("Gatetally|-|YN|1 record(s) could not be written to the records file "
                                             "full.txt.\r\nThey are on the display only: answer No to save them "
                                             "elsewhere first.\r\n\r\n") + kExitOn.mid(15);

        row("on, no file yet: dialog at once, records kept, chosen file replaced by the header", {on},
            {.inUse = def, .full = true, .shown = 3, .answers = "N", .files = {mon}, .asked = {kClearDisplay},
             .autosaveAfter = true, .file = mon, .bytes = kAutosaveHeader});
        row("on, earlier file kept but gone: made with the resume marker", {on},
            {.inUse = "Gone.txt", .answers = "N", .asked = {different("Gone.txt")}, .autosaveAfter = true, .bytes = kResume});
        row("on, records and earlier file: both questions in order", {on},
            {.full = true, .shown = 2, .answers = "YN", .asked = {kClearDisplay, diffMon}, .autosaveAfter = true,
             .bytes = kOld + kResume, .cleared = true, .clearCheckAfter = true});
        row("on, a blank name is no choice: stays off, nothing written", {on}, {.inUse = def, .full = true, .files = {"  "}});
        row("on, different file cancelled: earlier file not reused", {on}, {.answers = "Y", .files = {""}, .asked = {diffMon}});
        row("off: stop marker appended", {off}, {.autosave = true, .shown = 2, .autosaveAfter = false, .bytes = kOld + kStop});
        row("off after the capacity message: new file holds the stop marker", {off},
            {.autosave = true, .full = true, .files = {"New.txt"}, .autosaveAfter = false, .file = "New.txt", .bytes = kStop});
        row("off after the capacity message, cancelled: current file kept", {off},
            {.autosave = true, .full = true, .files = {""}, .autosaveAfter = false, .bytes = kOld + kStop});

        row("Save, No: block appended, display cleared", {save},
            {.shown = 3, .answers = "NY", .asked = both, .bytes = kOld + saved(3), .cleared = true});
        row("Save, Cancel: nothing", {save}, {.shown = 3, .answers = "C", .asked = {kOverwrite}});
        row("Save, empty display: header alone, no clearing question", {save},
            {.answers = "Y", .asked = {kOverwrite}, .bytes = kSaveHeader});
        row("Save, Yes: replaced by the receiver's lines (names shared and empty, incorrect data), display kept", {save},
            {.shown = 4, .answers = "YN", .asked = both, .bytes = saved(4)});
        row("Save, autosave on: refused", {save}, {.autosave = true, .shown = 3, .asked = {kSaveRefusal}});
        row("Save, no file chosen yet: as Save As", {save},
            {.inUse = def, .shown = 2, .files = {rep}, .file = rep, .bytes = saved(2), .title = "Report"});
        row("Save As: existing file replaced without asking", {saveAs},
            {.inUse = tue, .shown = 2, .files = {mon}, .file = mon, .bytes = saved(2), .title = "Monday"});
        row("Save As, autosave on: refused", {saveAs}, {.autosave = true, .shown = 2, .asked = {kSaveAsRefusal}});
        row("Save As, the display full: the records held back follow its rows", {saveAs},
            {.shown = -1, .waiting = true, .files = {"Full.txt"}, .file = "Full.txt",
             .bytes = kSaveHeader + crlf(QList<QByteArray>(kDisplayCapacity, "f") << kWaiting), .title = "Full"});

        row("Clear, autosave on: at once", {clear}, {.autosave = true, .full = true, .shown = 3, .cleared = true});
        // Kept on the display when autosave starts, they are in no file.
        row("on, records kept, then Clear: asks about them; a record meanwhile stays", {on, clear},
            {.inUse = def, .shown = 2, .answers = "NY", .files = {mon}, .during = {2}, .asked = {kClearDisplay, kClearQuestion},
             .autosaveAfter = true, .file = mon, .bytes = kAutosaveHeader + crlf({arrived(2)}), .cleared = true});
        row("Clear, autosave off, empty display still asks, No", {"mnuEditDelete"}, {.answers = "N", .asked = {kClearQuestion}});
        row("Exit, autosave on, Yes: the exit marker", {"close"},
            {.autosave = true, .shown = 2, .answers = "Y", .asked = {kExitOn}, .bytes = kOld + kExitMarker});
        row("Exit, autosave off, Yes: nothing written", {exit}, {.shown = 2, .answers = "Y", .asked = {kExitOff}});
        row("Exit, the session ends during the question: it ends then, the answer marks nothing again", {exit},
            {.autosave = true, .answers = "Y", .sessionEnds = true, .asked = {kExitOn}, .bytes = kOld + kExitMarker});

        // Told with the file's name and the reason; nothing claimed as saved nor offered for clearing.
        row("Save, /dev/full", {save}, {.inUse = "@full", .shown = 2, .answers = "Y", .asked = {kOverwrite, full}});
        row("Save, Yes, the disk fills up: the old file kept whole", {save},
            {.shown = 4, .answers = "Y", .sizeLimit = 100, .asked = {kOverwrite, "Gatetally|!|OK|The records file Monday.txt "
             "could not be written:\r\nOnly part of the data could be written (the disk may be full)."}});
        row("Save As, cannot create", {saveAs},
            {.clearCheck = true, .shown = 2, .files = {"@under"}, .asked = {failed("x.txt", ENOTDIR)}});
        row("Save As, a name setup.txt cannot hold: refused before writing", {saveAs},
            {.shown = 2, .files = {cyrillic}, .asked = {kLatin1.arg(cyrillic)}});
        // No file behind it: autosave stays off and setup.txt as it was.
        row("on, kept file on /dev/full", {on},
            {.inUse = "@full", .answers = "N", .asked = {different("full.txt"), full + kStaysOff}});
        row("Exit, /dev/full: the program still ends", {exit},
            {.inUse = "@full", .autosave = true, .answers = "Y", .asked = {kExitOn, full}});

        // Records arriving while the boxes are open.
        row("Save As after autosave on cleared, a record while clearing is asked: it stays", {saveAs},
            {.clearCheck = true, .shown = 2, .answers = "Y", .files = {rep}, .during = {1}, .asked = {kClearDisplay},
             .file = rep, .bytes = saved(2), .cleared = true, .clearCheckAfter = false, .title = "Report"});
        row("on, clearing Yes, a record in the Save dialog, cancelled: nothing cleared, nothing written", {on},
            {.inUse = def, .shown = 3, .answers = "Y", .files = {""}, .during = {1}, .asked = {kClearDisplay}});
        row("on, clearing Yes, records during the questions: after the header of the new file only", {on},
            {.shown = 3, .answers = "YY", .files = {tue}, .during = {0, 2}, .asked = {kClearDisplay, diffMon}, .autosaveAfter = true,
             .file = tue, .bytes = kAutosaveHeader + crlf({arrived(0), arrived(2)}), .cleared = true, .clearCheckAfter = true});
        row("on, earlier file kept: a record during the question follows the resume marker", {on},
            {.answers = "N", .during = {0}, .asked = {diffMon}, .autosaveAfter = true, .bytes = kOld + kResume + crlf({arrived(0)})});
        row("on with the display full and a record waiting: appended as it enters", {on},
            {.inUse = def, .shown = -1, .waiting = true, .answers = "Y", .files = {mon}, .asked = {kClearDisplay}, .autosaveAfter = true,
             .file = mon, .bytes = kAutosaveHeader + crlf({kWaiting}), .cleared = true, .clearCheckAfter = true});
        row("Clear, autosave off, Yes, a record while it is asked: it stays", {clear},
            {.shown = 3, .answers = "Y", .during = {0}, .asked = {kClearQuestion}, .cleared = true});
        row("Exit with a record that could not be written: the question says so; No", {"mnuFileExit"},
            {.inUse = "@full", .autosave = true, .waiting = true, .answers = "N", .asked = {full, kNote}});
    }

    void commands()
    {
        QFETCH(QStringList, controls); // objectNames of the controls, "close": the window's close control
        QFETCH(Case, c);
        Desk desk;
        desk.useFile(c.inUse, c.autosave);
        desk.state.blnAutosaveFull = c.full;
        desk.commands.blnClearCheck = c.clearCheck;
        desk.display(c.shown);
        if (c.waiting)
            desk.port->receive("6 N 106 000006 \r");
        QCoreApplication::processEvents();
        desk.script(c.answers, c.files);
        desk.prompts.whileOpen = [&](int n) {
            if (c.during.contains(n))
                desk.port->receive(arrivedMessage(n));
            if (c.sessionEnds && n == 0)
                desk.commands.exitWithoutAsking();
        };
        desk.screen.show();

        std::optional<test::FileSizeLimit> full;
        if (c.sizeLimit)
            full.emplace(c.sizeLimit);
        for (const QString &control : controls) {
            if (auto *button = desk.screen.findChild<QAbstractButton *>(control))
                QTest::mouseClick(button, Qt::LeftButton);
            else if (control == "close")
                QVERIFY(!desk.screen.close() && desk.screen.isVisible());
            else
                test::findAction(&desk.screen, control)->trigger();
        }
        full.reset();
        QCoreApplication::processEvents();

        QCOMPARE(desk.conversation(), c.asked);
        QCOMPARE(desk.state.blnAutosave, c.autosaveAfter);
        QCOMPARE(desk.screen.optOn->isChecked(), c.autosaveAfter);
        QCOMPARE(desk.state.blnAutosaveFull, !controls.contains("optOn") && !controls.contains("optOff") && c.full);
        // The rows kept, then the record waiting and those that arrived, in order.
        QStringList display = c.cleared || c.shown >= 0 ? QStringList() : QStringList(kDisplayCapacity, "f");
        for (int i = 0; !c.cleared && i < c.shown; ++i)
            display << QString::fromLatin1(kRows.at(i));
        if (c.waiting)
            display << QString::fromLatin1(kWaiting);
        for (int n : c.during)
            display << QString::fromLatin1(arrived(n));
        QCOMPARE(desk.state.strRecords.allRecordLines(), display);
        QCOMPARE(desk.screen.txtNumber->text(), QString::number(desk.state.intRecordCount()));
        QCOMPARE(desk.commands.blnClearCheck, c.clearCheckAfter);
        QCOMPARE(desk.state.strListTitle, c.title.isEmpty() ? "Quorvel Gatetally" : c.title);
        const bool ends = QStringList{kExitOn, kExitOff}.contains(c.asked.value(0)) && c.answers == "Y";
        QCOMPARE(desk.events, ends ? kEnds : QStringList());
        QCOMPARE(desk.screen.Timer1->isActive(), ends);
        // The file in use holds its bytes, every other file of the Records
        // folder its own (the link to /dev/full is not read); the header and
        // setup.txt name it; every answer scripted was used.
        QMap<QString, QByteArray> files{{"Monday.txt", kOld}, {"Tuesday.txt", kOld}};
        if (c.file != "default" && !c.file.startsWith('@'))
            files[c.file] = c.bytes;
        QByteArray expected, found;
        for (auto f = files.cbegin(); f != files.cend(); ++f)
            expected += f.key().toLatin1() + ":\n" + f.value() + '\n';
        for (const QFileInfo &f : QDir(recordsDirPath(desk.state.dataDir)).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name))
            found += f.fileName().toLatin1() + ":\n" + readBytes(f.filePath()) + '\n';
        QCOMPARE(found, expected);
        const QString path = desk.path(c.file);
        QCOMPARE(desk.state.strAutosaveFile, path);
        QCOMPARE(desk.screen.lblMainHeader->text(), c.file == "default" ? QStringLiteral("Quorvel Gatetally") : path);
        const QStringList setup = desk.setupLines();
        QCOMPARE(setup.mid(0, 3), (QStringList{"CommPort=1", c.autosaveAfter ? "autosave=T" : "autosave=F", path}));
        QVERIFY(desk.prompts.unscripted == 0 && desk.prompts.answers.isEmpty() && desk.prompts.fileNames.isEmpty());
    }

    // setup.txt edited while the program runs names the file from the next
    // autosave command on.
    void setupFileReread()
    {
        Desk desk;
        desk.useFile("Monday.txt", false);
        QStringList setup = desk.setupLines();
        setup[2] = desk.path("Edited.txt");
        QVERIFY(writeBytes(setupFilePath(desk.state.dataDir), encodeTextLines(setup)));
        desk.script("N", {});
        desk.commands.turnAutosaveOn();
        QCOMPARE(desk.conversation(), QStringList{different("Edited.txt")});
        QCOMPARE(readBytes(desk.path("Edited.txt")), kResume);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
