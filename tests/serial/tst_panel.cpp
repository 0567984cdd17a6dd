// The simulated panel writes exactly the bytes it promises, faults included:
// the writes it makes of a run of messages, and gatetally-panel itself.

#include "PanelSim.h"
#include "Processes.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

gt::test::Run runPanel(const QStringList &args) { return gt::test::run(QStringLiteral("gatetally-panel"), args); }

} // namespace

class TestPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writes();
    void script_data();
    void script();
};

// Write boundaries show only here; the bytes of every fault are checked
// through gatetally-panel below.
void TestPanel::writes()
{
    const QList<QByteArray> messages{gt::panel::message('1', 'V', "101", "1"), gt::panel::message('2', 'N', "102", "2"),
                                     gt::panel::message('3', 'F', "103", "3")};
    gt::panel::Faults splitAndMerge;
    splitAndMerge.split = 2;
    splitAndMerge.merge = 2;
    QCOMPARE(gt::panel::writes(messages, splitAndMerge),
             (QList<QByteArray>{"1 V 101 000001 \r", "2 N 1", "02 000002 ", "\r3 F 103 000003 \r"}));
}

// A script sent down a file as the line: the bytes that arrive, or the
// refusal (status 2) of what cannot be run.
void TestPanel::script_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("bytes"); // or the refusal on standard error
    const QByteArray one = "1 V 101 000001 \r";
    const QByteArray two = "2 N 102 000002 \r";
    const QByteArray lines = "1 V 101 000001 \r\n2 N 102 000002 \r\n";
    QTest::newRow("LF line ends, no final line end, an interval")
        << QByteArray("1 V 101 000001 \nshort") << QStringList{"--interval", "5"} << one + "short\r";
    QTest::newRow("each fault by its option")
        << lines
        << QStringList{"--burst", "--bad-status", "2", "--short", "3", "--noise", "4", "--long", "5", "--count", "5"}
        << one + "2 X 102 000002 \r1 V 101 000001\r2 X 102 000002 \r#~*NOISE*~#1 V 101 000001  \r";
    // Messages go out in batches; faults keep counting across them.
    QByteArray many;
    for (int n = 1; n <= 130; ++n)
        many += n % 50 ? (n % 2 ? one : two) : QByteArray(n % 2 ? "1 X 101 000001 \r" : "2 X 102 000002 \r");
    QTest::newRow("split and merge keep the bytes, across batches")
        << lines << QStringList{"--burst", "--split", "3", "--merge", "2", "--bad-status", "50", "--count", "130"}
        << many;
    QTest::newRow("two paces refused") << lines << QStringList{"--burst", "--interval", "5"}
                                       << QByteArray("gatetally-panel: give either --burst or --interval\n"
                                                     "Try 'gatetally-panel --help'.\n");
}

void TestPanel::script()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString scriptPath = dir.filePath("script.txt");
    const QString out = dir.filePath("line.bin");
    QVERIFY(gt::test::writeBytes(scriptPath, script));
    const gt::test::Run r = runPanel(QStringList{"--device", out, "--script", scriptPath} + args);
    const bool refused = bytes.startsWith("gatetally-panel:");
    QCOMPARE(r.code, refused ? 2 : 0);
    QCOMPARE(refused ? r.err : gt::test::readBytes(out), bytes);
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
