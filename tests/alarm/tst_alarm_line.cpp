// The alarm in the running program, fed by a real pseudo-terminal: it comes
// up on the main screen while records keep flowing, and asks nothing.

#include "AlarmSettingsFile.h"
#include "Program.h"
#include "PseudoTerminal.h"
#include "Receiver.h"
#include "TestFiles.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStatusBar>
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
    test::Program p;
    panel::PseudoTerminal pty;
    p.options.port = p.dir.filePath("panel");
    QVERIFY(pty.open() && pty.link(p.options.port));
    GatetallyApp &app = p.start(QDateTime(QDate(2026, 12, 7), QTime(14, 30, 0)));
    MainScreen *main = p.main();
    main->show();
    QVERIFY(app.receiver()->isPortOpen());
    QVERIFY(!main->lblAlert->isVisibleTo(main));

    QByteArray burst = "2 N 045 000777 \r4 N 045 000777 \r";
    QVERIFY(pty.write(burst));
    QTRY_COMPARE(main->txtNumber->text(), QStringLiteral("2"));
    QVERIFY(!main->lblAlert->isVisibleTo(main));
    // The third refusal, then twenty records more in the same write.
    burst = "2 N 045 000777 \r";
    for (int i = 0; i < 20; ++i)
        burst += QStringLiteral("%1 V 045 %2 \r").arg(1 + i % 9).arg(100 + i, 6, 10, QLatin1Char('0')).toLatin1();
    QVERIFY(pty.write(burst));
    QTRY_COMPARE(main->txtNumber->text(), QStringLiteral("23"));

    const QString alarm = "Alarm: card 000777 (facility 045) refused 3 times since 2:30:00 PM at entry points 2, 4";
    QTRY_VERIFY(main->lblAlert->isVisibleTo(main));
    QCOMPARE(main->lblAlert->text(), alarm);
    QCOMPARE(main->statusBar()->currentMessage(), alarm);
    QCOMPARE(main->lstMain->model()->rowCount(), 23);
    QCOMPARE(main->lstMain->model()->index(22, 0).data().toString(),
             " 12/7/2026    2:30:00 PM         2        VALID        045    000119");
    QCOMPARE(p.prompts.shown.size(), 0);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(test::readBytes(alarm::alarmsLogPath(p.dir.path())), "12/7/2026 2:30:00 PM  " + alarm.toLatin1() + "\r\n");

    // Acknowledged, the banner goes; the records stay as they were.
    QTest::mouseClick(main->cmdAlertAck, Qt::LeftButton);
    QVERIFY(!main->lblAlert->isVisibleTo(main));
    QCOMPARE(main->lstMain->model()->rowCount(), 23);
}

QTEST_MAIN(TestAlarmLine)
#include "tst_alarm_line.moc"
