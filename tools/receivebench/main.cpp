// gatetally-receivebench: how fast the receive path takes a burst.
//
// 1. Line: gatetally-panel --pty --burst writes the messages into a
//    pseudo-terminal as fast as it takes them; the receiver listens through
//    the real QSerialPort with autosave on and the main screen showing the
//    list. Measured from the port's opening until every record is on the
//    display and in the autosave file.
// 2. Path alone: the same messages handed to the receiver through an
//    in-memory line, to see the cost per record without the line.

#include "MainScreen.h"
#include "ScreenFlow.h"

#include <QPrinter>
#include "PanelSim.h"
#include "PortLink.h"
#include "Prompts.h"
#include "Receiver.h"
#include "RecordLine.h"
#include "RecordsFile.h"
#include "State.h"
#include "TextFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace gt;

namespace {

// Counts the boxes instead of showing them.
class CountingPrompts : public Prompts
{
public:
    int shown = 0;
    Button message(const QString &, Icon, Buttons, const QString &) override
    {
        ++shown;
        return Ok;
    }
    QString saveFileName(const SaveDialog &) override { return QString(); }
    std::unique_ptr<QPrinter> choosePrinter() override { return nullptr; }
};

// The main screen opens nothing here.
struct NoFlow : ScreenFlow
{
    void open(Screen, QWidget *) override {}
};

struct Outcome
{
    double seconds = 0;
    int displayed = 0;
    int inFile = 0;
};

int recordLinesIn(const QString &path)
{
    QStringList lines;
    if (!readTextLines(path, &lines))
        return -1;
    int n = 0;
    for (const QString &l : lines)
        n += isRecordLine(l) ? 1 : 0;
    return n;
}

void report(const char *what, int count, const Outcome &o)
{
    std::printf("%s\n", what);
    std::printf("  records on the display: %d, in the autosave file: %d\n", o.displayed, o.inFile);
    std::printf("  total: %.3f s   per record: %.1f us   rate: %.0f records/s (%.1f x the 720/s of a 115200-baud line)\n",
                o.seconds, o.seconds * 1e6 / count, count / o.seconds, count / o.seconds / 720.0);
}

Outcome throughLine(int count, bool screen, const QString &panel, int prefill = 0,
                    const QStringList &pace = {QStringLiteral("--burst")}, bool sync = true)
{
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.autosaveWriter.setSyncEnabled(sync);
    QDir(dir.path()).mkpath(QStringLiteral("Records"));
    state.strAutosaveFile = QDir(dir.path()).filePath(QStringLiteral("Records/bench.txt"));
    state.blnAutosave = true;
    CountingPrompts prompts;
    NoFlow flow;
    // Records already on the display, so that a short run meets a long list.
    QStringList filler;
    for (int i = 0; i < prefill; ++i)
        filler.append(QStringLiteral(" 12/3/2026    1:05:09 PM    1    VALID        101    000001"));
    state.strRecords.appendMany(filler, filler);
    std::unique_ptr<MainScreen> main;
    if (screen) {
        main = std::make_unique<MainScreen>(state, prompts, flow);
        main->show();
    }

    QProcess sender;
    sender.start(panel, QStringList{QStringLiteral("--pty"), QStringLiteral("--count"), QString::number(count),
                                    QStringLiteral("--seed"), QStringLiteral("1")}
                            + pace);
    if (!sender.waitForReadyRead(10000)) {
        std::fprintf(stderr, "gatetally-receivebench: %s did not start\n", qPrintable(panel));
        return {};
    }
    state.portOverride = QString::fromLocal8Bit(sender.readLine().trimmed());

    Receiver receiver(state, prompts, std::make_unique<SerialPortLink>());
    QEventLoop loop;
    QObject::connect(&state.strRecords, &QAbstractItemModel::rowsInserted, &loop, [&] {
        if (state.intRecordCount() >= prefill + count)
            loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    if (!receiver.openPort())
        return {};
    loop.exec();
    Outcome o;
    o.seconds = clock.nsecsElapsed() / 1e9;
    o.displayed = state.intRecordCount() - prefill;
    o.inFile = recordLinesIn(state.strAutosaveFile);
    sender.waitForFinished(10000);
    return o;
}

Outcome pathAlone(int count, bool sync)
{
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.autosaveWriter.setSyncEnabled(sync);
    state.strAutosaveFile = QDir(dir.path()).filePath(QStringLiteral("bench.txt"));
    state.blnAutosave = true;
    CountingPrompts prompts;
    auto link = std::make_unique<MemoryPortLink>();
    MemoryPortLink *port = link.get();
    Receiver receiver(state, prompts, std::move(link));
    receiver.openPort();
    panel::Generator generator(1);
    QList<QByteArray> reads;
    for (int i = 0; i < count; ++i)
        reads.append(generator.next());
    QElapsedTimer clock;
    clock.start();
    for (const QByteArray &r : reads)
        port->receive(r);
    Outcome o;
    o.seconds = clock.nsecsElapsed() / 1e9;
    o.displayed = state.intRecordCount();
    if (!sync) {
        // What one sync costs when all of it is still to go to the disk.
        QElapsedTimer syncClock;
        syncClock.start();
        syncTextFile(state.strAutosaveFile);
        std::printf("  one fdatasync of the %lld-byte file just written: %.2f ms\n",
                    QFileInfo(state.strAutosaveFile).size(), syncClock.nsecsElapsed() / 1e6);
    }
    o.inFile = recordLinesIn(state.strAutosaveFile);
    return o;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = kDisplayCapacity;
    const QString panel = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("gatetally-panel"));

    report("burst through a pseudo-terminal and QSerialPort, autosave on, main screen shown:", count,
           throughLine(count, true, panel));
    report("burst through a pseudo-terminal and QSerialPort, autosave on, no screen:", count,
           throughLine(count, false, panel));
    report("the same, without fdatasync:", count, throughLine(count, false, panel, 0, {QStringLiteral("--burst")}, false));
    // A steady stream a little faster than a 115200-baud line (one message
    // a millisecond at most) into a display that already holds 30,000
    // records: the time matches the no-screen run when the display keeps up.
    const int paced = kDisplayCapacity - 30000;
    const QStringList oneMs{QStringLiteral("--interval"), QStringLiteral("1")};
    report("steady stream (1 ms between messages) onto a display of 30,000, main screen shown:", paced,
           throughLine(paced, true, panel, 30000, oneMs));
    report("steady stream (1 ms between messages) onto a display of 30,000, no screen:", paced,
           throughLine(paced, false, panel, 30000, oneMs));
    report("the same, without fdatasync:", paced, throughLine(paced, false, panel, 30000, oneMs, false));
    report("receive path alone (in-memory line, one message per read), autosave on:", count, pathAlone(count, true));
    report("the same, without fdatasync:", count, pathAlone(count, false));
    return 0;
}
