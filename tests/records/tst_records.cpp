#include "ActivityScreen.h"
#include "FileContentsScreen.h"
#include "FileLines.h"
#include "GatetallyApp.h"
#include "MainScreen.h"
#include "Navigator.h"
#include "Program.h"
#include "PseudoTerminal.h"
#include "RecordsScreen.h"
#include "Screens.h"
#include "ScriptedPrompts.h"
#include "StoredFiles.h"
#include "TestFiles.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;
using gt::test::crlf;
using gt::test::readBytes;
using gt::test::writeBytes;

namespace {

const QByteArray kRecord = "  3/7/2006     2:05:09 PM     3    VALID       101   000042"; // 59 characters
const QByteArray kHeading = "    DATE         TIME     ENTRY   STATUS     CODE    NUMBER";
const QString kNoRecords = QStringLiteral("No records have been saved yet");
const QString kSelect = QStringLiteral("Please select a record");

// The program running on a data folder of its own, with a panel on a
// pseudo-terminal, the main screen shown and the records management screen
// opened from its File menu.
struct Desk : test::Program
{
    panel::PseudoTerminal pty;
    QPointer<RecordsScreen> screen;
    QString menu = QStringLiteral("mnuFileOpen"); // of the main screen, opening this one

    QString records(const QString &name = QString()) const { return dir.filePath("Records/" + name); }
    QByteArray setup(bool autosave, const QString &file) const
    {
        return test::setupFile("CommPort=3", autosave ? "autosave=T" : "autosave=F",
                               QDir::toNativeSeparators(file).toLatin1(), {"Front"});
    }
    // Files of the Records folder (name, contents) and the settings, then the start.
    void start(const QMap<QString, QByteArray> &files, bool autosave, const QString &autosaveName)
    {
        QDir(dir.path()).mkpath("Records");
        for (auto it = files.begin(); it != files.end(); ++it)
            QVERIFY(writeBytes(records(it.key()), it.value()));
        QVERIFY(writeBytes(dir.filePath("setup.txt"), setup(autosave, records(autosaveName))));
        QVERIFY(pty.open());
        options.port = pty.devicePath();
        Program::start();
        test::findAction(main(), menu)->trigger();
        screen = qobject_cast<RecordsScreen *>(app->flow().openScreen(Screen::RecordsManagement));
        QVERIFY(screen && !main()->isEnabled());
    }
    QStringList listed() const { return test::rowTexts(screen->filRecords); }
    void select(const QString &name)
    {
        QListWidgetItem *item = screen->filRecords->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::mouseClick(screen->filRecords->viewport(), Qt::LeftButton, {},
                          screen->filRecords->visualItemRect(item).center());
    }
    void click(const QString &button) { QTest::mouseClick(screen->findChild<QPushButton *>(button), Qt::LeftButton); }
};

const QStringList kCommands{"cmdOpen", "cmdRecordsSearch", "cmdClear", "cmdDelete", "cmdActivity"};

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checks_data();
    void checks();
    void clearWhileAutosaving();
    void deleting_data();
    void deleting();
    void reading_data();
    void reading();
    void vanished();
    void cancelLeavesAll();
};

// What is listed and selected on opening by File > Open (left by Back) or
// File > Delete (left by File > Close), the controls, and what each command
// answers before doing anything.
void TestRecords::checks_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("autosaveName");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("answer");
    QTest::newRow("empty folder") << "mnuFileOpen" << QStringList{"notes.doc"} << "default.txt" << QStringList{}
                                  << "" << kNoRecords;
    QTest::newRow("autosave file missing") << "mnuFileDelete" << QStringList{"b.txt", "A.TXT", "c.log"}
                                           << "default.txt" << QStringList{"A.TXT", "b.txt"} << "" << kSelect;
    QTest::newRow("autosave file listed") << "mnuFileOpen" << QStringList{"default.txt", "day.txt"} << "day.txt"
                                          << QStringList{"day.txt", "default.txt"} << "day.txt" << "";
}

void TestRecords::checks()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, files);
    QFETCH(QString, autosaveName);
    QFETCH(QStringList, listed);
    QFETCH(QString, selected);
    QFETCH(QString, answer);
    QMap<QString, QByteArray> contents;
    for (const QString &f : files)
        contents.insert(f, crlf({kRecord}));
    Desk d;
    d.menu = menu;
    d.start(contents, false, autosaveName);
    RecordsScreen *s = d.screen;
    const QString controls =
        "frmViewRecords|Records Management|;fraCommands|Commands|;filRecords||List of stored files;"
        "cmdOpen|Open|Opens the selected file;cmdRecordsSearch|Search|Searches the selected file;"
        "cmdClear|Clear|Clears the contents of the selected file;cmdDelete|Delete|Deletes the selected file;"
        "cmdBack|Back|Goes back to the Main screen;mnuFile|&File|;mnuHelp|&Help|;mnuFileClose|&Close|;"
        "mnuHelpAbout|&About|;mnuHelpHelp|&Help|";
    QCOMPARE(test::controlTexts(s, controls), controls.split(';'));
    QVERIFY(QTest::qWaitForWindowActive(s));
    s->filRecords->setFocus();
    QCOMPARE(test::tabOrder(5).join(' '), "filRecords cmdOpen cmdRecordsSearch cmdClear cmdDelete cmdBack");
    QCOMPARE(d.listed(), listed);
    QCOMPARE(s->selectedFile(), selected);

    for (const QString &command : answer.isEmpty() ? QStringList() : kCommands)
        d.click(command);
    QCOMPARE(d.prompts.texts(), answer.isEmpty() ? QStringList() : QStringList(kCommands.size(), answer));
    for (const auto &shown : std::as_const(d.prompts.shown))
        QVERIFY(shown.icon == Prompts::Icon::None && shown.buttons == Prompts::Ok);
    QCOMPARE(d.app->flow().openScreen(Screen::FileContents), nullptr);
    QVERIFY(d.screen && !d.main()->isEnabled());
    if (menu == "mnuFileOpen")
        d.click("cmdBack");
    else
        test::findAction(s, "mnuFileClose")->trigger();
    QTRY_VERIFY(d.screen.isNull());
    QVERIFY(d.main()->isEnabled());
}

// Clear of the file autosave writes to: asked, emptied, told; the next
// record lands in the emptied file.
void TestRecords::clearWhileAutosaving()
{
    // A record arriving while the question is open stays in the file: only
    // what the file held when asked is cleared.
    Desk d;
    d.start({{"day.txt", crlf({"", kHeading, kRecord})}}, true, "day.txt");
    QCOMPARE(d.screen->selectedFile(), QStringLiteral("day.txt"));
    d.prompts.answers = {Prompts::No, Prompts::Yes};
    d.click("cmdClear");
    QVERIFY(readBytes(d.records("day.txt")).startsWith(crlf({"", kHeading, kRecord})));
    d.prompts.whileOpen = [&d](int n) {
        if (n == 1 && d.pty.write("3 V 101 000042 \r"))
            QTRY_COMPARE(d.app->state().intRecordCount(), 1);
    };
    d.click("cmdClear");
    QCOMPARE(d.prompts.texts(), QStringList({"Are you sure?", "Are you sure?", "The file has been cleared"}));
    QCOMPARE(d.app->state().intRecordCount(), 1);
    QCOMPARE(readBytes(d.records("day.txt")), d.app->state().strRecords.recordLines().first().toLatin1() + "\r\n");
    QCOMPARE(d.listed(), QStringList{"day.txt"});
}

// Delete in its three cases: the question, the files left, setup.txt whole,
// and what the main screen shows.
void TestRecords::deleting_data()
{
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<bool>("reset");
    const QString sure = "Are you sure you want to delete the file %1?";
    QTest::newRow("autosave file, autosave on")
        << true << "day.txt" << true
        << "Records are currently being autosaved to day.txt.  Deleting this file will require disabling autosave. "
           "Do you want to disable autosave and delete day.txt?"
        << QStringList{"old.txt"} << true;
    QTest::newRow("autosave file, autosave off") << false << "day.txt" << true << sure.arg("day.txt")
                                                 << QStringList{"old.txt"} << true;
    QTest::newRow("other file") << true << "old.txt" << true << sure.arg("old.txt") << QStringList{"day.txt"} << false;
    QTest::newRow("answered No") << false << "day.txt" << false << sure.arg("day.txt") << QStringList{"day.txt", "old.txt"}
                                 << false;
}

void TestRecords::deleting()
{
    QFETCH(bool, autosave);
    QFETCH(QString, name);
    QFETCH(bool, reset);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    QFETCH(QStringList, left);
    Desk d;
    d.start({{"day.txt", crlf({kRecord})}, {"old.txt", crlf({kRecord})}}, autosave, "day.txt");
    d.app->state().setListTitle("Monday");
    d.select(name);
    d.prompts.answers = {yes ? Prompts::Yes : Prompts::No};
    d.click("cmdDelete");
    QCOMPARE(d.prompts.texts(), QStringList{question});
    QCOMPARE(d.listed(), left);
    QCOMPARE(QDir(d.records()).entryList(QDir::Files), d.listed());

    MainScreen *main = d.app->mainScreen();
    QCOMPARE(readBytes(d.dir.filePath("setup.txt")), reset ? d.setup(false, d.records("default.txt"))
                                                          : d.setup(autosave, d.records("day.txt")));
    QCOMPARE(main->lblMainHeader->text(), reset ? "Quorvel Gatetally" : QDir::toNativeSeparators(d.records("day.txt")));
    QCOMPARE(d.app->state().strListTitle, reset ? "Quorvel Gatetally" : "Monday");
    QCOMPARE(main->optOff->isChecked(), reset || !autosave);
    QCOMPARE(d.app->state().blnAutosave, autosave && !reset);
    // Listed anew: the autosave file is selected again, or nothing when it was deleted.
    QCOMPARE(d.screen->selectedFile(), reset ? QString() : QStringLiteral("day.txt"));
}

// Open shows every line as stored; Search keeps the record lines only.
void TestRecords::reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("records");
    const QByteArray heading59 = "xxxx" + kHeading.mid(4); // not the column header, same end
    QTest::newRow("autosave layout") << crlf({"", " Autosave started 3/7/2006, 2:05:00 PM", "", kHeading, "", kRecord, "",
                                              " Possible interruption in records"})
                                     << QStringList{"", " Autosave started 3/7/2006, 2:05:00 PM", "", kHeading, "",
                                                    kRecord, "", " Possible interruption in records"}
                                     << QStringList{kRecord};
    QTest::newRow("59 characters ending in NUMBER") << crlf({heading59})
                                                    << QStringList{heading59} << QStringList{};
    QTest::newRow("short and long lines") << crlf({kRecord.chopped(1), kRecord + " "})
                                          << QStringList{kRecord.chopped(1), kRecord + " "} << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{} << QStringList{};
    QTest::newRow("no final line end, LF only") << "a\n" + kRecord << QStringList{"a", kRecord} << QStringList{kRecord};
}

void TestRecords::reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, records);
    Desk d;
    d.start({{"x.txt", bytes}, {"y.txt", crlf({"second"})}}, false, "y.txt");
    d.app->state().strStoredRecords = QStringList{"from an earlier search"};
    // Open of the selected file while another is shown replaces that one.
    d.click("cmdOpen");
    QPointer<QWidget> first = d.app->flow().openScreen(Screen::FileContents);
    d.select("x.txt");
    d.click("cmdOpen");
    auto *contents = qobject_cast<FileContentsScreen *>(d.app->flow().openScreen(Screen::FileContents));
    QVERIFY(first && contents && contents != first);
    QTRY_VERIFY(first.isNull());
    QCOMPARE(contents->windowTitle(), QStringLiteral("File Contents"));
    QCOMPARE(contents->lblFile->text(), QDir::toNativeSeparators(d.records("x.txt")));
    QCOMPARE(test::rowTexts(contents->lstFileDisplay), shown);
    QCOMPARE(QFontInfo(contents->lstFileDisplay->font()).fixedPitch(), true);

    // Print reads the file again; a cancelled print dialog prints nothing.
    d.prompts.printCancels = 1;
    test::findAction(contents, "mnuFilePrint")->trigger();
    QVERIFY(d.prompts.printed.isEmpty());
    test::findAction(contents, "mnuFilePrint")->trigger();
    QCOMPARE(d.prompts.printed.size(), 1);
    QVERIFY(readBytes(d.prompts.printed.first()).startsWith("%PDF"));

    test::findAction(contents, "mnuFileClose")->trigger();
    QTRY_VERIFY(!d.app->flow().openScreen(Screen::FileContents));
    QVERIFY(d.screen && d.screen->selectedFile() == "x.txt" && !d.app->mainScreen()->isEnabled());

    // The activity of the selected file counts every record line it holds.
    d.click("cmdActivity");
    auto *activity = qobject_cast<ActivityScreen *>(d.app->flow().openScreen(Screen::StoredActivity));
    QVERIFY(activity && d.screen);
    QTRY_VERIFY(activity->isReady());
    QCOMPARE(activity->counts().records, records.size());
    activity->close();

    d.click("cmdRecordsSearch");
    QCOMPARE(d.app->state().strStoredRecords, records);
    QTRY_VERIFY(d.screen.isNull());
    QWidget *search = d.app->flow().openScreen(Screen::StoredSearch);
    QVERIFY(search && !d.app->mainScreen()->isEnabled());
    QVERIFY(d.prompts.shown.isEmpty());

    // Back from the stored-file search lists the folder anew.
    QVERIFY(writeBytes(d.records("new.txt"), QByteArray()));
    QTest::mouseClick(search->findChild<QPushButton *>("cmdBack"), Qt::LeftButton);
    d.screen = qobject_cast<RecordsScreen *>(d.app->flow().openScreen(Screen::RecordsManagement));
    QVERIFY(d.screen);
    QCOMPARE(d.listed(), QStringList({"new.txt", "x.txt", "y.txt"}));
    // The main screen stays aside while the file's contents are still shown.
    d.click("cmdOpen");
    contents = qobject_cast<FileContentsScreen *>(d.app->flow().openScreen(Screen::FileContents));
    d.screen->close();
    QVERIFY(contents && !d.main()->isEnabled());
    contents->close();
    QTRY_VERIFY(d.main()->isEnabled());
}

// A file that went after the list was made: told with its name and the
// system's reason, nothing made in its place, the list made anew.
void TestRecords::vanished()
{
    const QString gone = QStringLiteral("The records file gone.txt could not be %1:\r\nNo such file or directory");
    const QStringList told{gone.arg("read"), gone.arg("read"), gone.arg("cleared"), gone.arg("deleted"), gone.arg("read")};
    for (int i = 0; i < kCommands.size(); ++i) {
        Desk d;
        d.start({{"gone.txt", crlf({kRecord})}, {"kept.txt", QByteArray()}}, false, "gone.txt");
        const QByteArray settings = readBytes(d.dir.filePath("setup.txt"));
        QVERIFY(QFile::remove(d.records("gone.txt")));
        d.prompts.answers = {Prompts::Yes};
        d.click(kCommands[i]);
        QCOMPARE(d.prompts.texts().last(), told[i]);
        QCOMPARE(d.prompts.shown.last().icon, Prompts::Icon::Warning);
        QCOMPARE(d.listed(), QStringList{"kept.txt"});
        QVERIFY(!QFile::exists(d.records("gone.txt")));
        QCOMPARE(readBytes(d.dir.filePath("setup.txt")), settings);
        QVERIFY(d.screen && !d.app->flow().openScreen(Screen::FileContents) && !d.app->flow().openScreen(Screen::StoredSearch));
    }
}

// A cancelled load changes nothing: neither the list shown nor the records
// loaded earlier.
void TestRecords::cancelLeavesAll()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    QByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += kRecord + "\r\n";
    QVERIFY(writeBytes(path, bytes));
    const auto cancel = [](qint64, qint64) { return false; };

    stored::FileLines lines;
    QString error;
    QCOMPARE(lines.load(path, &error, [](qint64, qint64) { return true; }), stored::Load::Done);
    QVERIFY(writeBytes(path, crlf({"other"})));
    QCOMPARE(lines.load(path, &error, cancel), stored::Load::Cancelled);
    QCOMPARE(lines.rowCount(), 70000);

    QVERIFY(writeBytes(path, bytes));
    QStringList records{"earlier"};
    QCOMPARE(stored::loadStoredRecords(path, &records, &error, cancel), stored::Load::Cancelled);
    QCOMPARE(records, QStringList{"earlier"});
}

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
