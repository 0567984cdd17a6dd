// The whole road from bytes on a line to records and the autosave file,
// through a real pseudo-terminal pair and the real QSerialPort.

#include "PortLink.h"
#include "PseudoTerminal.h"
#include "Receiver.h"
#include "ScriptedPrompts.h"
#include "State.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace gt;
using gt::test::ScriptedPrompts;

namespace {

const QDateTime kWhen(QDate(2026, 1, 5), QTime(10, 5, 9));
const QString kStamp = QStringLiteral("  1/5/2026   10:05:09 AM");
const QString kBad = QStringLiteral("    RECEIVED INCORRECT DATA");

struct Line
{
    QTemporaryDir dir;
    QString link = QDir(dir.path()).filePath(QStringLiteral("panel"));
    panel::PseudoTerminal pty;
    GatetallyState state{dir.path()};
    ScriptedPrompts prompts;
    std::unique_ptr<Receiver> receiver;

    bool start()
    {
        state.strAutosaveFile = QDir(dir.path()).filePath(QStringLiteral("auto.txt"));
        state.blnAutosave = true;
        state.clock.setFixed(kWhen);
        state.portOverride = link;
        if (!pty.open() || !pty.link(link))
            return false;
        receiver = std::make_unique<Receiver>(state, prompts, std::make_unique<SerialPortLink>());
        return receiver->openPort();
    }
};

} // namespace

class TestSerialLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bytesToRecords_data();
    void bytesToRecords();
    void portCannotBeOpened();
    void lineLostAndBack();
};

void TestSerialLine::bytesToRecords_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QStringList>("display");
    QTest::addColumn<QStringList>("records");

    QTest::newRow("pieces of 5, 10 and 1")
        << QList<QByteArray>{"1 V 1", "01 000123 ", "\r"}
        << QStringList{kStamp + QStringLiteral("         1        VALID        101    000123")}
        << QStringList{kStamp + QStringLiteral("    1    VALID        101    000123")};
    QTest::newRow("two messages in one write")
        << QList<QByteArray>{"1 V 101 000123 \r2 N 102 000456 \r"}
        << QStringList{kStamp + QStringLiteral("         1        VALID        101    000123"),
                       kStamp + QStringLiteral("         2        NOT VALID    102    000456")}
        << QStringList{kStamp + QStringLiteral("    1    VALID        101    000123"),
                       kStamp + QStringLiteral("    2    NOT VALID    102    000456")};
    QTest::newRow("15 characters") << QList<QByteArray>{"4 V 101 000123\r"} << QStringList{kStamp + kBad}
                                   << QStringList{kStamp + QStringLiteral("    4    VALID        101    000123")};
    QTest::newRow("statuses F, N and another")
        << QList<QByteArray>{"5 F 215 104999 \r6 N 101 000001 \r7 ? 101 000002 \r"}
        << QStringList{kStamp + QStringLiteral("         5        OFF          215    104999"),
                       kStamp + QStringLiteral("         6        NOT VALID    101    000001"),
                       kStamp + QStringLiteral("         7        ?    101    000002")}
        << QStringList{kStamp + QStringLiteral("    5    OFF          215    104999"),
                       kStamp + QStringLiteral("    6    NOT VALID    101    000001"),
                       kStamp + QStringLiteral("    7    ?    101    000002")};
    QTest::newRow("noise without a carriage return")
        << QList<QByteArray>{QByteArray(100, '%'), QByteArray(156, '%'), "8 V 101 000003 \r"}
        << QStringList{kStamp + kBad, kStamp + QStringLiteral("         8        VALID        101    000003")}
        << QStringList{kStamp + QStringLiteral("    %    %    %%%    %%%%%%"),
                       kStamp + QStringLiteral("    8    VALID        101    000003")};
}

void TestSerialLine::bytesToRecords()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QStringList, display);
    QFETCH(QStringList, records);
    Line line;
    QVERIFY(line.start());
    QByteArray pending;
    for (const QByteArray &w : writes) {
        QVERIFY(line.pty.write(w));
        pending += w;
        const qsizetype cr = pending.lastIndexOf('\r');
        if (cr >= 0)
            pending = pending.mid(cr + 1);
        if (pending.size() >= 256)
            pending.clear();
        // Each write is read on its own before the next goes out.
        if (!pending.isEmpty())
            QTRY_COMPARE(line.state.strReceiveBuffer, QString::fromLatin1(pending));
    }
    QTRY_COMPARE(line.state.intRecordCount(), records.size());
    QCOMPARE(line.state.strRecords.displayLines(), display);
    QCOMPARE(line.state.strRecords.recordLines(), records);
    QByteArray file;
    for (const QString &r : records)
        file += r.toLatin1() + "\r\n";
    QCOMPARE(gt::test::readBytes(line.state.strAutosaveFile), file);
    QCOMPARE(line.prompts.shown.size(), 0);
    QCOMPARE(line.receiver->statusText(), QString());
}

void TestSerialLine::portCannotBeOpened()
{
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.portOverride = QDir(dir.path()).filePath(QStringLiteral("no-such-port"));
    ScriptedPrompts prompts;
    Receiver receiver(state, prompts, std::make_unique<SerialPortLink>());
    QVERIFY(!receiver.openPort());
    QCOMPARE(prompts.shown.size(), 1);
    const QString text = prompts.shown.at(0).text;
    const QString head = QStringLiteral("The serial port %1 could not be opened:\r\n").arg(state.portOverride);
    const QString tail = QStringLiteral("\r\n\r\nNo records are received until it opens. Another port can be\r\n"
                                        "chosen with Setup > Comm Port.");
    QVERIFY2(text.startsWith(head) && text.endsWith(tail), qPrintable(text));
    // The system's reason stands between them.
    QVERIFY(text.size() > head.size() + tail.size());
    QCOMPARE(prompts.shown.at(0).icon, Prompts::Icon::Warning);
    QVERIFY(receiver.retryTimer()->isActive());
}

void TestSerialLine::lineLostAndBack()
{
    Line line;
    QVERIFY(line.start());
    QVERIFY(line.pty.write("1 V 101 000001 \r"));
    QTRY_COMPARE(line.state.intRecordCount(), 1);

    // The panel side goes away: the line is lost, shown, not boxed.
    line.pty.close();
    QTRY_VERIFY(!line.receiver->isPortOpen());
    const QString lost = QStringLiteral("Serial port %1 was lost (").arg(line.link);
    QVERIFY2(line.receiver->statusText().startsWith(lost), qPrintable(line.receiver->statusText()));
    QVERIFY(line.receiver->statusText().endsWith(QStringLiteral("). Trying again every 2 seconds.")));
    QCOMPARE(line.prompts.shown.size(), 0);

    // A new pseudo-terminal is published under the same name; the receiver
    // finds it on a later try and records flow again.
    panel::PseudoTerminal again;
    QVERIFY(again.open());
    QVERIFY(again.link(line.link));
    QTRY_VERIFY_WITH_TIMEOUT(line.receiver->isPortOpen(), 3 * Receiver::kRetryMs);
    QCOMPARE(line.receiver->statusText(), QString());
    QVERIFY(again.write("2 F 101 000002 \r"));
    QTRY_COMPARE(line.state.intRecordCount(), 2);
    QCOMPARE(line.state.strRecords.recordLines().last(),
             kStamp + QStringLiteral("    2    OFF          101    000002"));
    QCOMPARE(line.prompts.shown.size(), 0);
}

QTEST_MAIN(TestSerialLine)
#include "tst_serialline.moc"
