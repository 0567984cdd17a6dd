// gatetally-recordsbench: times Open and Search of the records management
// screen over one stored records file, the way the operator runs them (see
// bench/records.sh).
//
//   gatetally-recordsbench open|search DATA_DIR FILE_NAME
//
// DATA_DIR holds setup.txt and Records/FILE_NAME. "open" clicks Open and
// stops the clock at the first paint of the file contents list; "search"
// clicks Search and stops it at the first paint of the stored-file search
// screen.
// Prints the time in milliseconds, the number of rows or record lines, and
// the peak resident memory before the click and at the end, in KiB.

#include "../common/PeakMemory.h"
#include "Receiver.h" // AppScreenFlow.h needs it complete
#include "AppScreenFlow.h"
#include "FileContentsScreen.h"
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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 || (args[1] != QLatin1String("open") && args[1] != QLatin1String("search"))) {
        std::fprintf(stderr, "usage: gatetally-recordsbench open|search DATA_DIR FILE_NAME\n");
        return 2;
    }
    const bool open = args[1] == QLatin1String("open");
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
    const long before = gt::bench::peakKiB();

    QElapsedTimer clock;
    long long count = 0;
    if (open) {
        clock.start();
        QTest::mouseClick(screen->cmdOpen, Qt::LeftButton);
        auto *contents = qobject_cast<gt::FileContentsScreen *>(flow.openScreen(gt::Screen::FileContents));
        if (!contents)
            return 1;
        FirstEvent painted(QEvent::Paint);
        contents->lstFileDisplay->viewport()->installEventFilter(&painted);
        while (!painted.seen)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        count = contents->lstFileDisplay->model()->rowCount();
    } else {
        clock.start();
        QTest::mouseClick(screen->cmdRecordsSearch, Qt::LeftButton);
        QWidget *search = flow.openScreen(gt::Screen::StoredSearch);
        if (!search)
            return 1;
        FirstEvent painted(QEvent::Paint);
        search->installEventFilter(&painted);
        while (!painted.seen)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        count = state.strStoredRecords.size();
    }
    const qint64 ms = clock.elapsed();
    std::printf("%s %lld ms %lld lines %ld KiB before %ld KiB peak\n", open ? "open" : "search", (long long)ms, count,
                before, gt::bench::peakKiB());
    return prompts.shown == 0 ? 0 : 1;
}
