// Serial intake: bytes in through a real pseudo-terminal and QSerialPort (or
// an in-memory port where speed or a failure on demand matters), records,
// display lines, autosave file and messages out; the receiver in the
// running program.

#include "PanelSim.h"
#include "Paths.h"
#include "PortLink.h"
#include "Program.h"
#include "PseudoTerminal.h"
#include "Receiver.h"
#include "RecordLine.h"
#include "ScriptedPrompts.h"
#include "Settings.h"
#include "State.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace gt;

namespace {

const QDateTime kWhen(QDate(2026, 12, 3), QTime(13, 5, 9));
const QString kStamp = QStringLiteral(" 12/3/2026    1:05:09 PM");
const QString kBad = kStamp + QStringLiteral("    RECEIVED INCORRECT DATA");

QString shown(const QString &rest) { return kStamp + rest; }
// Record lines as the autosave file holds them.
QByteArray fileOf(const QStringList &lines) { return (lines.join("\r\n") + "\r\n").toLatin1(); }

// A receiver in a data folder of its own whose setup.txt names port 3,
// autosaving to Records/default.txt, on an open in-memory port or on
// a real one listening on the link "panel" in that folder (see listen()).
struct Rig
{
    QTemporaryDir dir;
    QString link = dir.filePath(QStringLiteral("panel"));
    GatetallyState state{dir.path()};
    gt::test::ScriptedPrompts prompts;
    panel::PseudoTerminal pty;
    MemoryPortLink *memory = nullptr;
    std::unique_ptr<Receiver> receiver;

    explicit Rig(bool realLine = false, bool autosave = true)
    {
        gt::test::writeBytes(setupFilePath(dir.path()), gt::test::setupFile("CommPort=3", "autosave=T", "gate.txt"));
        loadSettings(state);
        QDir(dir.path()).mkpath(QStringLiteral("Records"));
        state.strAutosaveFile = dir.filePath(QStringLiteral("Records/default.txt"));
        state.blnAutosave = autosave;
        state.clock.setFixed(kWhen);
        memory = realLine ? nullptr : new MemoryPortLink;
        state.portOverride = realLine ? link : QString();
        PortLink *port = realLine ? static_cast<PortLink *>(new SerialPortLink) : memory;
        receiver = std::make_unique<Receiver>(state, prompts, std::unique_ptr<PortLink>(port));
        if (memory)
            receiver->openPort();
    }
    bool listen() { return pty.open() && pty.link(link) && receiver->openPort(); }
    // Bytes on the in-memory line, then the event loop's turn, in which the
    // boxes that intake raised are shown.
    void receive(const QByteArray &bytes)
    {
        memory->receive(bytes);
        QCoreApplication::processEvents();
    }
    void fill(int n) { state.strRecords.appendMany(QStringList(n, "f"), QStringList(n, "f")); }
    QByteArray autosaved() const { return gt::test::readBytes(state.strAutosaveFile); }
};

} // namespace

class TestIntake : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void throughTheLine_data();
    void throughTheLine();
    void capacity_data();
    void capacity();
    void waitingBeyondCapacity();
    void failedAppend();
    void portMissing();
    void portRefused_data();
    void portRefused();
    void lineLostAgainAndAgain();
    void deviceReplacedUnderItsName();

    void startUpListensBeforeItAsks_data();
    void exitWhileItsBoxIsOpen();
    void startUpListensBeforeItAsks();
};

void TestIntake::throughTheLine_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QStringList>("display");
    QTest::addColumn<QStringList>("records");

    QTest::newRow("pieces of 5 and 10, then two messages in one write; statuses V, N, F")
        << QList<QByteArray>{"1 V 1", "01 000123 ", "\r2 N 102 000456 \r", "3 F 103 000789 \r"}
        << QStringList{shown("         1        VALID        101    000123"),
                       shown("         2        NOT VALID    102    000456"),
                       shown("         3        OFF          103    000789")}
        << QStringList{shown("    1    VALID        101    000123"), shown("    2    NOT VALID    102    000456"),
                       shown("    3    OFF          103    000789")};
    // Wrong lengths are shown as incorrect data, but counted, stored and
    // autosaved; another status character is shown as it is, 8-bit ones too.
    QTest::newRow("15, 17 and 1 characters, another status")
        << QList<QByteArray>{"4 V 101 000123\r4 N 101 000123  \r\r7 \xe9 10\xff 000002 \r"}
        << QStringList{kBad, kBad, kBad, shown(QString::fromLatin1("         7        \xe9    10\xff    000002"))}
        << QStringList{shown("    4    VALID        101    000123"), shown("    4    NOT VALID    101    000123"),
                       shown(QString(16, ' ')), shown(QString::fromLatin1("    7    \xe9    10\xff    000002"))};
    // 256 characters without a carriage return are one message.
    QTest::newRow("noise without a carriage return")
        << QList<QByteArray>{QByteArray(100, '%'), QByteArray(156, '%'), "8 V 101 000003 \r"}
        << QStringList{kBad, shown("         8        VALID        101    000003")}
        << QStringList{shown("    %    %    %%%    %%%%%%"), shown("    8    VALID        101    000003")};
}

void TestIntake::throughTheLine()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QStringList, display);
    QFETCH(QStringList, records);
    Rig rig(true);
    QVERIFY(rig.listen());
    QByteArray pending;
    for (const QByteArray &w : writes) {
        QVERIFY(rig.pty.write(w));
        pending += w;
        pending = pending.size() >= 256 ? QByteArray() : pending.mid(pending.lastIndexOf('\r') + 1);
        // Each write is read on its own before the next goes out.
        if (!pending.isEmpty())
            QTRY_COMPARE(rig.state.strReceiveBuffer, QString::fromLatin1(pending));
    }
    QTRY_COMPARE(rig.state.intRecordCount(), records.size());
    QCOMPARE(rig.state.strRecords.displayLines(), display);
    QCOMPARE(rig.state.strRecords.recordLines(), records);
    QCOMPARE(rig.state.strRecordLine, records.last());
    QCOMPARE(rig.autosaved(), fileOf(records));
    QCOMPARE(rig.prompts.shown.size(), 0);
    QCOMPARE(rig.receiver->statusText(), QString());
}

void TestIntake::capacity_data()
{
    QTest::addColumn<bool>("autosave");
    QTest::addColumn<QString>("message");
    QTest::newRow("autosave off") << false
                                  << QStringLiteral("Gatetally has reached its maximum capacity\r\n"
                                                    "of 32500 records.  Please save the records if\r\n"
                                                    "you would like and then click on the Clear button\r\n"
                                                    "to clear the display");
    QTest::newRow("autosave on") << true
                                 << QStringLiteral("Gatetally has reached its maximum capacity\r\n"
                                                   "of 32500 records for the file default.txt.\r\n"
                                                   "Please click on the Clear button to clear the\r\n"
                                                   "display, turn off autosave, and choose a new file\r\n"
                                                   "name when prompted for future autosaves");
}

void TestIntake::capacity()
{
    QFETCH(bool, autosave);
    QFETCH(QString, message);
    Rig rig(false, autosave);
    rig.fill(kDisplayCapacity - 2);
    rig.receive("0 V 101 000000 \r");
    QCOMPARE(rig.prompts.shown.size(), 0);
    // The display line follows the display mode of the moment.
    rig.state.strEntryNames[0] = QStringLiteral("DOOR");
    rig.state.strDisplayMode = kNameMode;
    rig.receive("1 V 101 000001 \r");
    rig.state.strDisplayMode = kNumberMode;
    QCOMPARE(rig.state.intRecordCount(), kDisplayCapacity);
    QCOMPARE(rig.state.strRecords.displayLines().last(), shown("       DOOR       VALID        101    000001"));
    QCOMPARE(rig.prompts.texts(), QStringList{message});
    QCOMPARE(rig.state.blnAutosaveFull, autosave);

    // Later records wait, each with the moment it arrived, and are written
    // to the autosave file at once; no second message.
    rig.state.clock.setFixed(kWhen.addSecs(60));
    rig.receive("2 N 102 000002 \r3 F");
    rig.state.clock.setFixed(kWhen.addSecs(125));
    rig.receive(" 103 000003 \r4 V 104 00004\r");
    QVERIFY(rig.state.intRecordCount() == kDisplayCapacity && rig.receiver->waitingCount() == 3);
    const QStringList stamped{shown("    0    VALID        101    000000"),
                              shown("    1    VALID        101    000001"),
                              " 12/3/2026    1:06:09 PM    2    NOT VALID    102    000002",
                              " 12/3/2026    1:07:14 PM    3    OFF          103    000003",
                              " 12/3/2026    1:07:14 PM    4    VALID        104     00004"};
    const QByteArray file = autosave ? fileOf(stamped) : QByteArray("<unreadable>");
    QCOMPARE(rig.autosaved(), file);

    // Emptying the display lets them in, in arrival order with their own
    // stamps, without writing them a second time.
    rig.state.clock.setFixed(kWhen.addSecs(3600));
    rig.state.strRecords.clear();
    QCOMPARE(rig.receiver->waitingCount(), 0);
    QCOMPARE(rig.state.strRecords.recordLines(), stamped.mid(2));
    QCOMPARE(rig.state.strRecords.displayLines(),
             (QStringList{" 12/3/2026    1:06:09 PM         2        NOT VALID    102    000002",
                          " 12/3/2026    1:07:14 PM         3        OFF          103    000003",
                          " 12/3/2026    1:07:14 PM    RECEIVED INCORRECT DATA"}));
    QCOMPARE(rig.autosaved(), file);

    // The request for a new file name outlives the records that follow.
    rig.receive("5 V 105 000005 \r");
    QVERIFY(rig.state.blnAutosaveFull == autosave && rig.prompts.shown.size() == 1);
}

void TestIntake::waitingBeyondCapacity()
{
    // More records wait than the display holds: the display fills again from
    // the queue (and says so once more), the rest keeps waiting.
    Rig rig(false, false);
    rig.fill(kDisplayCapacity);
    QByteArray burst;
    for (int i = 0; i < kDisplayCapacity + 2; ++i)
        burst += panel::message('1', 'V', "101", QByteArray::number(i));
    rig.receive(burst);
    QCOMPARE(rig.receiver->waitingCount(), kDisplayCapacity + 2);
    rig.state.strRecords.clear();
    QCoreApplication::processEvents();
    QCOMPARE(rig.state.intRecordCount(), kDisplayCapacity);
    QCOMPARE(rig.state.strRecords.recordLines().first(), shown("    1    VALID        101    000000"));
    QCOMPARE(rig.prompts.shown.size(), 1);
    rig.state.strRecords.clear();
    QCOMPARE(rig.state.strRecords.recordLines(),
             (QStringList{shown("    1    VALID        101    032500"), shown("    1    VALID        101    032501")}));
}

void TestIntake::failedAppend()
{
    // The disk fills up half way through a record: the file is cut back to
    // its whole lines, and the records wait, in order, until there is room.
    Rig rig;
    const QStringList lines{shown("    1    VALID        101    000001"), shown("    2    VALID        101    000002"),
                            shown("    3    VALID        101    000003"), shown("    4    VALID        101    000004")};
    rig.receive("1 V 101 000001 \r");
    int nested = 0; // boxes opened while the first is up
    bool firstUp = false;
    {
        const gt::test::FileSizeLimit limit(61 + 30);
        // The failure box is up when the third record arrives: it is taken at
        // once, and no second box is stacked on the first.
        rig.prompts.whileOpen = [&](int box) {
            nested += firstUp;
            if (box == 0) {
                firstUp = true;
                rig.receive("3 V 101 000003 \r");
                firstUp = false;
            }
        };
        rig.receive("2 V 101 000002 \r");
        QCOMPARE(rig.autosaved(), fileOf(lines.mid(0, 1)));
    }
    QCOMPARE(rig.state.autosaveWriter.waitingCount(), 2);
    QCOMPARE(nested, 0);
    QCOMPARE(rig.prompts.texts(), QStringList{"The records file default.txt could not be written:\r\n"
                                              "Only part of the data could be written (the disk may be full)."});
    QCOMPARE(rig.prompts.shown.at(0).icon, Prompts::Icon::Warning);

    // Room again: the waiting records go first, and the operator hears once.
    rig.receive("4 V 101 000004 \r");
    QCOMPARE(rig.autosaved(), fileOf(lines));
    QCOMPARE(rig.state.autosaveWriter.waitingCount(), 0);
    QCOMPARE(rig.prompts.texts().mid(1),
             QStringList{"The records file default.txt can be written again.\r\n"
                         "2 record(s) that could not be written before have now been written to it."});
    QCOMPARE(rig.state.intRecordCount(), 4);
}

void TestIntake::portMissing()
{
    // Nothing is published under the link yet: one box, then silent retries.
    Rig rig(true);
    QSignalSpy status(rig.receiver.get(), &Receiver::statusChanged);
    QVERIFY(!rig.receiver->openPort());
    QSerialPort probe(rig.link);
    QVERIFY(!probe.open(QIODevice::ReadOnly));
    // The box's text is proved with the refusals below; here, the reason is
    // the system's own.
    QVERIFY(rig.prompts.shown.size() == 1 && rig.prompts.shown.at(0).icon == Prompts::Icon::Warning);
    QCOMPARE(rig.receiver->statusText(),
             QStringLiteral("Serial port %1 could not be opened (%2). Trying again every 2 seconds.")
                 .arg(rig.link, probe.errorString()));
    QCOMPARE(rig.receiver->retryTimer()->interval(), 2000);
    rig.receiver->retryTimer()->setInterval(5);
    QTest::qWait(50);
    QVERIFY(rig.prompts.shown.size() == 1 && status.size() == 1);

    // The first try that finds the port ends the status; records flow.
    QVERIFY(rig.pty.open() && rig.pty.link(rig.link));
    QTRY_VERIFY(rig.receiver->isPortOpen());
    QVERIFY(status.size() == 2 && rig.receiver->statusText().isEmpty() && !rig.receiver->retryTimer()->isActive());
    QVERIFY(rig.pty.write("1 V 101 000001 \r"));
    QTRY_COMPARE(rig.state.intRecordCount(), 1);
}

// A port this user may not open: the status says how to be let in, naming
// the group that owns the device (dialout when the device cannot tell);
// any other failure gets no such advice. The box is the same for all.
void TestIntake::portRefused_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("denied");
    QTest::addColumn<QString>("status");
    const QString tail = QStringLiteral(" Trying again every 2 seconds.");
    QTest::newRow("denied, device of group root")
        << "/dev/null" << true
        << "Serial port /dev/null could not be opened (Permission denied)." + tail
               + " This user may not use it: add the account to the group root, which owns the device, with "
                 "sudo usermod -aG root \"$USER\", then log out and in again.";
    QTest::newRow("denied, device that cannot be looked at")
        << "/nonexistent/ttyUSB0" << true
        << "Serial port /nonexistent/ttyUSB0 could not be opened (Permission denied)." + tail
               + " This user may not use it: add the account to the group dialout, which owns serial devices on "
                 "Debian, with sudo usermod -aG dialout \"$USER\", then log out and in again.";
    // The port of the settings is named with its device.
    QTest::newRow("Comm 3, busy, not denied")
        << "" << false << "Serial port Comm 3 (/dev/ttyS2) could not be opened (Permission denied)." + tail;
}

void TestIntake::portRefused()
{
    QFETCH(QString, device);
    QFETCH(bool, denied);
    QFETCH(QString, status);
    Rig rig;
    rig.memory->refuseOpen = QStringLiteral("Permission denied");
    rig.memory->refuseAsDenied = denied;
    rig.state.portOverride = device;
    QVERIFY(!rig.receiver->switchPort());
    QCOMPARE(rig.receiver->statusText(), status);
    QCOMPARE(rig.prompts.texts().constLast(),
             QStringLiteral("The serial port %1 could not be opened:\r\nPermission denied\r\n\r\n"
                            "No records are received until it opens. Another port can be\r\n"
                            "chosen with Setup > Comm Port.")
                 .arg(device.isEmpty() ? QStringLiteral("Comm 3 (/dev/ttyS2)") : device));
}

// The adapter unplugged and plugged back five times, once with half a
// message on the line at the cut, on a display that already holds rows:
// every loss is said on the main screen, the line comes back by itself, and
// every record is on the display and in the file with the moment it arrived.
void TestIntake::lineLostAgainAndAgain()
{
    Rig rig(true);
    rig.fill(40);
    QVERIFY(rig.listen());
    // A busy program's other work (its window system, its timers) leaves
    // "try again" behind in errno, where a read that returns nothing finds
    // it: the line's trouble must be judged without it.
    int busy[2];
    QVERIFY(::pipe2(busy, O_NONBLOCK | O_CLOEXEC) == 0);
    QTimer otherWork;
    QObject::connect(&otherWork, &QTimer::timeout, [&] {
        char c;
        (void)!::read(busy[0], &c, 1);
    });
    otherWork.start(0);
    const auto closeBusy = qScopeGuard([&] { ::close(busy[0]), ::close(busy[1]); });
    for (int i = 1; i <= 5; ++i) {
        rig.state.clock.setFixed(kWhen.addSecs(60 * i));
        QVERIFY(rig.pty.write(QStringLiteral("%1 V 101 00000%1 \r").arg(i).toLatin1()));
        QTRY_COMPARE(rig.state.intRecordCount(), 40 + i + (i > 3));
        if (i == 3) {
            QVERIFY(rig.pty.write("3 N 1"));
            QTRY_COMPARE(rig.state.strReceiveBuffer, QStringLiteral("3 N 1"));
            rig.state.clock.setFixed(kWhen.addSecs(60 * i + 30));
        }
        rig.pty.close();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.receiver->isPortOpen(), 3000);
        QCOMPARE(rig.receiver->statusText(),
                 QStringLiteral("Serial port %1 was lost (the device hung up). Trying again every 2 seconds.")
                     .arg(rig.link));
        QVERIFY(rig.pty.open() && rig.pty.link(rig.link));
        QTRY_VERIFY_WITH_TIMEOUT(rig.receiver->isPortOpen(), 3000);
        QCOMPARE(rig.receiver->statusText(), QString());
    }
    rig.state.clock.setFixed(kWhen.addSecs(600));
    QVERIFY(rig.pty.write("6 F 101 000006 \r"));
    const QStringList records{
        " 12/3/2026    1:06:09 PM    1    VALID        101    000001",
        " 12/3/2026    1:07:09 PM    2    VALID        101    000002",
        " 12/3/2026    1:08:09 PM    3    VALID        101    000003",
        " 12/3/2026    1:08:39 PM    3    NOT VALID    1    3 N 1",
        " 12/3/2026    1:09:09 PM    4    VALID        101    000004",
        " 12/3/2026    1:10:09 PM    5    VALID        101    000005",
        " 12/3/2026    1:15:09 PM    6    OFF          101    000006",
    };
    QTRY_COMPARE(rig.state.intRecordCount(), 40 + records.size());
    QCOMPARE(rig.state.strRecords.recordLines().mid(40), records);
    QCOMPARE(rig.autosaved(), fileOf(records));
    QCOMPARE(rig.prompts.shown.size(), 0);
}

// The name now leads to another device while the old one stays quiet and
// never reports an error (an adapter whose node went away): the receiver
// notices, and listens on what the name names now.
void TestIntake::deviceReplacedUnderItsName()
{
    Rig rig(true);
    QVERIFY(rig.listen());
    panel::PseudoTerminal other;
    QVERIFY(other.open() && other.link(rig.link));
    QTRY_VERIFY_WITH_TIMEOUT(rig.receiver->statusText().contains("was lost"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.receiver->isPortOpen(), 3000);
    QVERIFY(other.write("2 V 101 000002 \r"));
    QTRY_COMPARE(rig.state.intRecordCount(), 1);
}

// A box at start-up (settings that could not be read, a data folder that
// setup.txt cannot name) waits for the operator while the panel goes on
// sending: its records are taken as they come, stamped then, autosaved, and
// on the display once the box is answered.
void TestIntake::startUpListensBeforeItAsks_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("autosaved");
    QTest::addColumn<QString>("told"); // %1: the data folder
    QTest::newRow("unreadable settings")
        << "data" << false
        << "The settings file %1/setup.txt could not be read (it holds a NUL byte).\r\n"
           "Gatetally is using the default settings: port 1, autosave off, no records file chosen and no entry "
           "point names.\r\nThe old file was kept as %1/setup.txt.unreadable.";
    QTest::newRow("a folder setup.txt cannot name, autosave on")
        << QString::fromUtf8("\u0416") << true
        << "The data folder %1 has characters that setup.txt cannot hold (it is an 8-bit,\r\n"
           "Latin-1 file): the records file in use cannot be remembered from one start to\r\n"
           "the next. Please give Gatetally a data folder whose path has none of them.";
}

void TestIntake::startUpListensBeforeItAsks()
{
    QFETCH(QString, folder);
    QFETCH(bool, autosaved);
    QFETCH(QString, told);
    test::ProgramOnLine p;
    p.options.dataDir = p.dir.filePath(folder);
    const QString records = p.dir.filePath("gate.txt");
    QVERIFY(QDir().mkpath(p.options.dataDir));
    QVERIFY(gt::test::writeBytes(setupFilePath(p.options.dataDir),
                                 autosaved ? gt::test::setupFile("CommPort=1", "autosave=T", records.toLatin1())
                                           : QByteArray("CommPort=1\r\n\0\r\n", 15)));
    QVERIFY(p.plug());
    panel::PseudoTerminal &pty = p.pty;
    int taken = -1;
    p.prompts.whileOpen = [&](int n) {
        if (n != 0)
            return;
        p.app->state().clock.setFixed(kWhen);
        QVERIFY(pty.write("4 N 101 000077 \r"));
        QTRY_COMPARE(p.app->state().intRecordCount(), 1);
        taken = p.app->state().intRecordCount();
    };
    p.make(kWhen.addSecs(-60));
    p.app->state().clock.setFixed(kWhen.addSecs(-60));
    p.app->start();
    p.app->state().clock.setFixed(kWhen.addSecs(60));
    p.app->showMainScreen();
    QCOMPARE(taken, 1);
    QCOMPARE(p.prompts.texts(), QStringList{told.arg(p.options.dataDir)});
    // Settings that could not be read are kept aside, never lost.
    if (!autosaved)
        QCOMPARE(gt::test::readBytes(setupFilePath(p.options.dataDir) + ".unreadable"), QByteArray("CommPort=1\r\n\0\r\n", 15));
    const QString record = shown("    4    NOT VALID    101    000077");
    QCOMPARE(p.app->state().strRecords.recordLines(), QStringList{record});
    QCOMPARE(p.main()->lstMain->model()->rowCount(), 1);
    QCOMPARE(QFile::exists(records) ? gt::test::readBytes(records) : QByteArray(),
             autosaved ? " Autosave started 12/3/2026, 1:04:09 PM\r\n\r\n" + fileOf({record}) : QByteArray());
}

// Exit confirmed while the receiver's own box is open (the display just
// filled): the exit timer ticks inside that box, and the run still ends
// cleanly, with every record and one exit marker in the file.
void TestIntake::exitWhileItsBoxIsOpen()
{
    test::ProgramOnLine p;
    const QString records = p.dir.filePath("gate.txt");
    QVERIFY(gt::test::writeBytes(setupFilePath(p.dir.path()),
                                 gt::test::setupFile("CommPort=1", "autosave=T", records.toLatin1())));
    QVERIFY(p.plug());
    panel::PseudoTerminal &pty = p.pty;
    GatetallyApp &app = p.start(kWhen);
    QSignalSpy finished(&app, &GatetallyApp::finished);
    app.state().strRecords.appendMany(QStringList(kDisplayCapacity - 1, "f"), QStringList(kDisplayCapacity - 1, "f"));
    p.prompts.answers = {Prompts::Yes};
    p.prompts.whileOpen = [&](int n) {
        if (n != 0)
            return;
        QVERIFY(pty.write("2 V 101 000002 \r"));
        QTRY_COMPARE(app.state().strRecords.held().size(), size_t(1));
        p.main()->close();
        QTRY_COMPARE(finished.size(), 1);
    };
    QVERIFY(pty.write("1 V 101 000001 \r"));
    QTRY_COMPARE(p.prompts.shown.size(), 2);
    QTRY_VERIFY(!app.receiver());
    QCOMPARE(gt::test::readBytes(records),
             " Autosave started 12/3/2026, 1:05:09 PM\r\n\r\n" + fileOf({shown("    1    VALID        101    000001"),
                                                                          shown("    2    VALID        101    000002")})
                 + "\r\n Possible interruption in records\r\n Software was exited 12/3/2026, 1:05:09 PM\r\n\r\n");
}

QTEST_MAIN(TestIntake)
#include "tst_intake.moc"
