// The simulated panel writes exactly the bytes it promises, faults included:
// the writes it makes of a run of messages, and gatetally-panel itself.

#include "PanelSim.h"
#include "Processes.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(gt::panel::Faults)

namespace {

gt::test::Run runPanel(const QStringList &args) { return gt::test::run(QStringLiteral("gatetally-panel"), args); }

gt::panel::Faults faults(int split, int merge)
{
    gt::panel::Faults f;
    f.split = split;
    f.merge = merge;
    return f;
}

} // namespace

class TestPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void writes_data();
    void writes();
    void refused_data();
    void refused();
    void script_data();
    void script();
    void generated();
};

void TestPanel::initTestCase()
{
    QVERIFY2(QFile::exists(gt::test::binary("gatetally-panel")), qPrintable(gt::test::binary("gatetally-panel")));
}

void TestPanel::writes_data()
{
    QTest::addColumn<gt::panel::Faults>("faults");
    QTest::addColumn<QList<QByteArray>>("writes");
    const QByteArray m1 = "1 V 101 000001 \r";
    const QByteArray m2 = "2 N 102 000002 \r";
    const QByteArray m3 = "3 F 103 000003 \r";
    // Write boundaries show only here; the bytes of every fault are checked
    // through gatetally-panel below.
    QTest::newRow("merge every one") << faults(0, 1) << QList<QByteArray>{m1 + m2 + m3};
    QTest::newRow("split and merge on one") << faults(2, 2)
                                            << QList<QByteArray>{m1, "2 N 1", "02 000002 ", "\r" + m3};
}

void TestPanel::writes()
{
    QFETCH(gt::panel::Faults, faults);
    QFETCH(QList<QByteArray>, writes);
    const QList<QByteArray> messages{gt::panel::message('1', 'V', "101", "1"), gt::panel::message('2', 'N', "102", "2"),
                                     gt::panel::message('3', 'F', "103", "3")};
    QCOMPARE(gt::panel::writes(messages, faults), writes);
}

// --help lists every option; what cannot be run is refused with status 2.
void TestPanel::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("error"); // empty: --help, listing the options
    QTest::newRow("help") << QStringList{"--help"} << QByteArray();
    QTest::newRow("two paces") << QStringList{"--pty", "--burst", "--interval", "5"}
                               << QByteArray("give either --burst or --interval");
    QTest::newRow("value missing") << QStringList{"--device"} << QByteArray("option --device needs a value");
}

void TestPanel::refused()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, error);
    const gt::test::Run r = runPanel(args);
    QCOMPARE(r.code, error.isEmpty() ? 0 : 2);
    QCOMPARE(r.err, error.isEmpty() ? "" : "gatetally-panel: " + error + "\nTry 'gatetally-panel --help'.\n");
    QCOMPARE(r.out.contains("\n  --script FILE"), error.isEmpty());
}

void TestPanel::script_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("bytes");
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
    QCOMPARE(runPanel(QStringList{"--device", out, "--script", scriptPath} + args).code, 0);
    QCOMPARE(gt::test::readBytes(out), bytes);
}

void TestPanel::generated()
{
    // The same seed gives the same messages, another seed others. (Sent over
    // a pseudo-terminal, and a link to it, they are followed into the program
    // by the fault tests.)
    QTemporaryDir dir;
    const QString out = dir.filePath("line.bin");
    const auto generate = [&](const char *seed) {
        const bool done = runPanel({"--device", out, "--burst", "--count", "400", "--seed", seed}).code == 0;
        return done ? gt::test::readBytes(out) : QByteArray();
    };
    const QByteArray got = generate("11");
    QVERIFY(got.size() == 400 * 16 && generate("11") == got && generate("12") != got);

    // Messages of the panel's shape, mostly VALID.
    QVERIFY(got.startsWith("") && got.count(" V ") > 200 && got.count(" N ") > 0 && got.count(" F ") > 0);
    QCOMPARE(got.count('\r'), 400);
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
