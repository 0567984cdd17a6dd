#include "FileContentsScreen.h"
#include "FileLines.h"
#include "LineIndex.h"
#include "GatetallyApp.h"
#include "MainScreen.h"
#include "Program.h"
#include "PseudoTerminal.h"
#include "RecordsScreen.h"
#include "Screens.h"
#include "StoredFiles.h"
#include "TestFiles.h"

#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace gt;
using gt::test::crlf;
using gt::test::readBytes;
using gt::test::writeBytes;

namespace {

const QByteArray kRecord = "  3/7/2006     2:05:09 PM     3    VALID       101   000042"; // 59 characters
const QByteArray kHeading = "    DATE         TIME     ENTRY   STATUS     CODE    NUMBER";

// The program on a data folder of its own, a panel on a pseudo-terminal, the
// records management screen opened from the main screen's File menu.
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
    void reading();
    void vanished();
    void index_data();
    void index();
    void changedWhileOpen_data();
    void changedWhileOpen();
};

// What File > Open (left by Back) or File > Delete (left by File > Close)
// lists and selects, the captions, and what each command answers at once.
struct Listed
{
    QString menu;
    QStringList files, listed;
    QString autosaveName, answer; // to every command, nothing being selected
};
Q_DECLARE_METATYPE(Listed)

void TestRecords::checks_data()
{
    QTest::addColumn<Listed>("c");
    QTest::newRow("empty folder") << Listed{.menu = "mnuFileOpen", .files = {"notes.doc"}, .autosaveName = "default.txt",
                                            .answer = "No records have been saved yet"};
    QTest::newRow("autosave file missing")
        << Listed{.menu = "mnuFileDelete", .files = {"b.txt", "A.TXT", "c.log"}, .listed = {"A.TXT", "b.txt"},
                  .autosaveName = "default.txt", .answer = "Please select a record"};
}

void TestRecords::checks()
{
    QFETCH(Listed, c);
    QMap<QString, QByteArray> contents;
    for (const QString &f : c.files)
        contents.insert(f, crlf({kRecord}));
    Desk d;
    d.menu = c.menu;
    d.start(contents, false, c.autosaveName);
    const QString controls = "frmViewRecords|Records Management|;cmdOpen|Open|Opens the selected file;"
                             "cmdRecordsSearch|Search|Searches the selected file;"
                             "cmdClear|Clear|Clears the contents of the selected file;"
                             "cmdDelete|Delete|Deletes the selected file;cmdBack|Back|Goes back to the Main screen";
    QCOMPARE(test::controlTexts(d.screen, controls), controls.split(';'));
    QCOMPARE(d.listed(), c.listed);
    QCOMPARE(d.screen->selectedFile(), QString());
    for (const QString &command : kCommands)
        d.click(command);
    QCOMPARE(d.prompts.texts(), QStringList(kCommands.size(), c.answer));
    QVERIFY(d.screen && !d.main()->isEnabled() && !d.app->flow().openScreen(Screen::FileContents));
    if (c.menu == "mnuFileOpen")
        d.click("cmdBack");
    else
        test::findAction(d.screen, "mnuFileClose")->trigger();
    QTRY_VERIFY(d.screen.isNull());
    QVERIFY(d.main()->isEnabled());
}

// Clear of the file autosave writes to: No keeps it; Yes empties what it
// held when asked, and a record arriving while the question is open stays.
void TestRecords::clearWhileAutosaving()
{
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

// Delete: the question, the files left, setup.txt, what the main screen shows.
struct Deleting
{
    bool autosave;
    QString name, question;
    QStringList left;
    bool reset = false; // autosave off, its file back to the default
    bool yes = true;
};
Q_DECLARE_METATYPE(Deleting)

void TestRecords::deleting_data()
{
    QTest::addColumn<Deleting>("c");
    const QString sure = "Are you sure you want to delete the file %1?";
    QTest::newRow("autosave file, autosave on") << Deleting{
        .autosave = true, .name = "day.txt",
        .question = "Records are currently being autosaved to day.txt.  Deleting this file will require disabling "
                    "autosave. Do you want to disable autosave and delete day.txt?",
        .left = {"old.txt"}, .reset = true};
    QTest::newRow("autosave file, autosave off")
        << Deleting{.autosave = false, .name = "day.txt", .question = sure.arg("day.txt"), .left = {"old.txt"}, .reset = true};
    QTest::newRow("other file")
        << Deleting{.autosave = true, .name = "old.txt", .question = sure.arg("old.txt"), .left = {"day.txt"}};
    QTest::newRow("answered No") << Deleting{.autosave = false, .name = "day.txt", .question = sure.arg("day.txt"),
                                             .left = {"day.txt", "old.txt"}, .yes = false};
}

void TestRecords::deleting()
{
    QFETCH(Deleting, c);
    Desk d;
    d.start({{"day.txt", crlf({kRecord})}, {"old.txt", crlf({kRecord})}}, c.autosave, "day.txt");
    d.app->state().setListTitle("Monday");
    // A record held back for room and written to the file in use: deleting
    // that file leaves it in no file.
    d.app->state().strRecords.held().push_back({QString::fromLatin1(kRecord), false, true});
    d.select(c.name);
    d.prompts.answers = {c.yes ? Prompts::Yes : Prompts::No};
    d.click("cmdDelete");
    QCOMPARE(d.app->state().strRecords.held().front().autosaved, !c.reset);
    QCOMPARE(d.prompts.texts(), QStringList{c.question});
    QCOMPARE(d.listed(), c.left);
    QCOMPARE(QDir(d.records()).entryList(QDir::Files), c.left);
    QCOMPARE(readBytes(d.dir.filePath("setup.txt")), c.reset ? d.setup(false, d.records("default.txt"))
                                                            : d.setup(c.autosave, d.records("day.txt")));
    QCOMPARE(d.main()->lblMainHeader->text(), c.reset ? "Quorvel Gatetally" : QDir::toNativeSeparators(d.records("day.txt")));
    QCOMPARE(d.app->state().strListTitle, c.reset ? "Quorvel Gatetally" : "Monday");
    QCOMPARE(d.main()->optOff->isChecked(), c.reset || !c.autosave);
    QCOMPARE(d.app->state().blnAutosave, c.autosave && !c.reset);
    // Listed anew: the autosave file is selected again, or nothing when it was deleted.
    QCOMPARE(d.screen->selectedFile(), c.reset ? QString() : QStringLiteral("day.txt"));
}

// Open shows every line as stored (one shown file at a time; the main screen
// aside while one is shown), Search hands it to the search screen.
void TestRecords::reading()
{
    const QList<QByteArray> autosaved{"", " Autosave started 3/7/2006, 2:05:00 PM", "", kHeading, "", kRecord, ""};
    Desk d; // the last line without its line end, one before it with LF alone
    d.start({{"x.txt", crlf(autosaved) + "a\n" + kRecord}, {"y.txt", crlf({"second"})}}, false, "y.txt");
    d.click("cmdOpen");
    QPointer<QWidget> first = d.app->flow().openScreen(Screen::FileContents);
    d.select("x.txt");
    d.click("cmdOpen");
    auto *contents = qobject_cast<FileContentsScreen *>(d.app->flow().openScreen(Screen::FileContents));
    QVERIFY(first && contents && contents != first);
    QTRY_VERIFY(first.isNull());
    QCOMPARE(contents->lblFile->text(), QDir::toNativeSeparators(d.records("x.txt")));
    QTRY_COMPARE(test::rowTexts(contents->lstFileDisplay),
                 QStringList({"", " Autosave started 3/7/2006, 2:05:00 PM", "", kHeading, "", kRecord, "", "a", kRecord}));
    d.screen->close();
    QVERIFY(!d.main()->isEnabled());
    contents->close();
    QTRY_VERIFY(d.main()->isEnabled());

    test::findAction(d.main(), d.menu)->trigger();
    d.screen = qobject_cast<RecordsScreen *>(d.app->flow().openScreen(Screen::RecordsManagement));
    QVERIFY(d.screen);
    d.select("x.txt");
    d.click("cmdRecordsSearch");
    QCOMPARE(d.app->state().strStoredRecords, QDir::toNativeSeparators(d.records("x.txt")));
    QTRY_VERIFY(d.screen.isNull());
    QPointer<QWidget> search = d.app->flow().openScreen(Screen::StoredSearch);
    QVERIFY(search && !d.app->mainScreen()->isEnabled());
    QVERIFY(d.prompts.shown.isEmpty());
    // A screen still open ends with the program: it refers to the program's state.
    d.app.reset();
    QVERIFY(search.isNull());
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

// The line index, fed in blocks of several sizes, finds each line's start
// and end (past its line end); the list shows each as stored, without its
// line end.
struct Indexed
{
    QByteArray bytes;
    QList<qint64> spans;
    QStringList lines;
};
Q_DECLARE_METATYPE(Indexed)

void TestRecords::index_data()
{
    QTest::addColumn<Indexed>("c");
    QTest::newRow("CR LF, last line ended")
        << Indexed{crlf({kHeading, "", kRecord}), {0, 61, 61, 63, 63, 124}, {kHeading, "", kRecord}};
    QTest::newRow("LF, no last line end") << Indexed{"a\n\nb", {0, 2, 2, 3, 3, 4}, {"a", "", "b"}};
    QTest::newRow("lines of 254 to 256 bytes, a CR alone")
        << Indexed{QByteArray(253, 'p') + "\n" + QByteArray(254, 'q') + "\n" + QByteArray(255, 'r') + "\nab\rc\r",
                   {0, 254, 254, 509, 509, 765, 765, 770},
                   {QString(253, 'p'), QString(254, 'q'), QString(255, 'r'), "ab\rc"}};
}

void TestRecords::index()
{
    QFETCH(Indexed, c);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.txt");
    QVERIFY(writeBytes(path, c.bytes));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString error;
    for (qint64 block : {1, 2, 64, 1 << 20}) {
        stored::LineIndex index;
        std::atomic<bool> cancel{false};
        QVERIFY(stored::indexLines(file.handle(), c.bytes.size(), block, 1, cancel,
                                   [&](stored::LineIndex::Run &&run, qint64) { QVERIFY(index.append(run)); }, &error));
        QList<qint64> found;
        for (int i = 0; i < index.count(); ++i)
            found << index.start(i) << index.start(i) + index.length(i);
        QCOMPARE(found, c.spans);
    }

    stored::FileLines model;
    QSignalSpy done(&model, &stored::FileLines::indexed);
    QVERIFY(model.open(path, &error));
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(done.first().first().toString(), QString());
    QStringList shown;
    for (int i = 0; i < model.rowCount(); ++i)
        shown << model.index(i).data().toString();
    QCOMPARE(shown, c.lines);
}

// A file cut short, replaced or removed while listed is told once, with its
// name and what happened; the list keeps what it can. Appending is no change.
void TestRecords::changedWhileOpen_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("told"); // after saying the file has changed
    QTest::newRow("shortened") << "shorten" << "It is shorter now; the lines past its new end are shown empty or cut short.";
    QTest::newRow("replaced") << "replace" << "It has been replaced; the list shows it as it was when it was opened.";
    QTest::newRow("removed") << "remove" << "No such file or directory";
    QTest::newRow("appended to") << "append" << QString();
}

void TestRecords::changedWhileOpen()
{
    QFETCH(QString, change);
    QFETCH(QString, told);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("Records"));
    const QString path = dir.filePath("Records/f.txt");
    QVERIFY(writeBytes(path, (kRecord + "\r\n").repeated(3000)));
    GatetallyState state(dir.path());
    state.strOpenFile = path;
    test::ScriptedPrompts prompts;
    std::unique_ptr<FileContentsScreen> screen(FileContentsScreen::load(state, prompts));
    QVERIFY(screen);
    const QAbstractItemModel *model = screen->lstFileDisplay->model();
    QTRY_COMPARE(model->rowCount(), 3000);
    if (change == "shorten") {
        QVERIFY(QFile::resize(path, 100));
    } else if (change == "replace") {
        QVERIFY(writeBytes(dir.filePath("new.txt"), "other\r\n"));
        QVERIFY(::rename(QFile::encodeName(dir.filePath("new.txt")), QFile::encodeName(path)) == 0);
    } else if (change == "remove") {
        QVERIFY(QFile::remove(path));
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append) && f.write(kRecord + "\r\n") > 0);
    }
    QTest::qWait(200);
    QCOMPARE(prompts.texts(), told.isEmpty() ? QStringList() // told once, or not at all
                                             : QStringList{"The records file f.txt has changed since it was opened:\r\n" + told});
    QCOMPARE(model->rowCount(), 3000);
    QCOMPARE(model->index(0, 0).data().toString() + '|' + model->index(2999, 0).data().toString(),
             kRecord + '|' + (change == "shorten" ? QByteArray() : kRecord));
}

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
