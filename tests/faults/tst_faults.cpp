// Faults a site meets, each through the real parts where it lives: the
// simulated panel and the program as processes, real pseudo-terminals and
// QSerialPort for the line, files that are not what they should be.
#include "IntakeCheck.h"
#include "Paths.h"
#include "PortLink.h"
#include "Processes.h"
#include "PanelSim.h"
#include "PseudoTerminal.h"
#include "RecordLayout.h"
#include "RecordSource.h"
#include "Receiver.h"
#include "ScriptedPrompts.h"
#include "Settings.h"
#include "State.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <QtTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

using namespace gt;
using gt::test::readBytes;
using gt::test::writeBytes;

namespace {

// gatetally-panel on a pseudo-terminal of its own (the device it prints
// first), killed when it goes out of scope.
struct PanelProcess
{
    QProcess process;
    QString device;
    bool start(const QStringList &args)
    {
        process.start(test::binary(QStringLiteral("gatetally-panel")), QStringList{QStringLiteral("--pty")} + args);
        if (!process.waitForStarted() || !process.waitForReadyRead(10000))
            return false;
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
        return !device.isEmpty();
    }
    ~PanelProcess() { process.kill(); process.waitForFinished(); }
};


QStringList fileLines(const QString &path)
{
    QStringList lines;
    readTextLines(path, &lines);
    return lines;
}

// Whether the process has the file open (its retry found the line).
bool holdsOpen(qint64 pid, const QString &path)
{
    const QFileInfoList fds = QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryInfoList(QDir::System);
    return std::any_of(fds.begin(), fds.end(), [&](const QFileInfo &fd) { return fd.symLinkTarget() == path; });
}

qsizetype recordCount(const QString &path) { return stampedLines(fileLines(path)).size(); }

// A data folder autosaving to Records/<file>: its setup.txt, or "" when it
// could not be made.
QByteArray autosaveFolder(const QString &dir, const QString &file)
{
    const QByteArray setup = test::setupFile("CommPort=1", "autosave=T", QDir(dir).filePath("Records/" + file).toLatin1());
    return QDir(dir).mkpath("Records") && writeBytes(setupFilePath(dir), setup) ? setup : QByteArray();
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hostileRecordsFile();
    void burstWithFaultsAndABoxOpen();
    void killedWhileABoxIsOpen();
    void oneProgramPerFolderAndDevice();
};

// 100,000 messages with every kind of fault, as fast as the line takes them;
// the capacity box stays open while 10,000 of them arrive. Every carriage
// return is one record in the file, in order, and the records that came
// while the box was open were in the file before it was answered.
void TestFaults::burstWithFaultsAndABoxOpen()
{
    QTemporaryDir dir;
    PanelProcess panel;
    QVERIFY(panel.start({"--burst", "--count", "100000", "--seed", "3", "--split", "7", "--merge", "11", "--short", "13",
                         "--long", "17", "--noise", "19", "--bad-status", "23", "--record", dir.filePath("sent")}));
    GatetallyState state(dir.path());
    QVERIFY(!autosaveFolder(dir.path(), "burst.txt").isEmpty());
    loadSettings(state);
    state.portOverride = panel.device;
    test::ScriptedPrompts prompts;
    qsizetype whenAnswered = 0;
    prompts.whileOpen = [&](int) {
        const qsizetype atOpening = recordCount(state.strAutosaveFile);
        QTRY_VERIFY_WITH_TIMEOUT(recordCount(state.strAutosaveFile) >= atOpening + 10000
                                     || panel.process.state() == QProcess::NotRunning,
                                 60000);
        whenAnswered = recordCount(state.strAutosaveFile);
    };
    Receiver receiver(state, prompts, std::make_unique<SerialPortLink>());
    QVERIFY(receiver.openPort());
    QTRY_VERIFY_WITH_TIMEOUT(panel.process.state() == QProcess::NotRunning, 120000);
    QTRY_COMPARE_WITH_TIMEOUT(recordCount(state.strAutosaveFile), qsizetype(100000), 120000);

    const IntakeCheck c = checkIntake(readBytes(dir.filePath("sent")), fileLines(state.strAutosaveFile));
    QVERIFY2(c.whole(), qPrintable(c.examples.join('\n')));
    QVERIFY(c.malformed > 10000 && c.messages == 100000 && c.backwards == 0);
    // One box, however many records come while it is open.
    QCOMPARE(prompts.texts().size(), 1);
    QVERIFY(prompts.texts().value(0).startsWith("Gatetally has reached its maximum capacity\r\n"));
    QVERIFY2(whenAnswered >= kDisplayCapacity + 10000, qPrintable(QString::number(whenAnswered)));
    QCOMPARE(receiver.waitingCount(), 100000 - kDisplayCapacity);
}

// The program itself, killed outright while its "could not be opened" box is
// open and a burst comes in: every record it had taken is whole in the
// autosave file, in the order sent, and setup.txt is whole.
void TestFaults::killedWhileABoxIsOpen()
{
    QTemporaryDir dir;
    const QByteArray setup = autosaveFolder(dir.path(), "kill.txt");
    QVERIFY(!setup.isEmpty());
    const QString line = dir.filePath("line");
    QProcess app; // offscreen, as CTest runs this test
    // Nothing is at the port yet: the box about it comes up and stays.
    app.start(test::binary("gatetally"), {"--data-dir", dir.path(), "--port", line});
    QVERIFY(app.waitForStarted());
    const QString file = dir.filePath("Records/kill.txt");
    QTRY_VERIFY_WITH_TIMEOUT(recordCount(file) == 0 && QFile::exists(file), 10000); // the sign-on marker
    // The line appears, and the burst starts once the program has it open:
    // what a line carries before its reader opens it is not the reader's.
    panel::PseudoTerminal pty;
    QVERIFY(pty.open() && pty.link(line));
    QTRY_VERIFY_WITH_TIMEOUT(holdsOpen(app.processId(), pty.devicePath()), 10000);
    panel::Generator generator(5);
    const panel::Faults faults{.merge = 9, .shortMsg = 13};
    QByteArray sent;
    for (int n = 0; n < 200000 && recordCount(file) < 20000; n += 1000) {
        QList<QByteArray> batch;
        for (int i = 0; i < 1000; ++i)
            batch.append(generator.next());
        for (const QByteArray &w : panel::writes(batch, faults, n + 1)) {
            QVERIFY(pty.write(w));
            sent += w;
        }
    }
    ::kill(pid_t(app.processId()), SIGKILL);
    QVERIFY(app.waitForFinished());

    // The kill may land inside the one write of the record being appended,
    // when it crosses a page of the file: the system stops the copy there
    // and that last record is left cut short. Every line before it is whole;
    // the next start's marker begins with a line end, so nothing is glued to
    // the cut one.
    const QByteArray bytes = readBytes(file);
    const QByteArray cut = bytes.mid(bytes.lastIndexOf("\r\n") + 2);
    QVERIFY2(cut.size() < kRecordLineLength, cut.constData());
    QStringList lines = fileLines(file);
    if (!cut.isEmpty())
        lines.removeLast();
    // Markers, blank lines and records; no piece of one.
    for (const QString &l : lines)
        QVERIFY2(l.isEmpty() || l.startsWith(" Autosave started") || stampedLines({l}).size() == 1, qPrintable(l));
    const IntakeCheck c = checkIntake(sent, lines);
    QVERIFY2(c.prefix() && c.records >= 20000, qPrintable(c.examples.join('\n')));
    QCOMPARE(readBytes(setupFilePath(dir.path())), setup);
}

// A second program on a data folder or a serial device already in use is
// refused, and says by whom; programs on other folders and devices run side
// by side. The end of the session (SIGTERM) ends a run as Exit does; a lock
// left by a killed program is taken over.
void TestFaults::oneProgramPerFolderAndDevice()
{
    QTemporaryDir first, second;
    QVERIFY(!autosaveFolder(first.path(), "a.txt").isEmpty() && !autosaveFolder(second.path(), "b.txt").isEmpty());
    panel::PseudoTerminal line1, line2;
    QVERIFY(line1.open() && line2.open());
    // Started and listening on its device.
    const auto launch = [](QProcess &p, const QString &dir, const QString &device) {
        p.start(test::binary("gatetally"), {"--data-dir", dir, "--port", device});
        return p.waitForStarted() && QTest::qWaitFor([&] { return holdsOpen(p.processId(), device); }, 10000);
    };
    QProcess a;
    QVERIFY(launch(a, first.path(), line1.devicePath()));

    // The code and the last line of standard error (Qt may warn before it).
    const auto told = [](const QString &dir, const QString &device) {
        const test::Run r = test::run("gatetally", {"--data-dir", dir, "--port", device});
        return QString::number(r.code) + ' ' + r.err.trimmed().split('\n').last();
    };
    QCOMPARE(told(first.path(), line2.devicePath()),
             QStringLiteral("1 gatetally: Gatetally is already running on this data folder (process %1).").arg(a.processId()));
    QCOMPARE(told(second.path(), line1.devicePath()),
             QStringLiteral("1 gatetally: Gatetally is already running on the serial device %1 (process %2).")
                 .arg(line1.devicePath()).arg(a.processId()));
    QProcess b;
    QVERIFY(launch(b, second.path(), line2.devicePath()));

    const QString file = first.filePath("Records/a.txt");
    QVERIFY(line1.write("1 V 101 000001 \r"));
    QTRY_COMPARE_WITH_TIMEOUT(recordCount(file), 1, 10000);
    ::kill(pid_t(a.processId()), SIGTERM);
    QVERIFY(a.waitForFinished(10000));
    QVERIFY(a.exitStatus() == QProcess::NormalExit && a.exitCode() == 0);
    const QByteArray bytes = readBytes(file);
    QVERIFY(bytes.count(" Software was exited ") == 1 && bytes.endsWith("\r\n\r\n") && recordCount(file) == 1);

    ::kill(pid_t(b.processId()), SIGKILL);
    QVERIFY(b.waitForFinished(10000));
    QProcess again;
    QVERIFY(launch(again, second.path(), line2.devicePath()));
    again.terminate();
    QVERIFY(again.waitForFinished(10000) && again.exitCode() == 0);
}

// A records file as a site may find it (LF line ends are test_search_engine's):
// NUL bytes before a record, a 100 MB line. gatetally-search and the
// stored-file loader keep exactly the record lines, and a line that can never
// be a record is never held whole, however long.
void TestFaults::hostileRecordsFile()
{
    const QByteArray record = "  3/7/2006    9:01:05 AM    1    VALID        123    004567\r\n";
    QTemporaryDir dir;
    QFile f(dir.filePath("hostile.txt"));
    const QByteArray head = record + QByteArray("\0\0\0", 3) + record;
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(head) == head.size());
    for (int i = 0; i < 100; ++i) // a megabyte at a time
        QVERIFY(f.write(QByteArray(1 << 20, 'x')) == 1 << 20);
    QVERIFY(f.write("\r\n" + record) == record.size() + 2);
    f.close();
    QStringList loaded;
    QVERIFY(search::loadRecordLines(f.fileName(), &loaded));
    QCOMPARE(loaded.size(), 2);

    QProcess cli;
#if !defined(__SANITIZE_ADDRESS__)
    // All the memory it may map, libraries included, is less than the
    // longest line (the sanitizers reserve far more for themselves).
    cli.setChildProcessModifier([] {
        const rlimit limit{96 << 20, 96 << 20};
        setrlimit(RLIMIT_AS, &limit);
    });
#endif
    cli.start(test::binary("gatetally-search"), {"--card", "004567", f.fileName()});
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY(cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0);
    QCOMPARE(QString::fromLatin1(cli.readAllStandardOutput()).count("    004567\r\n"), 2);
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
