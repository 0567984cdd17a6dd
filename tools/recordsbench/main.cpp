// gatetally-recordsbench: times Open and a card Search of the records
// management screen over one stored records file, the way the operator runs
// them (see bench/records.sh and bench/run).
//
//   gatetally-recordsbench open DATA_DIR FILE_NAME
//   gatetally-recordsbench search DATA_DIR FILE_NAME CARD
//
// DATA_DIR holds setup.txt and Records/FILE_NAME. "open" clicks Open and
// notes the first paint of the file contents list, then the end of its
// indexing; "search" clicks Search, types the card number on the stored-file
// search screen, clicks its Search and stops the clock at the first paint of
// the results screen.
// Prints one line: the mode, the two times in milliseconds (the second -1
// for a search), the rows or results, the program's own memory (RssAnon)
// before the click and at the end and the peak resident memory, in KiB, and
// the longest the event loop was kept from a 10 ms timer meanwhile, in
// milliseconds: how late records arriving on the serial line could be taken.

#include "../common/PeakMemory.h"
#include "Receiver.h" // AppScreenFlow.h needs it complete
#include "AppScreenFlow.h"
#include "FileContentsScreen.h"
#include "FileLines.h"
#include "SearchScreen.h"
#include "RuleLineEdit.h"
#include "Navigator.h"
#include "Prompts.h"
#include "RecordsScreen.h"
#include "Settings.h"
#include "State.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QListView>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTest>
#include <cstdio>

namespace {

// Says nothing and answers nothing: a benchmark that meets a question has
// gone wrong, and that is reported.
struct SilentPrompts : gt::Prompts
{
    int shown = 0;
    Button message(const QString &text, Icon, Buttons, const QString &) override
    {
        ++shown;
        std::fprintf(stderr, "prompt: %s\n", qPrintable(text));
        return No;
    }
    QString saveFileName(const SaveDialog &) override { return QString(); }
    std::unique_ptr<QPrinter> choosePrinter() override { return nullptr; }
};

// Notes the first event of a kind on an object.
struct FirstEvent : QObject
{
    QEvent::Type type;
    bool seen = false;
    explicit FirstEvent(QEvent::Type t) : type(t) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == type)
            seen = true;
        return false;
    }
};

} // namespace

// Runs the events until `done` holds.
template <typename Done>
void runUntil(Done &&done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool open = args.value(1) == QLatin1String("open");
    if ((open && args.size() != 4) || (!open && (args.value(1) != QLatin1String("search") || args.size() != 5))) {
        std::fprintf(stderr, "usage: gatetally-recordsbench open DATA_DIR FILE_NAME\n"
                             "       gatetally-recordsbench search DATA_DIR FILE_NAME CARD\n");
        return 2;
    }
    gt::GatetallyState state(args[2]);
    gt::loadSettings(state);
    SilentPrompts prompts;
    gt::Navigator navigator;
    gt::AppScreenFlow flow(state, prompts, navigator);

    flow.open(gt::Screen::RecordsManagement);
    auto *screen = qobject_cast<gt::RecordsScreen *>(flow.openScreen(gt::Screen::RecordsManagement));
    if (!screen || !QTest::qWaitForWindowExposed(screen))
        return 1;
    const QList<QListWidgetItem *> items = screen->filRecords->findItems(args[3], Qt::MatchExactly);
    if (items.isEmpty())
        return 1;
    screen->filRecords->setCurrentItem(items.first());

    // The serial line is read on this thread: a timer ticking every 10 ms
    // shows how long its events could have waited.
    QElapsedTimer sinceTick;
    qint64 longestWait = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestWait = qMax(longestWait, sinceTick.restart());
    });

    QElapsedTimer clock;
    long long count = 0;
    qint64 first = -1, second = -1;
    long before = 0;
    if (open) {
        before = gt::bench::anonKiB();
        sinceTick.start();
        ticker.start(10);
        clock.start();
        QTest::mouseClick(screen->cmdOpen, Qt::LeftButton);
        auto *contents = qobject_cast<gt::FileContentsScreen *>(flow.openScreen(gt::Screen::FileContents));
        if (!contents)
            return 1;
        auto *lines = qobject_cast<gt::stored::FileLines *>(contents->lstFileDisplay->model());
        bool indexed = false;
        QObject::connect(lines, &gt::stored::FileLines::indexed, [&] { indexed = true; });
        FirstEvent painted(QEvent::Paint);
        contents->lstFileDisplay->viewport()->installEventFilter(&painted);
        runUntil([&] { return painted.seen; });
        first = clock.elapsed();
        runUntil([&] { return indexed; });
        // Scrollable to the end: the list has laid out every row.
        QScrollBar *bar = contents->lstFileDisplay->verticalScrollBar();
        const int rows = lines->rowCount();
        runUntil([&] { return bar->maximum() > 0 && bar->maximum() + contents->lstFileDisplay->height() / 8 >= rows; });
        second = clock.elapsed();
        std::fprintf(stderr, "scroll bar maximum %d for %d rows\n", bar->maximum(), rows);
        count = lines->rowCount();
        std::fprintf(stderr, "index: %lld bytes, %.2f a line\n", (long long)lines->indexBytes(),
                     count ? double(lines->indexBytes()) / double(count) : 0.0);
    } else {
        QTest::mouseClick(screen->cmdRecordsSearch, Qt::LeftButton);
        auto *search = qobject_cast<gt::SearchScreen *>(flow.openScreen(gt::Screen::StoredSearch));
        if (!search || !QTest::qWaitForWindowExposed(search))
            return 1;
        search->txtCardKeyless->setText(args[4]);
        before = gt::bench::anonKiB();
        sinceTick.start();
        ticker.start(10);
        clock.start();
        QTest::mouseClick(search->cmdSearch, Qt::LeftButton);
        QWidget *results = nullptr;
        runUntil([&] { return (results = flow.openScreen(gt::Screen::StoredResults)) != nullptr; });
        FirstEvent painted(QEvent::Paint);
        results->installEventFilter(&painted);
        runUntil([&] { return painted.seen; });
        first = clock.elapsed();
        count = state.intResultCount();
    }
    longestWait = qMax(longestWait, sinceTick.elapsed());
    std::printf("%s %lld %lld %lld %ld %ld %ld %lld\n", open ? "open" : "search", (long long)first, (long long)second,
                count, before, gt::bench::anonKiB(), gt::bench::peakKiB(), (long long)longestWait);
    return prompts.shown == 0 ? 0 : 1;
}
