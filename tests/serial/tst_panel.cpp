// gatetally-panel writes exactly the bytes it promises, faults included.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString panelProgram()
{
    return QDir(qEnvironmentVariable("GATETALLY_BIN_DIR")).filePath(QStringLiteral("gatetally-panel"));
}

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runPanel(const QStringList &args)
{
    QProcess p;
    p.start(panelProgram(), args);
    Run r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool hits(int every, int n) { return every > 0 && n % every == 0; }

} // namespace

class TestPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void help();
    void refused_data();
    void refused();
    void script_data();
    void script();
    void generated();
    void generatedFaults_data();
    void generatedFaults();
    void pseudoTerminal();
};

void TestPanel::initTestCase() { QVERIFY2(QFile::exists(panelProgram()), qPrintable(panelProgram())); }

void TestPanel::help()
{
    const Run r = runPanel({QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    for (const char *option : {"--device PATH", "--pty", "--link PATH", "--interval MS", "--burst", "--count N",
                               "--seed N", "--script FILE", "--split N", "--merge N", "--short N", "--long N",
                               "--noise N", "--bad-status N", "--help"})
        QVERIFY2(r.out.contains(QByteArray("\n  ") + option), option);
}

void TestPanel::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("error");
    QTest::newRow("nowhere to write") << QStringList{"--burst"} << QByteArray("give either --device PATH or --pty");
    QTest::newRow("two places") << QStringList{"--pty", "--device", "x"}
                                << QByteArray("give either --device PATH or --pty");
    QTest::newRow("link without pty") << QStringList{"--device", "x", "--link", "y"}
                                      << QByteArray("--link needs --pty");
    QTest::newRow("two paces") << QStringList{"--pty", "--burst", "--interval", "5"}
                               << QByteArray("give either --burst or --interval");
    QTest::newRow("unknown option") << QStringList{"--pty", "--fast"} << QByteArray("unknown option --fast");
    QTest::newRow("count not a number") << QStringList{"--pty", "--count", "many"}
                                        << QByteArray("option --count needs a number of at least 0");
    QTest::newRow("fault every 0th") << QStringList{"--pty", "--split", "0"}
                                     << QByteArray("option --split needs a number of at least 1");
    QTest::newRow("value missing") << QStringList{"--device"} << QByteArray("option --device needs a value");
}

void TestPanel::refused()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, error);
    const Run r = runPanel(args);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.err, "gatetally-panel: " + error + "\nTry 'gatetally-panel --help'.\n");
    QVERIFY(r.out.isEmpty());
}

void TestPanel::script_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray two = "1 V 101 000001 \r\n2 N 102 000002 \r\n";
    QTest::newRow("lines as they stand") << two << QStringList{} << QByteArray("1 V 101 000001 \r2 N 102 000002 \r");
    QTest::newRow("LF line ends, no final line end")
        << QByteArray("1 V 101 000001 \nshort") << QStringList{} << QByteArray("1 V 101 000001 \rshort\r");
    QTest::newRow("repeated to the count") << two << QStringList{"--count", "5"}
                                           << QByteArray("1 V 101 000001 \r2 N 102 000002 \r1 V 101 000001 \r"
                                                         "2 N 102 000002 \r1 V 101 000001 \r");
    QTest::newRow("a count below the script") << two << QStringList{"--count", "1"}
                                              << QByteArray("1 V 101 000001 \r");
    QTest::newRow("bad status on the 2nd") << two << QStringList{"--bad-status", "2"}
                                           << QByteArray("1 V 101 000001 \r2 X 102 000002 \r");
    QTest::newRow("short on the 1st") << two << QStringList{"--short", "2", "--count", "3"}
                                      << QByteArray("1 V 101 000001 \r2 N 102 000002\r1 V 101 000001 \r");
    QTest::newRow("long on every one") << two << QStringList{"--long", "1"}
                                       << QByteArray("1 V 101 000001  \r2 N 102 000002  \r");
    QTest::newRow("noise after the 1st") << two << QStringList{"--noise", "1", "--count", "1"}
                                         << QByteArray("1 V 101 000001 \r#~*NOISE*~#");
    QTest::newRow("split and merge keep the bytes")
        << two << QStringList{"--split", "1", "--merge", "2", "--count", "4"}
        << QByteArray("1 V 101 000001 \r2 N 102 000002 \r1 V 101 000001 \r2 N 102 000002 \r");
    QTest::newRow("with an interval") << two << QStringList{"--interval", "5"}
                                      << QByteArray("1 V 101 000001 \r2 N 102 000002 \r");
}

void TestPanel::script()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString scriptPath = dir.filePath(QStringLiteral("script.txt"));
    const QString out = dir.filePath(QStringLiteral("line.bin"));
    QFile f(scriptPath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(script);
    f.close();
    QStringList all{"--device", out, "--script", scriptPath};
    if (!args.contains(QStringLiteral("--interval")))
        all.append(QStringLiteral("--burst"));
    const Run r = runPanel(all + args);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(fileBytes(out), bytes);
}

void TestPanel::generated()
{
    QTemporaryDir dir;
    auto make = [&](const QString &name, const QString &seed) {
        const QString out = dir.filePath(name);
        const Run r = runPanel({"--device", out, "--burst", "--count", "400", "--seed", seed});
        return r.exitCode == 0 ? fileBytes(out) : QByteArray();
    };
    const QByteArray a = make(QStringLiteral("a"), QStringLiteral("11"));
    QCOMPARE(a.size(), 400 * 16);
    QCOMPARE(make(QStringLiteral("b"), QStringLiteral("11")), a);
    QVERIFY(make(QStringLiteral("c"), QStringLiteral("12")) != a);

    const QRegularExpression shape(QStringLiteral("^[1-9] ([VNF]) [0-9]{3} [0-9]{6} \r$"));
    QMap<QChar, int> statuses;
    for (int i = 0; i < 400; ++i) {
        const QString m = QString::fromLatin1(a.mid(i * 16, 16));
        const auto match = shape.match(m);
        QVERIFY2(match.hasMatch(), qPrintable(m));
        ++statuses[match.captured(1).at(0)];
    }
    // Mostly VALID, some NOT VALID and OFF.
    QVERIFY(statuses.value(QLatin1Char('V')) > 200);
    QVERIFY(statuses.value(QLatin1Char('N')) > 0);
    QVERIFY(statuses.value(QLatin1Char('F')) > 0);
}

void TestPanel::generatedFaults_data()
{
    QTest::addColumn<int>("badStatus");
    QTest::addColumn<int>("shortEvery");
    QTest::addColumn<int>("longEvery");
    QTest::addColumn<int>("noise");
    QTest::newRow("status and short") << 3 << 4 << 0 << 0;
    QTest::newRow("long and noise") << 0 << 0 << 5 << 7;
    QTest::newRow("all four") << 2 << 3 << 5 << 6;
}

void TestPanel::generatedFaults()
{
    QFETCH(int, badStatus);
    QFETCH(int, shortEvery);
    QFETCH(int, longEvery);
    QFETCH(int, noise);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("line.bin"));
    QStringList args{"--device", out, "--burst", "--count", "60", "--seed", "3", "--split", "4", "--merge", "9"};
    auto add = [&](const char *option, int every) {
        if (every)
            args << QString::fromLatin1(option) << QString::number(every);
    };
    add("--bad-status", badStatus);
    add("--short", shortEvery);
    add("--long", longEvery);
    add("--noise", noise);
    QCOMPARE(runPanel(args).exitCode, 0);

    // Walk the line as a reader would and check each message against what
    // its number promises.
    QByteArray line = fileBytes(out);
    for (int n = 1; n <= 60; ++n) {
        const int cr = int(line.indexOf('\r'));
        QVERIFY2(cr >= 0, qPrintable(QString::number(n)));
        const QByteArray m = line.left(cr + 1);
        line.remove(0, cr + 1);
        const int length = 16 - (hits(shortEvery, n) ? 1 : 0) + (hits(longEvery, n) ? 1 : 0);
        QCOMPARE(m.size(), length);
        QCOMPARE(m.at(2) == 'X', hits(badStatus, n));
        if (!hits(badStatus, n))
            QVERIFY(QByteArray("VNF").contains(m.at(2)));
        if (hits(noise, n)) {
            QVERIFY(line.startsWith("#~*NOISE*~#"));
            line.remove(0, 11);
        }
    }
    QCOMPARE(line, QByteArray());
}

void TestPanel::pseudoTerminal()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("panel"));
    QProcess p;
    p.start(panelProgram(), {"--pty", "--link", link, "--burst", "--count", "3", "--seed", "1", "--long", "3"});
    QVERIFY(p.waitForReadyRead(10000));
    const QByteArray device = p.readLine().trimmed();
    QVERIFY2(device.startsWith("/dev/pts/"), device.constData());
    QCOMPARE(QFile::symLinkTarget(link), QString::fromLatin1(device));

    const int fd = ::open(QFile::encodeName(link).constData(), O_RDONLY | O_NOCTTY);
    QVERIFY(fd >= 0);
    QByteArray got;
    char buffer[64];
    while (got.size() < 49) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, n);
    }
    // Everything read: the panel ends by itself.
    QVERIFY(p.waitForFinished(10000));
    ::close(fd);
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(got.size(), 49);
    QVERIFY(got.mid(0, 16).endsWith(" \r"));
    QVERIFY(got.mid(32).endsWith("  \r"));
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
