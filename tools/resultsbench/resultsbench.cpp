// gatetally-resultsbench: times opening a results screen over N results
// until its list is first painted, and printing a listing of N results to a
// PDF file through the real renderer (see bench/results.sh).
//
//   gatetally-resultsbench --open N [--stored FILE] [--names] [--grab FILE.png]
//
// --stored takes the results as a stored-file search hands them over: the
// places of the first N record lines of FILE, read from it when shown. The
// open line ends with the program's own memory (RssAnon) at the end, in KiB.
//   gatetally-resultsbench --print N --pdf FILE.pdf

#include "../common/PeakMemory.h"
#include "ListingPrinter.h"
#include "RecordSource.h"
#include "Prompts.h"
#include "ResultsScreen.h"
#include "ScreenFlow.h"
#include "State.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QListView>
#include <QPrinter>
#include <cstdio>

using namespace gt;

namespace {

struct NoFlow : ScreenFlow
{
    void open(Screen, QWidget *) override {}
};

struct NoPrompts : Prompts
{
    Button message(const QString &, Icon, Buttons, const QString &) override { return Ok; }
    QString saveFileName(const SaveDialog &) override { return {}; }
    std::unique_ptr<QPrinter> choosePrinter() override { return nullptr; }
};

// Record lines as the receiver makes them, one a second from 3/7/2006 on.
QStringList records(int count)
{
    QStringList lines;
    lines.reserve(count);
    const QDateTime start(QDate(2006, 3, 7), QTime(0, 0));
    for (int i = 0; i < count; ++i) {
        const QString message = QStringLiteral("%1 %2 %3 %4")
                                    .arg(i % 9 + 1)
                                    .arg(QChar(i % 7 == 0 ? 'N' : 'V'))
                                    .arg(100 + i % 20)
                                    .arg(i % 5000, 6, 10, QLatin1Char('0'));
        lines.append(buildRecordLine(message, start.addSecs(i)));
    }
    return lines;
}

// Notes the first paint of a widget.
struct FirstPaint : QObject
{
    bool painted = false;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(o, e);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption open(QStringLiteral("open"), QStringLiteral("Open a results screen of N results."),
                                  QStringLiteral("N"));
    const QCommandLineOption names(QStringLiteral("names"), QStringLiteral("Show entry point names."));
    const QCommandLineOption grab(QStringLiteral("grab"), QStringLiteral("Save a picture of the screen."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption print(QStringLiteral("print"), QStringLiteral("Print a listing of N results."),
                                   QStringLiteral("N"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("The PDF file to print to."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption stored(QStringLiteral("stored"),
                                    QStringLiteral("Results as places of the record lines of this records file."),
                                    QStringLiteral("FILE"));
    parser.addOptions({open, stored, names, grab, print, pdf});
    parser.addHelpOption();
    parser.process(app);

    GatetallyState state;
    state.clock.setFixed(QDateTime(QDate(2006, 3, 8), QTime(14, 5, 9)));
    for (int i = 0; i < 9; ++i)
        state.strEntryNames[i] = QStringLiteral("Door %1").arg(i + 1);
    NoFlow flow;
    NoPrompts prompts;

    if (parser.isSet(open)) {
        if (parser.isSet(stored)) {
            const qsizetype wanted = parser.value(open).toInt();
            auto file = std::make_shared<QFile>(parser.value(stored));
            QVector<qint64> starts;
            starts.reserve(wanted);
            if (!search::detail::openForScan(*file, nullptr)
                || !search::scanRecordPlaces(
                    *file, QByteArray(),
                    [&](const char *, qsizetype, qint64 at) {
                        if (starts.size() < wanted)
                            starts.append(at);
                    },
                    [&](qint64, qint64) { return starts.size() < wanted; }))
                return 1;
            state.strResults = SearchResults(file, starts);
        } else {
            state.strResults = records(parser.value(open).toInt());
        }
        if (parser.isSet(names))
            state.setDisplayMode(DisplayMode::Name);
        FirstPaint paint;
        QElapsedTimer timer;
        timer.start();
        ResultsScreen screen(ResultsScreen::Twin::Displayed, state, prompts, flow);
        screen.lstResults->viewport()->installEventFilter(&paint);
        screen.show();
        while (!paint.painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qint64 ms = timer.elapsed();
        // Scrolling to the end makes the view reach the last rows too.
        timer.restart();
        screen.lstResults->scrollToBottom();
        QCoreApplication::processEvents();
        std::printf("open %d results: %lld ms to the first paint, %lld ms to scroll to the end, anon %ld KiB\n",
                    int(state.strResults.size()), ms, timer.elapsed(), bench::anonKiB());
        if (parser.isSet(grab)) {
            screen.lstResults->scrollToTop();
            screen.grab().save(parser.value(grab));
        }
    }
    if (parser.isSet(print)) {
        state.strResults = records(parser.value(print).toInt());
        state.criteria.strFromTime = QStringLiteral("12:00:00 AM");
        state.criteria.strToTime = QStringLiteral("11:59:00 PM");
        QElapsedTimer timer;
        timer.start();
        const results::ResultLines lines(state.strResults, state.strDisplayMode, state.strEntryNames);
        const results::Listing listing = results::resultsListing(
            results::ResultsOf::StoredFile, QStringLiteral("Quorvel Gatetally"), state.criteria, lines.lines(),
            state.clock.now());
        const qint64 built = timer.elapsed();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(parser.value(pdf));
        timer.restart();
        const QString problem = results::renderListing(listing, printer);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
        std::printf("print %d results: %lld ms to build the listing, %lld ms to render the PDF\n",
                    int(state.strResults.size()), built, timer.elapsed());
    }
    return 0;
}
