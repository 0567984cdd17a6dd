#include "FileSizeLimit.h"
#include "GatetallyApp.h"
#include "ListingPrinter.h"
#include "MainScreen.h"
#include "Navigator.h"
#include "ResultsScreen.h"
#include "RuleLineEdit.h"
#include "Screens.h"
#include "ScriptedPrompts.h"
#include "SearchScreen.h"
#include "TestFiles.h"

#include <QListView>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;
using namespace gt::results;
using Twin = ResultsScreen::Twin;

Q_DECLARE_METATYPE(gt::ResultsScreen::Twin)

namespace {

const QDateTime kNow(QDate(2006, 3, 7), QTime(14, 5, 9));
const Twin D = Twin::Displayed, S = Twin::Stored;

QString record(const QString &when, const QString &message)
{
    return buildRecordLine(message, QDateTime::fromString(when, QStringLiteral("M/d/yyyy h:mm:ss AP")));
}

const QStringList kRecords{record("3/7/2006 9:05:00 AM", "2 V 123 012345"),
                           record("3/7/2006 10:30:00 PM", "3 N 456 000077")};

// "from|to|entry|status|facility|card"
SearchCriteria criteria(const QString &text)
{
    const QStringList p = text.split('|');
    SearchCriteria c;
    c.strFromTime = p.at(0), c.strToTime = p.at(1), c.strCritEntryPoint = p.at(2);
    c.strCritStatus = p.at(3), c.strCritFacility = p.at(4), c.strCritCardKeyless = p.at(5);
    return c;
}

struct Fixture
{
    QTemporaryDir dir;
    GatetallyState state{dir.path()};
    test::ScriptedPrompts prompts;
    test::RecordingFlow flow;

    Fixture()
    {
        state.clock.setFixed(kNow);
        state.strEntryNames[1] = QStringLiteral("Front Door");
        QDir(dir.path()).mkpath(QStringLiteral("Records"));
    }
    ResultsScreen *open(Twin twin)
    {
        auto *s = new ResultsScreen(twin, state, prompts, flow);
        s->setAttribute(Qt::WA_DeleteOnClose); // as the navigator opens screens
        return s;
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};

// The whole program on its main screen, with these records on display.
struct Program
{
    QTemporaryDir dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<GatetallyApp> app;

    explicit Program(const QStringList &records)
    {
        Options options;
        options.dataDir = dir.path();
        app = std::make_unique<GatetallyApp>(options, prompts);
        app->state().clock.setFixed(kNow);
        app->showMainScreen();
        for (const QString &r : records)
            app->state().strRecords.append(r, MakeDisplayLine(r, kNumberMode, app->state().strEntryNames));
    }
};

QStringList listed(const ResultsScreen *s)
{
    QStringList out;
    for (int row = 0; row < s->lstResults->model()->rowCount(); ++row)
        out << s->lstResults->model()->index(row, 0).data().toString();
    return out;
}

// Runs pdftotext -layout over a printed file, one string per page.
QStringList pdfPages(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
}

} // namespace

class TestResults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opening_data();
    void opening();
    void leaving_data();
    void leaving();
    void searchRefineAndNewSearch();
    void resultsFile_data();
    void resultsFile();
    void saveFailures();
    void listing_data();
    void listing();
    void printedColumns();
    void printFailures();
};

// Every control with its caption and tooltip; the lines in the display mode
// of the opening, kept when names and mode change later; Tab order.
void TestResults::opening_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("lines");
    const QString none = QString(10, ' ') + "There were no results for this search";
    QTest::newRow("displayed, names")
        << D << kRecords
        << QStringList{"  3/7/2006    9:05:00 AM    Front Door    VALID        123    012345",
                       "  3/7/2006   10:30:00 PM                  NOT VALID    456    000077"};
    QTest::newRow("stored, no results") << S << QStringList() << QStringList{none};
}

void TestResults::opening()
{
    QFETCH(Twin, twin);
    QFETCH(QStringList, results);
    QFETCH(QStringList, lines);
    Fixture f;
    f.state.strResults = results;
    f.state.setDisplayMode(DisplayMode::Name);
    QScopedPointer<ResultsScreen> s(f.open(twin));
    f.state.strEntryNames[1] = QStringLiteral("Dock");
    f.state.setDisplayMode(DisplayMode::Number);
    QCOMPARE(listed(s.data()), lines);

    const QString controls =
        QString(twin == D ? "frmSearchResults|Display Search Results|;cmdBack|Back|Goes back to the Main screen;"
                          : "frmSavedResults|Stored Search Results|;cmdBack|Back|Goes back to the File Selection screen;")
        + "lstResults||;lblDate|Date|;lblTime|Time|;lblEntryPoint|Entry Point|;lblStatus|Status|;"
          "lblFacilityCode|Facility Code|;lblCardKeyless|Card/Keyless Nbr|;"
          "cmdRefine|Refine this Search|Changes the search parameters;cmdNew|New Search|Sets up a new search;"
          "mnuFile|&File|;mnuFileSaveAs|&Save As|;mnuFilePrint|&Print|;mnuFileClose|&Close|;mnuHelp|&Help|;"
          "mnuHelpAbout|&About|;mnuHelpHelp|&Help|";
    for (const QString &e : controls.split(';')) {
        const QStringList p = e.split('|');
        QObject *o = p[0] == s->objectName() ? s.data() : s->findChild<QObject *>(p[0]);
        QVERIFY2(o, qPrintable(p[0]));
        const char *caption = o->property("text").isValid() ? "text" : o->property("title").isValid() ? "title" : "windowTitle";
        QCOMPARE(p[0] + '|' + (p[1].isEmpty() ? "" : o->property(caption).toString()) + '|'
                     + (o->isWidgetType() ? o->property("toolTip").toString() : QString()),
                 e);
    }
    QStringList menu;
    for (QAction *a : s->findChild<QMenu *>("mnuFile")->actions())
        menu << a->objectName();
    QCOMPARE(menu.join(' '), "mnuFileSaveAs mnuFileSeparatorBar1 mnuFilePrint mnuFileSeparatorBar2 mnuFileClose");
    // No help viewer or About box in this build yet.
    QVERIFY(!s->mnuHelpAbout->isEnabled() && !s->mnuHelpHelp->isEnabled());

    s->show();
    QVERIFY(QTest::qWaitForWindowActive(s.data()));
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order.join(' '), "lstResults cmdRefine cmdNew cmdBack");
}

// Where each command leads, on each twin; the screen closes after.
void TestResults::leaving_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("recordsScreen"); // whether the flow has the records management screen
    QTest::addColumn<Screen>("next");
    QTest::addColumn<bool>("refine");
    QTest::newRow("displayed refine") << D << "cmdRefine" << true << Screen::DisplayedSearch << true;
    QTest::newRow("stored refine") << S << "cmdRefine" << true << Screen::StoredSearch << true;
    QTest::newRow("displayed new") << D << "cmdNew" << true << Screen::DisplayedSearch << false;
    QTest::newRow("stored new") << S << "cmdNew" << true << Screen::StoredSearch << false;
    QTest::newRow("displayed back") << D << "cmdBack" << true << Screen::Main << false;
    QTest::newRow("displayed close") << D << "mnuFileClose" << true << Screen::Main << false;
    QTest::newRow("stored back") << S << "cmdBack" << true << Screen::RecordsManagement << false;
    QTest::newRow("stored close") << S << "mnuFileClose" << true << Screen::RecordsManagement << false;
    QTest::newRow("stored back, no records screen yet") << S << "cmdBack" << false << Screen::Main << false;
}

void TestResults::leaving()
{
    QFETCH(Twin, twin);
    QFETCH(QString, command);
    QFETCH(bool, recordsScreen);
    QFETCH(Screen, next);
    QFETCH(bool, refine);
    Fixture f;
    if (recordsScreen)
        f.flow.present << Screen::RecordsManagement;
    QPointer<ResultsScreen> s = f.open(twin);
    s->show();
    if (command.startsWith("mnu"))
        test::findAction(s, command)->trigger();
    else
        QTest::mouseClick(s->findChild<QPushButton *>(command), Qt::LeftButton);
    QCOMPARE(f.flow.opened, QList<Screen>{next});
    QCOMPARE(f.state.blnRefine, refine);
    QTRY_VERIFY(s.isNull());
}

// Through the program's own flow: a search opens its results with the main
// screen set aside; Refine brings the criteria back, a second search opens
// fresh results, New Search starts empty, Back makes the main screen
// available again.
void TestResults::searchRefineAndNewSearch()
{
    Program p(kRecords);
    GatetallyApp &app = *p.app;
    auto screen = [&](Screen s) { return app.flow().openScreen(s); };

    QTest::mouseClick(app.mainScreen()->cmdRecordsSearch, Qt::LeftButton);
    auto *search = qobject_cast<SearchScreen *>(screen(Screen::DisplayedSearch));
    QTest::keyClicks(search->txtFacility, "456");
    QTest::mouseClick(search->cmdSearch, Qt::LeftButton);
    QPointer<ResultsScreen> results = qobject_cast<ResultsScreen *>(screen(Screen::DisplayedResults));
    QVERIFY(results && !app.navigator().isMainAvailable());
    QCOMPARE(listed(results).size(), 1);
    QTRY_VERIFY(!screen(Screen::DisplayedSearch)); // gone, as the operator would see it

    QTest::mouseClick(results->cmdRefine, Qt::LeftButton);
    QTRY_VERIFY(results.isNull());
    search = qobject_cast<SearchScreen *>(screen(Screen::DisplayedSearch));
    QVERIFY(search && !app.navigator().isMainAvailable());
    QCOMPARE(search->txtFacility->text(), "456");
    search->txtFacility->clear();
    QTest::keyClicks(search->txtFacility, "123");
    QTest::mouseClick(search->cmdSearch, Qt::LeftButton);
    results = qobject_cast<ResultsScreen *>(screen(Screen::DisplayedResults));
    QVERIFY(results);
    QTRY_VERIFY(!screen(Screen::DisplayedSearch));
    QCOMPARE(listed(results), QStringList{MakeDisplayLine(kRecords.at(0), kNumberMode, app.state().strEntryNames)});

    QTest::mouseClick(results->cmdNew, Qt::LeftButton);
    QTRY_VERIFY(results.isNull());
    search = qobject_cast<SearchScreen *>(screen(Screen::DisplayedSearch));
    QVERIFY(search && search->txtFacility->text().isEmpty());
    search->txtFacility->setText("123");
    QTest::mouseClick(search->cmdSearch, Qt::LeftButton);
    results = qobject_cast<ResultsScreen *>(screen(Screen::DisplayedResults));
    QTest::mouseClick(results->cmdBack, Qt::LeftButton);
    QTRY_VERIFY(results.isNull());
    QVERIFY(app.navigator().isMainAvailable() && app.mainScreen()->isEnabled());
    QVERIFY(p.prompts.shown.isEmpty());
}

// File > Save As, byte for byte; it replaces a longer file of the same name
// without a question.
void TestResults::resultsFile_data()
{
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QByteArray>("criteriaLines");
    QTest::addColumn<QByteArray>("body");
    const QByteArray both = "  3/7/2006    9:05:00 AM         2        VALID        123    012345\r\n"
                            "  3/7/2006   10:30:00 PM         3        NOT VALID    456    000077\r\n";
    QTest::newRow("timed, no details") << "9:05:00 AM|10:30:00 PM||||" << kRecords
                                       << QByteArray("     From: 9:05:00 AM\r\n     To:   10:30:00 PM\r\n") << both;
    QTest::newRow("no times, one detail") << "AM 3/7/2006|PM 3/8/2006||NOT VALID||" << kRecords.mid(1)
                                          << QByteArray("     Status:  NOT VALID\r\n") << both.mid(70);
    QTest::newRow("all four details, one time") << "AM 3/7/2006|1:00:00 PM|2|VALID|123|12345" << kRecords.mid(0, 1)
                                                << QByteArray("     From: AM 3/7/2006\r\n     To:   1:00:00 PM\r\n"
                                                              "     Entry Point:  2\r\n     Status:  VALID\r\n"
                                                              "     Facility Code:  123\r\n"
                                                              "     Card/Keyless Number:  12345\r\n")
                                                << both.left(70);
    QTest::newRow("no results") << "AM 3/7/2006|AM 3/7/2006|||999|" << QStringList()
                                << QByteArray("     Facility Code:  999\r\n")
                                << QByteArray("          There were no results for this search\r\n");
}

void TestResults::resultsFile()
{
    QFETCH(QString, criteria);
    QFETCH(QStringList, results);
    QFETCH(QByteArray, criteriaLines);
    QFETCH(QByteArray, body);
    Fixture f;
    f.state.strResults = results;
    f.state.criteria = ::criteria(criteria);
    const QString path = f.path("Records/Search Results.txt");
    QVERIFY(test::writeBytes(path, QByteArray(4000, 'x')));
    QScopedPointer<ResultsScreen> s(f.open(D));
    f.prompts.fileNames << path;
    s->mnuFileSaveAs->trigger();

    QCOMPARE(f.prompts.dialogs.size(), 1);
    const Prompts::SaveDialog d = f.prompts.dialogs.at(0);
    QCOMPARE(d.filter + '|' + QString::number(d.filterIndex) + '|' + d.proposedName,
             "Text documents (*.txt)|*.txt||1|Search Results.txt");
    QCOMPARE(d.initialFolder, QDir::toNativeSeparators(f.path("Records")));
    QCOMPARE(test::readBytes(path), "\r\nSearch results saved 3/7/2006  2:05:09 PM\r\n\r\n     Search Criteria:\r\n\r\n"
                                        + criteriaLines + "\r\n"
                                        + "    DATE         TIME          ENTRY       STATUS     CODE    NUMBER\r\n\r\n"
                                        + body);
    QVERIFY(f.prompts.shown.isEmpty());
}

// No name: the system's message. A file that cannot be written: told with
// its name and reason, and an older report of that name left whole.
void TestResults::saveFailures()
{
    Fixture f;
    f.state.strResults = kRecords;
    QScopedPointer<ResultsScreen> s(f.open(S));
    f.prompts.fileNames << "";
    s->mnuFileSaveAs->trigger();
    QCOMPARE(f.prompts.texts(), QStringList{"Please select a file name"});
    QVERIFY(f.prompts.shown.at(0).icon == Prompts::Icon::Critical && f.prompts.shown.at(0).buttons == Prompts::Ok);

    f.prompts.reset();
    const QString path = f.path("report.txt");
    QVERIFY(test::writeBytes(path, "an older report\r\n"));
    {
        const test::FileSizeLimit full(200); // the report is longer than that
        f.prompts.fileNames << path;
        s->mnuFileSaveAs->trigger();
    }
    QCOMPARE(f.prompts.texts(), QStringList{"The search results file " + QDir::toNativeSeparators(path)
                                            + " could not be written:\r\nOnly part of the data could be written (the disk may be full)."});
    QCOMPARE(test::readBytes(path), QByteArray("an older report\r\n"));
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList{"report.txt"}); // no leftovers
}

// Each listing line by line: "B16|" marks a 16-point bold line, "B|" a bold one.
void TestResults::listing_data()
{
    QTest::addColumn<Listing>("listing");
    QTest::addColumn<bool>("arial");
    QTest::addColumn<bool>("highest");
    QTest::addColumn<QStringList>("lines");

    const QStringList six(6);
    const QString header = "B|             DATE         TIME          ENTRY       STATUS     CODE    NUMBER";
    const QStringList display{"  3/7/2006    9:05:00 AM         2        VALID        123    012345"};
    const QString body = "           3/7/2006    9:05:00 AM         2        VALID        123    012345";
    const QString title = "Quorvel Gatetally";
    QTest::newRow("main screen") << mainScreenListing(title, display, kNow) << false << true
                                 << six + QStringList{"B16|" + QString(18, ' ') + title, "", "",
                                                      QString(26, ' ') + "Records printed 3/7/2006  2:05:09 PM", "", "",
                                                      header, "", body};
    QTest::newRow("main screen, empty title") << mainScreenListing("", {}, kNow) << false << true
                                              << six + QStringList{"B16|" + QString(27, ' '), "", "",
                                                                   QString(26, ' ') + "Records printed 3/7/2006  2:05:09 PM",
                                                                   "", "", header, ""};
    const QString stamp = QString(9, ' ') + "Search results printed 3/7/2006  2:05:09 PM";
    QTest::newRow("displayed results, timed")
        << resultsListing(ResultsOf::DisplayedRecords, title, criteria("9:05:00 AM|10:30:00 PM||||"), display, kNow)
        << false << false
        << six + QStringList{"B16|" + QString(16, ' ') + title, "", "", stamp, "", QString(14, ' ') + "Search Criteria:",
                             "", QString(14, ' ') + "From: 9:05:00 AM", QString(14, ' ') + "To:   10:30:00 PM", "", "",
                             header, "", body};
    QTest::newRow("stored results, none found, details")
        << resultsListing(ResultsOf::StoredFile, "", criteria("AM //2006|PM //2006|4|OFF|123|77"),
                          {QString(10, ' ') + "There were no results for this search"}, kNow)
        << false << true
        << six + QStringList{"B16|" + QString(24, ' '), "", "", stamp, "", QString(14, ' ') + "Search Criteria:", "",
                             QString(14, ' ') + "Entry Point:  4", QString(14, ' ') + "Status:  OFF",
                             QString(14, ' ') + "Facility Code:  123", QString(14, ' ') + "Card/Keyless Number:  77", "",
                             "", header, "", QString(19, ' ') + "There were no results for this search"};

    static QTemporaryDir dir;
    const QString file = dir.filePath(QString(60, 'n') + ".txt");
    test::writeBytes(file, "\r\n Saved 3/7/2006\r\nlast line, no line end");
    QString error;
    QTest::newRow("file contents, over-long title")
        << fileContentsListing(file, fileContentsTitle(dir.path(), file), kNow, &error) << false << true
        << six + QStringList{"B16|" + QString(60, 'n'), "", "", QString(26, ' ') + "Records printed 3/7/2006  2:05:09 PM",
                             "", QString(9, ' '), QString(9, ' ') + " Saved 3/7/2006",
                             QString(9, ' ') + "last line, no line end"};
    QTest::newRow("help") << helpListing("Help\r\n\r\n  Searching\r\n") << true << true
                          << six + QStringList{"Help", "", "  Searching"};
}

void TestResults::listing()
{
    QFETCH(Listing, listing);
    QFETCH(bool, arial);
    QFETCH(bool, highest);
    QFETCH(QStringList, lines);
    QStringList got;
    for (const ListingLine &l : listing.lines)
        got << (l.pointSize == 16 && l.bold ? "B16|" : l.bold ? "B|" : l.pointSize == 10 ? "" : "?|") + l.text;
    QCOMPARE(got, lines);
    QCOMPARE(listing.face == Listing::Face::Arial, arial);
    QCOMPARE(listing.highestQuality, highest);
}

// The main screen's File > Print through the real renderer into a PDF: each
// header word stands over its column, and a full page of records (60 and
// more) reads back whole. Cancelling the dialog prints nothing.
void TestResults::printedColumns()
{
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext (poppler-utils) is needed");
    QStringList records;
    for (int i = 0; i < 150; ++i)
        records << record("3/7/2006 10:30:00 PM", QString("%1 N 456 %2").arg(i % 9 + 1).arg(i, 6, 10, QChar('0')));
    Program p(records);
    GatetallyApp &app = *p.app;
    test::ScriptedPrompts &prompts = p.prompts;
    prompts.printCancels = 1;
    app.mainScreen()->mnuFilePrint->trigger();
    QVERIFY(prompts.printed.isEmpty() && prompts.shown.isEmpty());

    app.mainScreen()->mnuFilePrint->trigger();
    QCOMPARE(prompts.printed.size(), 1);
    QVERIFY(prompts.shown.isEmpty());
    const QStringList pages = pdfPages(prompts.printed.at(0));
    QVERIFY(pages.size() >= 3);
    const QStringList first = pages.at(0).split('\n');
    const int h = int(first.indexOf(QRegularExpression("^\\s*DATE\\s+TIME\\s+ENTRY\\s+STATUS\\s+CODE\\s+NUMBER\\s*$")));
    QVERIFY(h > 0);
    const QString head = first.at(h);
    const QString row = first.at(h + 2);
    QVERIFY2(row.contains("000000"), qPrintable(row));
    // Header word -> the field of the record line it names (by its first and last characters).
    const QList<QPair<QString, QString>> columns{{"DATE", "3/7/2006"}, {"TIME", "10:30:00 PM"}, {"ENTRY", " 1 "},
                                                 {"STATUS", "NOT VALID"}, {"CODE", "456"},   {"NUMBER", "000000"}};
    for (const auto &[word, field] : columns) {
        const qsizetype w = head.indexOf(word), c = row.indexOf(field);
        QVERIFY2(w >= 0 && c >= 0 && w < c + field.size() && c < w + word.size(), qPrintable(word + ": " + head + "\n" + row));
    }
    const QRegularExpression recordRow("^\\s*3/7/2006\\s+10:30:00 PM\\s+\\d\\s+NOT VALID\\s+456\\s+\\d{6}$");
    QCOMPARE(pages.at(1).split('\n').filter(recordRow).size() >= 60, true);
    int found = 0;
    for (const QString &page : pages)
        found += int(page.split('\n').filter(recordRow).size());
    QCOMPARE(found, 150);
}

// A printer that cannot be used and a file that cannot be read are told,
// with the name and the reason; the vanished file is not made again.
void TestResults::printFailures()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath("gone/listing.pdf");
    printer.setOutputFileName(pdf);
    QCOMPARE(renderListing(helpListing("Help"), printer),
             "The listing could not be printed on " + QDir::toNativeSeparators(pdf) + ":\r\nNo such file or directory");

    test::ScriptedPrompts prompts;
    const QString gone = dir.filePath("Records/gone.txt");
    printListing(prompts, [&](QString *problem) { return fileContentsListing(gone, "gone", kNow, problem); });
    QCOMPARE(prompts.texts(), QStringList{"The file " + QDir::toNativeSeparators(gone)
                                          + " could not be read for printing:\r\nNo such file or directory"});
    QVERIFY(!QFile::exists(gone) && !QFile::exists(prompts.printed.value(0)));
}

QTEST_MAIN(TestResults)
#include "tst_results.moc"
