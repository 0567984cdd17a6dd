#include "FileSizeLimit.h"
#include "GatetallyApp.h"
#include "ListingPrinter.h"
#include "MainScreen.h"
#include "Program.h"
#include "ResultsScreen.h"
#include "Screens.h"
#include "ScriptedPrompts.h"
#include "SearchTestData.h"
#include "TestFiles.h"

#include <QListView>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace gt;
using namespace gt::results;
using Twin = ResultsScreen::Twin;

Q_DECLARE_METATYPE(gt::ResultsScreen::Twin)
Q_DECLARE_METATYPE(gt::SearchCriteria)

namespace {

const QDateTime kNow(QDate(2006, 3, 7), QTime(14, 5, 9));
const Twin D = Twin::Displayed, S = Twin::Stored;

const QStringList kRecords{test::recordAt("3/7/2006 9:05:00 AM", "2 V 123 012345"),
                           test::recordAt("3/7/2006 10:30:00 PM", "3 N 456 000077")};

struct Fixture : test::ScreenDesk
{
    Fixture()
    {
        state.clock.setFixed(kNow);
        state.strEntryNames[1] = QStringLiteral("Front Door");
        QDir(dir.path()).mkpath(QStringLiteral("Records"));
    }
};

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
    void screen_data();
    void screen();
    void resultsFile_data();
    void resultsFile();
    void listing_data();
    void listing();
    void printedColumns();
    void printFailures();
};

// Each twin's captions; its lines in the display mode and with the names of
// the opening, kept when both change later; where each command leads.
void TestResults::screen_data()
{
    QTest::addColumn<Twin>("twin");
    QTest::addColumn<QString>("command"); // New Search: on a search that found nothing
    QTest::addColumn<Screen>("next");
    QTest::newRow("displayed, refine") << D << "cmdRefine" << Screen::DisplayedSearch;
    QTest::newRow("stored, none found, new") << S << "cmdNew" << Screen::StoredSearch;
    QTest::newRow("displayed, close") << D << "mnuFileClose" << Screen::Main;
    QTest::newRow("stored, back") << S << "cmdBack" << Screen::RecordsManagement;
}

void TestResults::screen()
{
    QFETCH(Twin, twin);
    QFETCH(QString, command);
    QFETCH(Screen, next);
    const QStringList lines = command == "cmdNew"
        ? QStringList{QString(10, ' ') + "There were no results for this search"}
        : QStringList{"  3/7/2006    9:05:00 AM    Front Door    VALID        123    012345",
                      "  3/7/2006   10:30:00 PM                  NOT VALID    456    000077"};
    Fixture f;
    f.state.strResults = command == "cmdNew" ? QStringList() : kRecords;
    f.state.setDisplayMode(DisplayMode::Name);
    QPointer<ResultsScreen> s = f.open<ResultsScreen>(twin);
    f.state.strEntryNames[1] = QStringLiteral("Dock");
    f.state.setDisplayMode(DisplayMode::Number);
    QCOMPARE(test::rowTexts(s->lstResults), lines);
    const QString controls =
        QString(twin == D ? "frmSearchResults|Display Search Results|;cmdBack|Back|Goes back to the Main screen;"
                          : "frmSavedResults|Stored Search Results|;cmdBack|Back|Goes back to the File Selection screen;")
        + "lblEntryPoint|Entry Point|;lblFacilityCode|Facility Code|;lblCardKeyless|Card/Keyless Nbr|;"
          "cmdRefine|Refine this Search|Changes the search parameters;cmdNew|New Search|Sets up a new search";
    QCOMPARE(test::controlTexts(s, controls), controls.split(';'));

    if (command.startsWith("mnu"))
        test::findAction(s, command)->trigger();
    else
        QTest::mouseClick(s->findChild<QPushButton *>(command), Qt::LeftButton);
    QCOMPARE(f.flow.opened, QList<Screen>{next});
    QCOMPARE(f.state.blnRefine, command == "cmdRefine");
    QTRY_VERIFY(s.isNull());
    QVERIFY(f.prompts.shown.isEmpty());
}

// File > Save As over an older, longer file of the same name: the report
// byte for byte, replacing it without a question. No name: the system's
// message. A file that cannot be written (a full disk): told with its name
// and the reason, the older file left whole and nothing else left behind.
struct Saving
{
    QString message = {};                     // "DIR": the data folder; none: the report written
    QByteArray file = QByteArray(4000, 'x');  // afterwards; the older file when nothing was written
    SearchCriteria criteria{.strCritFacility = "999", .strFromTime = "AM 3/7/2006", .strToTime = "AM 3/7/2006"};
    QStringList results = kRecords;
    bool named = true;       // a name given in the Save dialog
    int diskLimit = 0;       // bytes a file may grow to; 0: no limit
    bool autosaving = false; // autosave appends to the file chosen
};
Q_DECLARE_METATYPE(Saving)

void TestResults::resultsFile_data()
{
    QTest::addColumn<Saving>("c");
    const auto report = [](const QByteArray &criteriaLines, const QByteArray &body) {
        return "\r\nSearch results saved 3/7/2006  2:05:09 PM\r\n\r\n     Search Criteria:\r\n\r\n" + criteriaLines
            + "\r\n    DATE         TIME          ENTRY       STATUS     CODE    NUMBER\r\n\r\n" + body;
    };
    QTest::newRow("all four details, one time") << Saving{
        .file = report("     From: AM 3/7/2006\r\n     To:   1:00:00 PM\r\n     Entry Point:  2\r\n     Status:  VALID\r\n"
                       "     Facility Code:  123\r\n     Card/Keyless Number:  12345\r\n",
                       "  3/7/2006    9:05:00 AM         2        VALID        123    012345\r\n"
                       "  3/7/2006   10:30:00 PM         3        NOT VALID    456    000077\r\n"),
        .criteria = {"2", "VALID", "123", "12345", "AM 3/7/2006", "1:00:00 PM"}};
    QTest::newRow("no times, one detail, no results") << Saving{
        .file = report("     Facility Code:  999\r\n", "          There were no results for this search\r\n"), .results = {}};
    QTest::newRow("no name") << Saving{.message = "Please select a file name", .named = false};
    QTest::newRow("disk full") << Saving{.message = "The search results file DIR/Records/Search Results.txt could not be "
                                                    "written:\r\nOnly part of the data could be written (the disk may be full).",
                                         .diskLimit = 300};
    QTest::newRow("the file autosave writes to")
        << Saving{.message = "The file Search Results.txt is the records file that autosave is writing to:\r\nsaving here "
                             "would replace the records in it. Nothing was written;\r\nplease choose another name.",
                  .autosaving = true};
}

void TestResults::resultsFile()
{
    QFETCH(Saving, c);
    Fixture f;
    f.state.strResults = c.results;
    f.state.criteria = c.criteria;
    const QString path = f.dir.filePath("Records/Search Results.txt");
    QVERIFY(test::writeBytes(path, QByteArray(4000, 'x')));
    f.state.blnAutosave = c.autosaving;
    f.state.strAutosaveFile = path;
    QScopedPointer<ResultsScreen> s(f.open<ResultsScreen>(D));
    f.prompts.fileNames << (c.named ? path : "");
    {
        std::optional<test::FileSizeLimit> full;
        if (c.diskLimit)
            full.emplace(c.diskLimit);
        s->mnuFileSaveAs->trigger();
    }
    QCOMPARE(test::readBytes(path), c.file);
    QCOMPARE(QDir(f.dir.filePath("Records")).entryList(QDir::Files), QStringList{"Search Results.txt"});
    QCOMPARE(f.prompts.texts().join(""), QString(c.message).replace("DIR", f.dir.path()));
    for (const auto &shown : std::as_const(f.prompts.shown))
        QVERIFY(shown.icon == (c.diskLimit || c.autosaving ? Prompts::Icon::Warning : Prompts::Icon::Critical));
    const Prompts::SaveDialog d = f.prompts.dialogs.value(0);
    QCOMPARE(d.filter + '|' + QString::number(d.filterIndex) + '|' + d.proposedName + '|' + d.initialFolder,
             "Text documents (*.txt)|*.txt||1|Search Results.txt|" + QDir::toNativeSeparators(f.dir.filePath("Records")));
}

// Each listing line by line: "B16|" marks a 16-point bold line, "B|" a bold one, "?|" another.
void TestResults::listing_data()
{
    QTest::addColumn<Listing>("listing");
    QTest::addColumn<bool>("highest");
    QTest::addColumn<QStringList>("lines");

    const QString header = "B|             DATE         TIME          ENTRY       STATUS     CODE    NUMBER";
    const QString line = "  3/7/2006    9:05:00 AM         2        VALID        123    012345";
    const QString title = "Quorvel Gatetally", in9(9, ' '), in14(14, ' ');
    // Six empty lines, the title line, two empty lines, the printed-at line.
    const auto head = [](const QString &titleLine, int indent, const QString &label) {
        return QStringList(6) + QStringList{"B16|" + titleLine, "", "", QString(indent, ' ') + label + "3/7/2006  2:05:09 PM"};
    };
    const QString records = "Records printed ", results = "Search results printed ";
    QTest::newRow("main screen") << mainScreenListing(title, {line}, kNow) << true
                                 << head(QString(18, ' ') + title, 26, records) + QStringList{"", "", header, "", in9 + line};
    QTest::newRow("displayed results, timed")
        << resultsListing(ResultsOf::DisplayedRecords, title, {.strFromTime = "9:05:00 AM", .strToTime = "10:30:00 PM"}, {line},
                          kNow)
        << false
        << head(QString(16, ' ') + title, 9, results)
               + QStringList{"", in14 + "Search Criteria:", "", in14 + "From: 9:05:00 AM", in14 + "To:   10:30:00 PM", "",
                             "", header, "", in9 + line};
    static QTemporaryDir dir;
    const QString file = dir.filePath(QString(60, 'n') + ".txt");
    test::writeBytes(file, "\r\n Saved 3/7/2006\r\nlast line, no line end");
    QString error;
    QTest::newRow("file contents, over-long title")
        << fileContentsListing(file, fileContentsTitle(dir.path(), file), kNow, &error) << true
        << head(QString(60, 'n'), 26, records) + QStringList{"", in9, in9 + " Saved 3/7/2006", in9 + "last line, no line end"};
}

void TestResults::listing()
{
    QFETCH(Listing, listing);
    QFETCH(bool, highest);
    QFETCH(QStringList, lines);
    QStringList got;
    for (const ListingLine &l : listing.allLines())
        got << (l.pointSize == 16 && l.bold ? "B16|" : l.bold ? "B|" : l.pointSize == 10 ? "" : "?|") + l.text;
    QCOMPARE(got, lines);
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
        records << test::recordAt("3/7/2006 10:30:00 PM",
                                  QString("%1 N 456 %2").arg(i % 9 + 1).arg(i, 6, 10, QChar('0')));
    test::Program p;
    GatetallyApp &app = p.make(kNow);
    app.showMainScreen();
    for (const QString &r : records)
        app.state().strRecords.append(r, MakeDisplayLine(r, kNumberMode, app.state().strEntryNames));
    p.prompts.printCancels = 1;
    app.mainScreen()->mnuFilePrint->trigger();
    QVERIFY(p.prompts.printed.isEmpty() && p.prompts.shown.isEmpty());
    app.mainScreen()->mnuFilePrint->trigger();
    QVERIFY(p.prompts.printed.size() == 1 && p.prompts.shown.isEmpty());
    const QStringList pages = pdfPages(p.prompts.printed.at(0));
    QVERIFY(pages.size() >= 3);
    const QStringList first = pages.at(0).split('\n');
    const int h = int(first.indexOf(QRegularExpression("^\\s*DATE\\s+TIME\\s+ENTRY\\s+STATUS\\s+CODE\\s+NUMBER\\s*$")));
    QVERIFY(h > 0);
    const QString head = first.at(h), row = first.at(h + 2);
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
// with the name and the reason; the vanished file is not made again. A
// usable printer keeps its resolution.
void TestResults::printFailures()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath("gone/listing.pdf");
    printer.setOutputFileName(pdf);
    QCOMPARE(renderListing(helpListing("Help"), printer),
             "The listing could not be printed on " + QDir::toNativeSeparators(pdf) + ":\r\nNo such file or directory");
    // The highest quality never lowers the resolution a printer already has.
    printer.setOutputFileName(dir.filePath("listing.pdf"));
    QCOMPARE(renderListing(helpListing("Help"), printer) + QString::number(printer.resolution()), "1200");

    test::ScriptedPrompts prompts;
    const QString gone = dir.filePath("Records/gone.txt");
    printListing(prompts, [&](QString *problem) { return fileContentsListing(gone, "gone", kNow, problem); });
    QCOMPARE(prompts.texts(), QStringList{"The file " + QDir::toNativeSeparators(gone)
                                          + " could not be read for printing:\r\nNo such file or directory"});
    QVERIFY(!QFile::exists(gone) && !QFile::exists(prompts.printed.value(0)));
}

QTEST_MAIN(TestResults)
#include "tst_results.moc"
