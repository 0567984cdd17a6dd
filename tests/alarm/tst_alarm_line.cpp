// The alarm in the running program, fed by a real pseudo-terminal: it comes
// up on the main screen while records keep flowing, and asks nothing.

#include "AlarmMonitor.h"
#include "AlarmSettingsFile.h"
#include "AlarmWidgets.h"
#include "Program.h"
#include "PseudoTerminal.h"
#include "Receiver.h"
#include "TestFiles.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace gt;

class TestAlarmLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void refusalsRaiseTheBannerWhileRecordsFlow();
};

void TestAlarmLine::refusalsRaiseTheBannerWhileRecordsFlow()
{
    test::ProgramOnLine p;
    QVERIFY(p.plug());
    // A bad value is told below the list and in Setup > Alarms, with the
    // default it gives way to.
    QVERIFY(test::writeBytes(alarm::alarmsIniPath(p.dir.path()), "[alarm]\ncard_refusals=many\n"));
    panel::PseudoTerminal &pty = p.pty;
    GatetallyApp &app = p.start(QDateTime(QDate(2026, 12, 7), QTime(14, 30, 0)));
    MainScreen *main = p.main();
    main->show();
    const QString told = "alarms.ini: card_refusals = \"many\" is not a whole number from 1 to 99; 3 is used.";
    QCOMPARE(main->lblAlertLine->text(), told);
    main->mnuSetupAlarms->trigger();
    auto *dialog = main->findChild<alarm::AlarmsDialog *>("frmAlarms");
    QVERIFY(dialog);
    QCOMPARE(dialog->lblProblems->text(), told);
    QCOMPARE(dialog->txtCardRefusals->value(), 3);
    QVERIFY(!main->lblAlert->isVisibleTo(main));

    // Three refusals, then twenty records more in the same write.
    QByteArray burst = "2 N 045 000777 \r4 N 045 000777 \r2 N 045 000777 \r";
    for (int i = 0; i < 20; ++i)
        burst += QStringLiteral("%1 V 045 %2 \r").arg(1 + i % 9).arg(100 + i, 6, 10, QLatin1Char('0')).toLatin1();
    QVERIFY(pty.write(burst));
    QTRY_COMPARE(main->txtNumber->text(), QStringLiteral("23"));
    const QString alarm = "Alarm: card 000777 (facility 045) refused 3 times since 2:30:00 PM at entry points 2, 4";
    QTRY_VERIFY(main->lblAlert->isVisibleTo(main));
    QCOMPARE(main->lblAlert->text(), alarm);
    QVERIFY(p.prompts.shown.isEmpty() && !QApplication::activeModalWidget()); // Setup > Alarms still open

    // Acknowledged, the banner goes; the records stay as they were.
    QTest::mouseClick(main->cmdAlertAck, Qt::LeftButton);
    QVERIFY(!main->lblAlert->isVisibleTo(main));
    QCOMPARE(main->lstMain->model()->rowCount(), 23);
    QCOMPARE(main->lblAlertLine->text(), alarm);

    // Records that wait for room on a full display are watched as they
    // arrive, not when the display takes them.
    const int room = kDisplayCapacity - 23;
    app.state().strRecords.appendMany(QStringList(room, "f"), QStringList(room, "f"));
    QVERIFY(pty.write("2 N 045 000888 \r3 N 045 000888 \r2 N 045 000888 \r"));
    QTRY_COMPARE(app.receiver()->waitingCount(), 3);
    QTRY_VERIFY(main->lblAlert->isVisibleTo(main));
    QCOMPARE(main->lblAlert->text(),
             "Alarm: card 000888 (facility 045) refused 3 times since 2:30:00 PM at entry points 2, 3");
}

QTEST_MAIN(TestAlarmLine)
#include "tst_alarm_line.moc"
