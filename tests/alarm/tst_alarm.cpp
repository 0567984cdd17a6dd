// The alarm on repeated refusals: the rule fed through the display store as
// the receiver fills it, what the banner and alarms.log get, and alarms.ini.

#include "AlarmMonitor.h"
#include "AlarmSettingsFile.h"
#include "RecordLine.h"
#include "State.h"
#include "Rows.h"
#include "TestFiles.h"

#include <QtTest>

using namespace gt;
using namespace gt::alarm;

namespace {

// Each step is "13:00:00 1 N 045 123456", the time a panel message arrives on
// the 7th of December 2026 and the message; a time earlier than the one
// before is on the next day. "ACK" acknowledges.
struct Rule
{
    const char *name;
    QStringList script;
    QStringList banner = {}; // alarms not acknowledged, oldest first
    int logged = 0;
    QByteArray ini = {};
    bool names = false; // entry point 1 is "Door 1", shown by name
};
const Rule kRules[] = {
    // The same number of another facility is another card; two refusals
    // more after the alarm: its count starts again.
    {.name = "one card over three entry points, counted anew after",
     .script = {"13:00:00 1 N 045 123456", "13:00:10 3 N 046 123456", "13:00:30 2 V 045 123456", "13:01:00 2 N 045 123456",
                "13:02:10 4 N 045 123456", "13:02:20 1 N 045 123456", "13:02:30 2 N 045 123456"},
     .banner = {"Alarm: card 123456 (facility 045) refused 3 times since 1:00:00 PM at entry points 1, 2, 4"}, .logged = 1},
    {.name = "one entry point over five cards",
     .script = {"13:00:00 7 N 045 000001", "13:01:00 7 N 045 000002", "13:02:00 7 N 046 000003", "13:02:30 7 F 045 000009",
                "13:03:00 7 N 045 000004", "13:04:59 7 N 045 000005"},
     .banner = {"Alarm: entry point 7 refused 5 times since 1:00:00 PM"}, .logged = 1},
    {.name = "window's edge: exactly five minutes counts",
     .script = {"13:00:00 1 N 045 123456", "13:02:00 1 N 045 123456", "13:05:00 1 N 045 123456"},
     .banner = {"Alarm: card 123456 (facility 045) refused 3 times since 1:00:00 PM at entry point 1"}, .logged = 1},
    {.name = "window's edge: one second more does not",
     .script = {"13:00:00 1 N 045 123456", "13:02:00 1 N 045 123456", "13:05:01 1 N 045 123456"}},
    // The first alarm leaves the banner when acknowledged, not the log.
    {.name = "acknowledged, then raised again by fresh refusals",
     .script = {"13:00:00 1 N 045 123456", "13:00:10 1 N 045 123456", "13:00:20 1 N 045 123456", "ACK",
                "13:00:30 1 N 045 123456", "13:00:40 2 N 045 123456", "13:00:50 3 N 045 123456"},
     .banner = {"Alarm: card 123456 (facility 045) refused 3 times since 1:00:30 PM at entry points 1, 2, 3"}, .logged = 2},
    {.name = "card and entry point raised by one refusal, over midnight",
     .script = {"23:58:00 5 N 045 123456", "23:59:00 5 N 045 123456", "00:01:00 5 N 045 123456"},
     .banner = {"Alarm: card 123456 (facility 045) refused 3 times since 12/7/2026 11:58:00 PM at entry point 5",
                "Alarm: entry point 5 refused 3 times since 12/7/2026 11:58:00 PM"},
     .logged = 2, .ini = "[alarm]\nentry_refusals=3\n"},
    {.name = "alarm off", .script = {"13:00:00 1 N 045 123456", "13:00:10 1 N 045 123456", "13:00:20 1 N 045 123456"},
     .ini = "[alarm]\nenabled=false\n"},
    {.name = "other limits from alarms.ini",
     .script = {"13:00:00 1 N 045 123456", "13:01:01 1 N 045 123456", "13:02:00 1 N 045 123456"},
     .banner = {"Alarm: card 123456 (facility 045) refused 2 times since 1:01:01 PM at entry point 1"}, .logged = 1,
     .ini = "[alarm]\ncard_refusals=2\nwindow_minutes=1\n"},
    {.name = "names shown", .script = {"13:00:00 1 N 045 123456", "13:00:10 3 N 045 123456", "13:00:20 1 N 045 123456"},
     .banner = {"Alarm: card 123456 (facility 045) refused 3 times since 1:00:00 PM at entry points Door 1, 3",
                "Alarm: entry point Door 1 refused 2 times since 1:00:00 PM"},
     .logged = 2, .ini = "[alarm]\nentry_refusals=2\n", .names = true},
};

const AlarmSettings kDefaults{.enabled = true, .cardRefusals = 3, .entryRefusals = 5, .windowMinutes = 5};
struct IniFile
{
    const char *name;
    QByteArray ini = {};
    AlarmSettings used = kDefaults;
    QStringList problems = {};
};
const IniFile kIniFiles[] = {
    {.name = "no file"},
    {.name = "all set",
     .ini = "[alarm]\nenabled=false\ncard_refusals=4\nentry_refusals=9\nwindow_minutes=60\n",
     .used = {.enabled = false, .cardRefusals = 4, .entryRefusals = 9, .windowMinutes = 60}},
    {.name = "bad values",
     .ini = "[alarm]\nenabled=maybe\ncard_refusals=3,4\nentry_refusals=0\nwindow_minutes=1441\n",
     .problems = {"alarms.ini: enabled = \"maybe\" is neither true nor false; true is used.",
                  "alarms.ini: card_refusals = \"3,4\" is not a whole number from 1 to 99; 3 is used.",
                  "alarms.ini: entry_refusals = \"0\" is not a whole number from 1 to 99; 5 is used.",
                  "alarms.ini: window_minutes = \"1441\" is not a whole number from 1 to 1440; 5 is used."}},
};

} // namespace

class TestAlarm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rule_data() { test::rowsOf(kRules); }
    void rule();
    void settingsFile_data() { test::rowsOf(kIniFiles); }
    void settingsFile();
};

void TestAlarm::rule()
{
    QFETCH(int, row);
    const Rule &c = kRules[row];
    QTemporaryDir dir;
    if (!c.ini.isEmpty())
        QVERIFY(test::writeBytes(alarmsIniPath(dir.path()), c.ini));
    GatetallyState state(dir.path());
    state.strEntryNames = QStringList{"Door 1", ""};
    state.strDisplayMode = c.names ? DisplayMode::Name : DisplayMode::Number;
    AlarmMonitor monitor(state);
    QDateTime when(QDate(2026, 12, 7), QTime(0, 0));
    for (const QString &step : c.script) {
        if (step == QLatin1String("ACK")) {
            QCoreApplication::sendPostedEvents();
            monitor.acknowledge();
            continue;
        }
        const QTime at = QTime::fromString(step.left(8), QStringLiteral("HH:mm:ss"));
        when = QDateTime(when.date().addDays(at < when.time() ? 1 : 0), at);
        const QString record = buildRecordLine(step.mid(9), when);
        // As the receiver does: the row, then the record told.
        state.strRecords.append(record, MakeDisplayLine(record, state.strDisplayMode, state.strEntryNames));
        state.strRecords.announceTaken(record, false);
    }
    QCoreApplication::sendPostedEvents();

    QCOMPARE(monitor.active(), c.banner);
    const QByteArray log = test::readBytes(alarmsLogPath(dir.path()));
    QCOMPARE(log.count("\r\n"), c.logged); // none made when none raised
    // The newest alarm ends the log, after the moment it was raised.
    if (c.logged)
        QVERIFY2(log.endsWith("  " + c.banner.last().toLatin1() + "\r\n"), log.constData());
}

void TestAlarm::settingsFile()
{
    QFETCH(int, row);
    const IniFile &c = kIniFiles[row];
    QTemporaryDir dir;
    const QString path = alarmsIniPath(dir.path());
    if (!c.ini.isEmpty())
        QVERIFY(test::writeBytes(path, c.ini));
    QStringList told;
    QVERIFY(loadAlarmSettings(path, &told) == c.used);
    QCOMPARE(told, c.problems);
    // Written back as read; for "all set", none of them the default.
    QString error;
    QVERIFY2(saveAlarmSettings(path, c.used, &error), qPrintable(error));
    QVERIFY(loadAlarmSettings(path, &told) == c.used);
}

QTEST_GUILESS_MAIN(TestAlarm)
#include "tst_alarm.moc"
