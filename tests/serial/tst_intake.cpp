// The receive rules without a real line: bytes in through an in-memory port,
// records, display lines, autosave file and messages out.

#include "MessageAssembler.h"
#include "PanelSim.h"
#include "PortLink.h"
#include "Receiver.h"
#include "RecordLine.h"
#include "ScriptedPrompts.h"
#include "State.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(gt::panel::Faults)

using namespace gt;
using gt::test::ScriptedPrompts;

namespace {

const QDateTime kWhen(QDate(2026, 12, 3), QTime(13, 5, 9));
const QString kStamp = QStringLiteral(" 12/3/2026    1:05:09 PM");

QString shown(const QString &rest) { return kStamp + rest; }

QByteArray fileOf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

// A receiver on an in-memory line, in a data folder of its own.
struct Rig
{
    QTemporaryDir dir;
    GatetallyState state{dir.path()};
    ScriptedPrompts prompts;
    MemoryPortLink *port = nullptr;
    std::unique_ptr<Receiver> receiver;

    explicit Rig(bool autosave = true)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Records"));
        state.strAutosaveFile = QDir(dir.path()).filePath(QStringLiteral("Records/default.txt"));
        state.blnAutosave = autosave;
        state.clock.setFixed(kWhen);
        auto link = std::make_unique<MemoryPortLink>();
        port = link.get();
        receiver = std::make_unique<Receiver>(state, prompts, std::move(link));
        receiver->openPort();
    }
    QByteArray autosaved() const { return gt::test::readBytes(state.strAutosaveFile); }
};

} // namespace

class TestIntake : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void assembler_data();
    void assembler();
    void panelWrites_data();
    void panelWrites();
    void records_data();
    void records();
    void namesOnDisplay();
    void capacity_data();
    void capacity();
    void waitingBeyondCapacity();
    void messageDuringCapacityBox();
    void autosaveFailure();
    void portWillNotOpen_data();
    void portWillNotOpen();
    void lostLine();
    void switchAndClose();
};

void TestIntake::assembler_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<bool>>("incorrect");
    QTest::addColumn<QByteArray>("left");

    QTest::newRow("one message in pieces of 5, 10 and 1")
        << QList<QByteArray>{"1 V 1", "01 000123 ", "\r"} << QStringList{"1 V 101 000123 "} << QList<bool>{false}
        << QByteArray();
    QTest::newRow("two messages in one read")
        << QList<QByteArray>{"1 V 101 000123 \r2 N 102 000456 \r"}
        << QStringList{"1 V 101 000123 ", "2 N 102 000456 "} << QList<bool>{false, false} << QByteArray();
    QTest::newRow("a message and the start of the next")
        << QList<QByteArray>{"1 V 101 000123 \r2 N", " 102 000456 \r"}
        << QStringList{"1 V 101 000123 ", "2 N 102 000456 "} << QList<bool>{false, false} << QByteArray();
    QTest::newRow("15 characters") << QList<QByteArray>{"1 V 101 000123\r"} << QStringList{"1 V 101 000123"}
                                   << QList<bool>{true} << QByteArray();
    QTest::newRow("17 characters") << QList<QByteArray>{"1 V 101 000123  \r"}
                                   << QStringList{"1 V 101 000123  "} << QList<bool>{true} << QByteArray();
    QTest::newRow("a bare carriage return") << QList<QByteArray>{"\r"} << QStringList{""} << QList<bool>{true}
                                            << QByteArray();
    QTest::newRow("no carriage return yet") << QList<QByteArray>{"1 V 101"} << QStringList{} << QList<bool>{}
                                            << QByteArray("1 V 101");
    QTest::newRow("255 characters of noise wait")
        << QList<QByteArray>{QByteArray(200, '#'), QByteArray(55, '~')} << QStringList{} << QList<bool>{}
        << QByteArray(200, '#') + QByteArray(55, '~');
    QTest::newRow("256 characters of noise are one message")
        << QList<QByteArray>{QByteArray(250, '#'), QByteArray(6, '~') + "1 V 101 000123 \r"}
        << QStringList{QString(250, QLatin1Char('#')) + QStringLiteral("~~~~~~"), QStringLiteral("1 V 101 000123 ")}
        << QList<bool>{true, false} << QByteArray();
    QTest::newRow("8-bit characters survive")
        << QList<QByteArray>{"1 V 1\xe9\xff 000123 \r"} << QStringList{QString::fromLatin1("1 V 1\xe9\xff 000123 ")}
        << QList<bool>{false} << QByteArray();
}

void TestIntake::assembler()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QStringList, texts);
    QFETCH(QList<bool>, incorrect);
    QFETCH(QByteArray, left);
    MessageAssembler a;
    QList<PanelMessage> got;
    for (const QByteArray &r : reads)
        got += a.feed(r);
    QList<PanelMessage> want;
    for (int i = 0; i < texts.size(); ++i)
        want.append({texts.at(i), incorrect.at(i)});
    QCOMPARE(got, want);
    QCOMPARE(a.pending(), left);
}

void TestIntake::panelWrites_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<panel::Faults>("faults");
    QTest::addColumn<QList<QByteArray>>("writes");

    const QByteArray m1 = "1 V 101 000001 \r";
    const QByteArray m2 = "2 N 102 000002 \r";
    const QByteArray m3 = "3 F 103 000003 \r";
    panel::Faults none;
    QTest::newRow("no faults") << 3 << none << QList<QByteArray>{m1, m2, m3};
    panel::Faults split;
    split.split = 2;
    QTest::newRow("split every 2nd") << 3 << split
                                     << QList<QByteArray>{m1, "2 N 1", "02 000002 ", "\r", m3};
    panel::Faults merge;
    merge.merge = 1;
    QTest::newRow("merge every one") << 3 << merge << QList<QByteArray>{m1 + m2 + m3};
    panel::Faults merge2;
    merge2.merge = 2;
    QTest::newRow("merge every 2nd") << 3 << merge2 << QList<QByteArray>{m1, m2 + m3};
    panel::Faults shortLong;
    shortLong.shortMsg = 1;
    shortLong.longMsg = 3;
    QTest::newRow("short on all, long on the 3rd")
        << 3 << shortLong
        << QList<QByteArray>{"1 V 101 000001\r", "2 N 102 000002\r", "3 F 103 000003 \r"};
    panel::Faults longOnly;
    longOnly.longMsg = 2;
    QTest::newRow("long every 2nd") << 3 << longOnly << QList<QByteArray>{m1, "2 N 102 000002  \r", m3};
    panel::Faults noise;
    noise.noise = 3;
    QTest::newRow("noise after the 3rd") << 3 << noise << QList<QByteArray>{m1, m2, m3, "#~*NOISE*~#"};
    panel::Faults status;
    status.badStatus = 2;
    QTest::newRow("unknown status") << 3 << status << QList<QByteArray>{m1, "2 X 102 000002 \r", m3};
}

void TestIntake::panelWrites()
{
    QFETCH(int, count);
    QFETCH(panel::Faults, faults);
    QFETCH(QList<QByteArray>, writes);
    QList<QByteArray> messages;
    const char status[] = {'V', 'N', 'F'};
    for (int i = 1; i <= count; ++i)
        messages.append(panel::message(char('0' + i), status[(i - 1) % 3], QByteArray::number(100 + i),
                                       QByteArray::number(i)));
    QCOMPARE(panel::writes(messages, faults), writes);
}

void TestIntake::records_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QStringList>("display");
    QTest::addColumn<QStringList>("records");

    const QString valid = QStringLiteral("    1    VALID        101    000123");
    const QString validShown = QStringLiteral("         1        VALID        101    000123");
    const QString bad = QStringLiteral("    RECEIVED INCORRECT DATA");
    // The pseudo-terminal test covers pieces, several messages in a read,
    // wrong lengths and statuses; these are the rows only this level needs.
    QTest::newRow("one message") << QList<QByteArray>{"1 V 101 000123 \r"} << QStringList{shown(validShown)}
                                 << QStringList{shown(valid)};
    QTest::newRow("a bare carriage return") << QList<QByteArray>{"\r"} << QStringList{shown(bad)}
                                            << QStringList{shown(QStringLiteral("                "))};
    QTest::newRow("control characters are not stored")
        << QList<QByteArray>{"1 V 1\n1 00\t123 \r"}
        << QStringList{shown(QStringLiteral("         1        VALID        1?1    00?123"))}
        << QStringList{shown(QStringLiteral("    1    VALID        1?1    00?123"))};
}

void TestIntake::records()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QStringList, display);
    QFETCH(QStringList, records);
    Rig rig;
    for (const QByteArray &r : reads)
        rig.port->receive(r);
    QCOMPARE(rig.state.strRecords.displayLines(), display);
    QCOMPARE(rig.state.strRecords.recordLines(), records);
    QCOMPARE(rig.state.intRecordCount(), records.size());
    QCOMPARE(rig.state.strRecordLine, records.last());
    QCOMPARE(rig.autosaved(), fileOf(records));
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void TestIntake::namesOnDisplay()
{
    Rig rig(false);
    rig.state.strEntryNames[0] = QStringLiteral("DOOR");
    rig.state.strDisplayMode = kNameMode;
    rig.port->receive("1 V 101 000123 \r");
    rig.state.strDisplayMode = kNumberMode;
    rig.port->receive("1 V 101 000123 \r");
    QCOMPARE(rig.state.strRecords.displayLines(),
             (QStringList{shown(QStringLiteral("       DOOR       VALID        101    000123")),
                          shown(QStringLiteral("         1        VALID        101    000123"))}));
    QVERIFY(!QFile::exists(rig.state.strAutosaveFile));
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
    Rig rig(autosave);
    // All but the last slot, at once; the receiver brings the 32500th.
    QStringList filler;
    for (int i = 0; i < kDisplayCapacity - 1; ++i)
        filler.append(QStringLiteral("filler"));
    rig.state.strRecords.appendMany(filler, filler);

    rig.port->receive("1 V 101 000001 \r");
    QCOMPARE(rig.state.intRecordCount(), kDisplayCapacity);
    QCOMPARE(rig.state.strRecords.displayLines().last(),
             shown(QStringLiteral("         1        VALID        101    000001")));
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.at(0).text, message);
    QCOMPARE(rig.prompts.shown.at(0).title, QStringLiteral("Gatetally"));
    QCOMPARE(rig.prompts.shown.at(0).buttons, Prompts::Buttons(Prompts::Ok));
    QCOMPARE(rig.state.blnAutosaveFull, autosave);

    // Later records wait, each with the moment it arrived, and are written
    // to the autosave file at once; no second message.
    rig.state.clock.setFixed(kWhen.addSecs(60));
    rig.port->receive("2 N 102 000002 \r3 F");
    rig.state.clock.setFixed(kWhen.addSecs(125));
    rig.port->receive(" 103 000003 \r4 V 104 00004\r");
    QCOMPARE(rig.state.intRecordCount(), kDisplayCapacity);
    QCOMPARE(rig.receiver->waitingCount(), 3);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.state.blnAutosaveFull, autosave);
    const QStringList stamped{
        shown(QStringLiteral("    1    VALID        101    000001")),
        QStringLiteral(" 12/3/2026    1:06:09 PM    2    NOT VALID    102    000002"),
        QStringLiteral(" 12/3/2026    1:07:14 PM    3    OFF          103    000003"),
        QStringLiteral(" 12/3/2026    1:07:14 PM    4    VALID        104     00004"),
    };
    QCOMPARE(rig.autosaved(), autosave ? fileOf(stamped) : QByteArray("<unreadable>"));

    // Emptying the display lets them in, in arrival order with their own
    // stamps, without writing them a second time.
    rig.state.clock.setFixed(kWhen.addSecs(3600));
    rig.state.strRecords.clear();
    QCOMPARE(rig.receiver->waitingCount(), 0);
    QCOMPARE(rig.state.strRecords.recordLines(), stamped.mid(1));
    QCOMPARE(rig.state.strRecords.displayLines(),
             (QStringList{QStringLiteral(" 12/3/2026    1:06:09 PM         2        NOT VALID    102    000002"),
                          QStringLiteral(" 12/3/2026    1:07:14 PM         3        OFF          103    000003"),
                          QStringLiteral(" 12/3/2026    1:07:14 PM    RECEIVED INCORRECT DATA")}));
    QCOMPARE(rig.autosaved(), autosave ? fileOf(stamped) : QByteArray("<unreadable>"));

    // The request for a new file name outlives the records that follow.
    rig.port->receive("5 V 105 000005 \r");
    QCOMPARE(rig.state.intRecordCount(), 4);
    QCOMPARE(rig.state.blnAutosaveFull, autosave);
    QCOMPARE(rig.prompts.shown.size(), 1);
}

void TestIntake::waitingBeyondCapacity()
{
    // More records wait than the display holds: the display fills again from
    // the queue (and says so once more), the rest keeps waiting.
    Rig rig(false);
    QStringList filler;
    for (int i = 0; i < kDisplayCapacity; ++i)
        filler.append(QStringLiteral("filler"));
    rig.state.strRecords.appendMany(filler, filler);
    QByteArray burst;
    for (int i = 0; i < kDisplayCapacity + 2; ++i)
        burst += panel::message('1', 'V', "101", QByteArray::number(i));
    rig.port->receive(burst);
    QCOMPARE(rig.receiver->waitingCount(), kDisplayCapacity + 2);
    QCOMPARE(rig.prompts.shown.size(), 0);

    rig.state.strRecords.clear();
    QCOMPARE(rig.state.intRecordCount(), kDisplayCapacity);
    QCOMPARE(rig.receiver->waitingCount(), 2);
    QCOMPARE(rig.state.strRecords.recordLines().first().right(6), QStringLiteral("000000"));
    QCOMPARE(rig.prompts.shown.size(), 1);
    QVERIFY(rig.prompts.shown.at(0).text.startsWith(QStringLiteral("Gatetally has reached its maximum capacity\r\n")));

    rig.state.strRecords.clear();
    QCOMPARE(rig.state.strRecords.recordLines(),
             (QStringList{shown(QStringLiteral("    1    VALID        101    032500")),
                          shown(QStringLiteral("    1    VALID        101    032501"))}));
}

namespace {
// Answers the capacity box while a record arrives on the line, as happens
// while a real box waits for the operator.
class ArrivingDuringBox : public ScriptedPrompts
{
public:
    MemoryPortLink *port = nullptr;
    QByteArray arriving;
    Button message(const QString &text, Icon icon, Buttons buttons, const QString &title) override
    {
        const Button b = ScriptedPrompts::message(text, icon, buttons, title);
        if (!arriving.isEmpty())
            port->receive(std::exchange(arriving, QByteArray()));
        return b;
    }
};
} // namespace

void TestIntake::messageDuringCapacityBox()
{
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.clock.setFixed(kWhen);
    state.strAutosaveFile = QDir(dir.path()).filePath(QStringLiteral("gone/auto.txt"));
    state.blnAutosave = true;
    ArrivingDuringBox prompts;
    auto link = std::make_unique<MemoryPortLink>();
    prompts.port = link.get();
    prompts.arriving = "2 V 101 000002 \r";
    Receiver receiver(state, prompts, std::move(link));
    receiver.openPort();
    QStringList filler;
    for (int i = 0; i < kDisplayCapacity - 1; ++i)
        filler.append(QStringLiteral("filler"));
    state.strRecords.appendMany(filler, filler);

    // The autosave folder is missing: the failure box is up when the next
    // record arrives. It is taken at once, and the capacity box follows the
    // first instead of opening inside it.
    prompts.port->receive("1 V 101 000001 \r");
    QCOMPARE(receiver.waitingCount(), 1);
    QCOMPARE(prompts.shown.size(), 2);
    QVERIFY(prompts.shown.at(0).text.startsWith(QStringLiteral("The records file auto.txt could not be written:\r\n")));
    QVERIFY(prompts.shown.at(1).text.contains(QStringLiteral("for the file auto.txt.")));
}

void TestIntake::autosaveFailure()
{
    Rig rig;
    const QString folder = QDir(rig.dir.path()).filePath(QStringLiteral("Records/sub"));
    rig.state.strAutosaveFile = QDir(folder).filePath(QStringLiteral("auto.txt"));
    const QString prefix = QStringLiteral("The records file sub") + QDir::separator()
        + QStringLiteral("auto.txt could not be written:\r\n");

    rig.port->receive("1 V 101 000001 \r2 V 101 000002 \r");
    QCOMPARE(rig.prompts.shown.size(), 1);
    // The reason is the system's own, as an append to that path reports it.
    QFile probe(rig.state.strAutosaveFile);
    QVERIFY(!probe.open(QIODevice::WriteOnly | QIODevice::Append));
    const QString message = prefix + probe.errorString();
    QCOMPARE(rig.prompts.shown.at(0).text, message);
    QCOMPARE(rig.prompts.shown.at(0).icon, Prompts::Icon::Warning);

    // Back to working: no message; failing again after that: one more.
    QVERIFY(QDir().mkpath(folder));
    rig.port->receive("3 V 101 000003 \r");
    QCOMPARE(rig.prompts.shown.size(), 1);
    QVERIFY(QDir(folder).removeRecursively());
    rig.port->receive("4 V 101 000004 \r5 V 101 000005 \r");
    QCOMPARE(rig.prompts.shown.size(), 2);
    QCOMPARE(rig.prompts.shown.at(1).text, message);
    // Every record stays on the display, for Save to keep.
    QCOMPARE(rig.state.intRecordCount(), 5);
}

void TestIntake::portWillNotOpen_data()
{
    QTest::addColumn<QString>("override");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("device");
    QTest::newRow("Comm 3") << QString() << QStringLiteral("Comm 3 (/dev/ttyS2)") << QStringLiteral("/dev/ttyS2");
    QTest::newRow("named on the command line")
        << QStringLiteral("/dev/ttyUSB0") << QStringLiteral("/dev/ttyUSB0") << QStringLiteral("/dev/ttyUSB0");
}

void TestIntake::portWillNotOpen()
{
    QFETCH(QString, override);
    QFETCH(QString, name);
    QFETCH(QString, device);
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.intCommPort = 3;
    state.portOverride = override;
    ScriptedPrompts prompts;
    auto link = std::make_unique<MemoryPortLink>();
    MemoryPortLink *port = link.get();
    port->refuseOpen = QStringLiteral("No such file or directory");
    Receiver receiver(state, prompts, std::move(link));
    QSignalSpy status(&receiver, &Receiver::statusChanged);

    QVERIFY(!receiver.openPort());
    QCOMPARE(prompts.texts(),
             QStringList{QStringLiteral("The serial port %1 could not be opened:\r\nNo such file or directory\r\n\r\n"
                                        "No records are received until it opens. Another port can be\r\n"
                                        "chosen with Setup > Comm Port.")
                             .arg(name)});
    QCOMPARE(receiver.statusText(),
             QStringLiteral("Serial port %1 could not be opened (No such file or directory). "
                            "Trying again every 2 seconds.")
                 .arg(name));
    QCOMPARE(status.size(), 1);
    QCOMPARE(receiver.retryTimer()->interval(), 2000);
    QVERIFY(receiver.retryTimer()->isActive());

    // Retries are silent; the first that succeeds clears the status.
    receiver.retryTimer()->setInterval(5);
    QTRY_VERIFY(port->openCount >= 3);
    QCOMPARE(prompts.shown.size(), 1);
    port->refuseOpen.clear();
    QTRY_VERIFY(receiver.isPortOpen());
    QCOMPARE(port->openedDevice, device);
    QCOMPARE(receiver.statusText(), QString());
    QVERIFY(!receiver.retryTimer()->isActive());
    port->receive("1 V 101 000001 \r");
    QCOMPARE(state.intRecordCount(), 1);
}

void TestIntake::lostLine()
{
    Rig rig;
    rig.port->receive("1 V 101 0");
    rig.port->drop(QStringLiteral("Input/output error"));
    QVERIFY(!rig.receiver->isPortOpen());
    QCOMPARE(rig.receiver->statusText(),
             QStringLiteral("Serial port Comm 1 (/dev/ttyS0) was lost (Input/output error). Trying again every 2 seconds."));
    QCOMPARE(rig.prompts.shown.size(), 0);
    QVERIFY(rig.receiver->retryTimer()->isActive());

    rig.receiver->retryTimer()->setInterval(5);
    QTRY_VERIFY(rig.receiver->isPortOpen());
    QCOMPARE(rig.receiver->statusText(), QString());
    rig.port->receive("0001 \r2 V 101 000002 \r");
    // What came before the loss and after it is one 15-character message.
    QCOMPARE(rig.state.strRecords.displayLines(),
             (QStringList{shown(QStringLiteral("    RECEIVED INCORRECT DATA")),
                          shown(QStringLiteral("         2        VALID        101    000002"))}));
}

void TestIntake::switchAndClose()
{
    Rig rig;
    rig.port->receive("1 V 1");
    rig.state.intCommPort = 12;
    QVERIFY(rig.receiver->switchPort());
    QCOMPARE(rig.port->openedDevice, QStringLiteral("/dev/ttyS11"));
    QCOMPARE(rig.receiver->device(), QStringLiteral("/dev/ttyS11"));
    // The buffer and the display are not touched by a switch.
    rig.port->receive("01 000001 \r");
    QCOMPARE(rig.state.intRecordCount(), 1);
    QCOMPARE(rig.state.strRecords.recordLines().first(), shown(QStringLiteral("    1    VALID        101    000001")));

    rig.receiver->closePort();
    QVERIFY(!rig.receiver->isPortOpen());
    rig.port->receive("2 V 101 000002 \r");
    QCOMPARE(rig.state.intRecordCount(), 1);
    QVERIFY(!rig.receiver->retryTimer()->isActive());
}

QTEST_MAIN(TestIntake)
#include "tst_intake.moc"
