// The alarm on repeated refusals: the rule fed through the display store as
// the receiver fills it, what the banner and alarms.log get, and alarms.ini.

#include "AlarmMonitor.h"
#include "AlarmSettingsFile.h"
#include "RecordLine.h"
#include "State.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;
using namespace gt::alarm;

namespace {

// "N 1 045 123456 13:00:00": status, entry point, facility, card, time of a
// record of the 7th of December 2026; "ACK" acknowledges; "NEXTDAY ..." the
// same on the 8th.
void feed(GatetallyState &state, AlarmMonitor &monitor, const QStringList &script)
{
    for (const QString &step : script) {
        if (step == QLatin1String("ACK")) {
            QCoreApplication::sendPostedEvents();
            monitor.acknowledge();
            continue;
        }
        QStringList f = step.split(QLatin1Char(' '));
        QDate day(2026, 12, 7);
        if (f.first() == QLatin1String("NEXTDAY")) {
            day = day.addDays(1);
            f.removeFirst();
        }
        const QString record = buildRecordLine(QStringLiteral("%1 %2 %3 %4").arg(f[1], f[0], f[2], f[3]),
                                               QDateTime(day, QTime::fromString(f[4], QStringLiteral("HH:mm:ss"))));
        // As the receiver does: the row, then the record told.
        state.strRecords.append(record, MakeDisplayLine(record, state.strDisplayMode, state.strEntryNames));
        state.strRecords.announceTaken(record, false);
    }
    QCoreApplication::sendPostedEvents();
}

} // namespace

class TestAlarm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rule_data();
    void rule();
    void settingsFile_data();
    void settingsFile();
};

void TestAlarm::rule_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("names");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("banner"); // alarms not acknowledged, oldest first
    QTest::addColumn<int>("logged");

    const QString none;
    QTest::newRow("one card over three entry points")
        << none << false
        << QStringList{"N 1 045 123456 13:00:00", "V 2 045 123456 13:00:30", "N 2 045 123456 13:01:00",
                       "N 4 045 123456 13:02:10"}
        << QStringList{"Alarm: card 123456 (facility 045) refused 3 times since 1:00:00 PM at entry points 1, 2, 4"}
        << 1;
    QTest::newRow("one entry point over five cards")
        << none << false
        << QStringList{"N 7 045 000001 13:00:00", "N 7 045 000002 13:01:00", "N 7 046 000003 13:02:00",
                       "F 7 045 000009 13:02:30", "N 7 045 000004 13:03:00", "N 7 045 000005 13:04:59"}
        << QStringList{"Alarm: entry point 7 refused 5 times since 1:00:00 PM"} << 1;
    QTest::newRow("same number, other facility: two cards")
        << none << false
        << QStringList{"N 1 045 123456 13:00:00", "N 1 046 123456 13:00:10", "N 2 045 123456 13:00:20"}
        << QStringList{} << 0;
    QTest::newRow("window's edge: exactly five minutes counts")
        << none << false
        << QStringList{"N 1 045 123456 13:00:00", "N 1 045 123456 13:02:00", "N 1 045 123456 13:05:00"}
        << QStringList{"Alarm: card 123456 (facility 045) refused 3 times since 1:00:00 PM at entry point 1"} << 1;
    QTest::newRow("window's edge: one second more does not")
        << none << false
        << QStringList{"N 1 045 123456 13:00:00", "N 1 045 123456 13:02:00", "N 1 045 123456 13:05:01"}
        << QStringList{} << 0;
    QTest::newRow("counts restart after an alarm")
        << none << false
        << QStringList{"N 1 045 123456 13:00:00", "N 2 045 123456 13:00:10", "N 1 045 123456 13:00:20",
                       "N 2 045 123456 13:00:30", "N 1 045 123456 13:00:40"}
        << QStringList{"Alarm: card 123456 (facility 045) refused 3 times since 1:00:00 PM at entry points 1, 2"} << 1;
    QTest::newRow("acknowledged, then raised again by fresh refusals")
        << none << false
        << QStringList{"N 1 045 123456 13:00:00", "N 1 045 123456 13:00:10", "N 1 045 123456 13:00:20", "ACK",
                       "N 1 045 123456 13:00:30", "N 2 045 123456 13:00:40", "N 3 045 123456 13:00:50"}
        << QStringList{"Alarm: card 123456 (facility 045) refused 3 times since 1:00:30 PM at entry points 1, 2, 3"}
        << 2;
    QTest::newRow("acknowledged: the banner is empty, the log keeps it")
        << none << false
        << QStringList{"N 1 045 123456 13:00:00", "N 1 045 123456 13:00:10", "N 1 045 123456 13:00:20", "ACK"}
        << QStringList{} << 1;
    QTest::newRow("card and entry point raised by one refusal")
        << QStringLiteral("[alarm]\nentry_refusals=3\n") << false
        << QStringList{"N 5 045 123456 23:58:00", "N 5 045 123456 23:59:00", "NEXTDAY N 5 045 123456 00:01:00"}
        << QStringList{"Alarm: card 123456 (facility 045) refused 3 times since 12/7/2026 11:58:00 PM at entry point 5",
                       "Alarm: entry point 5 refused 3 times since 12/7/2026 11:58:00 PM"}
        << 2;
    QTest::newRow("alarm off")
        << QStringLiteral("[alarm]\nenabled=false\n") << false
        << QStringList{"N 1 045 123456 13:00:00", "N 1 045 123456 13:00:10", "N 1 045 123456 13:00:20"}
        << QStringList{} << 0;
    QTest::newRow("other limits from alarms.ini")
        << QStringLiteral("[alarm]\ncard_refusals=2\nwindow_minutes=1\n") << false
        << QStringList{"N 1 045 123456 13:00:00", "N 1 045 123456 13:01:01", "N 1 045 123456 13:02:00"}
        << QStringList{"Alarm: card 123456 (facility 045) refused 2 times since 1:01:01 PM at entry point 1"} << 1;
    QTest::newRow("names shown")
        << none << true
        << QStringList{"N 1 045 123456 13:00:00", "N 3 045 123456 13:00:10", "N 1 045 123456 13:00:20"}
        << QStringList{"Alarm: card 123456 (facility 045) refused 3 times since 1:00:00 PM at entry points Door 1, 3"}
        << 1;
    QTest::newRow("names shown, entry point")
        << QStringLiteral("[alarm]\nentry_refusals=2\n") << true
        << QStringList{"N 1 045 000001 13:00:00", "N 1 045 000002 13:00:10"}
        << QStringList{"Alarm: entry point Door 1 refused 2 times since 1:00:00 PM"} << 1;
}

void TestAlarm::rule()
{
    QFETCH(QString, ini);
    QFETCH(bool, names);
    QFETCH(QStringList, script);
    QFETCH(QStringList, banner);
    QFETCH(int, logged);

    QTemporaryDir dir;
    if (!ini.isEmpty())
        test::writeBytes(alarmsIniPath(dir.path()), ini.toLatin1());
    GatetallyState state(dir.path());
    state.strEntryNames = QStringList{"Door 1", ""};
    state.strDisplayMode = names ? DisplayMode::Name : DisplayMode::Number;
    AlarmMonitor monitor(state);
    QVERIFY(monitor.settingsProblems().isEmpty());
    QSignalSpy raised(&monitor, &AlarmMonitor::raised);
    feed(state, monitor, script);

    QCOMPARE(monitor.active(), banner);
    QCOMPARE(raised.size(), logged);
    QFile log(alarmsLogPath(dir.path()));
    if (logged == 0) {
        QVERIFY(!log.exists());
        return;
    }
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), logged + 1); // the last line end leaves an empty piece
    // The newest alarm ends the log, after the moment it was raised.
    if (!banner.isEmpty())
        QVERIFY2(lines.at(logged - 1).endsWith("  " + banner.last().toLatin1() + '\r'), lines.at(logged - 1));
    QCOMPARE(QFile::permissions(log.fileName()) & 0x0077, QFileDevice::Permissions());
}

void TestAlarm::settingsFile_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("used"); // enabled card entry window
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("no file") << QByteArray() << "1 3 5 5" << QStringList{};
    QTest::newRow("all set") << QByteArray("[alarm]\nenabled=false\ncard_refusals=4\nentry_refusals=9\nwindow_minutes=60\n")
                             << "0 4 9 60" << QStringList{};
    QTest::newRow("bad values") << QByteArray("[alarm]\nenabled=maybe\ncard_refusals=abc\nentry_refusals=0\nwindow_minutes=1441\n")
                                << "1 3 5 5"
                                << QStringList{"alarms.ini: enabled = \"maybe\" is neither true nor false; true is used.",
                                               "alarms.ini: card_refusals = \"abc\" is not a whole number from 1 to 99; 3 is used.",
                                               "alarms.ini: entry_refusals = \"0\" is not a whole number from 1 to 99; 5 is used.",
                                               "alarms.ini: window_minutes = \"1441\" is not a whole number from 1 to 1440; 5 is used."};
    QTest::newRow("a list and a fraction") << QByteArray("[alarm]\ncard_refusals=3,4\nwindow_minutes=2.5\n") << "1 3 5 5"
                                           << QStringList{"alarms.ini: card_refusals = \"3,4\" is not a whole number from 1 to 99; 3 is used.",
                                                          "alarms.ini: window_minutes = \"2.5\" is not a whole number from 1 to 1440; 5 is used."};
}

void TestAlarm::settingsFile()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, used);
    QFETCH(QStringList, problems);
    QTemporaryDir dir;
    const QString path = alarmsIniPath(dir.path());
    if (!ini.isEmpty())
        test::writeBytes(path, ini);
    QStringList told;
    const AlarmSettings s = loadAlarmSettings(path, &told);
    QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(int(s.enabled)).arg(s.cardRefusals).arg(s.entryRefusals).arg(s.windowMinutes),
             used);
    QCOMPARE(told, problems);

    // What Setup > Alarms keeps reads back as it was given.
    AlarmSettings changed;
    changed.enabled = false;
    changed.cardRefusals = 7;
    changed.windowMinutes = 30;
    QString error;
    QVERIFY2(saveAlarmSettings(path, changed, &error), qPrintable(error));
    told.clear();
    QVERIFY(loadAlarmSettings(path, &told) == changed);
    QCOMPARE(told, QStringList());
}

QTEST_GUILESS_MAIN(TestAlarm)
#include "tst_alarm.moc"
