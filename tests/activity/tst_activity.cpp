// Activity counts: a stored file counted on the worker thread as the view
// shows it, and the same file through gatetally-search --histogram; the
// live view over the display.

#include "ActivityCounts.h"
#include "ActivityScreen.h"
#include "RecordLayout.h"
#include "Processes.h"
#include "ScriptedPrompts.h"
#include "State.h"
#include "TestFiles.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace gt;

namespace {

// A records file as autosave leaves it: header, markers, records of two
// days, a line of another length.
const QByteArray kStoredFile = " Autosave started 12/6/2026, 9:00:00 AM\r\n\r\n" + QByteArray(kColumnHeaderLine) + "\r\n"
    " 12/6/2026    9:00:07 AM    1    VALID        045    000001\r\n" // outside the 24 hours
    " 12/6/2026   10:15:07 AM    2    NOT VALID    045    000002\r\n" // the oldest hour of the 24
    " 12/6/2026   10:59:07 AM    2    VALID        045    000003\r\n"
    " 12/7/2026   12:30:07 AM    3    OFF          045    000004\r\n"
    " 12/7/2026    9:01:07 AM    2    NOT VALID    045    000005\r\n"
    " 12/7/2026    9:02:07 AM    2    NOT VALID    045    000006\r\n"
    " 12/7/2026    9:59:07 AM    9    VALID        045    000007\r\n" // the newest hour
    "not a record\r\n Software was exited 12/7/2026, 10:00:00 AM\r\n";

} // namespace

class TestActivity : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storedFile();
    void followsTheDisplay();
    void pictureNotSavedIsTold();
};

// The 24 hours from 10 AM on the 6th, noon and midnight among them, and the
// entry points, on the worker thread as the view shows them and through the
// command line for scripts.
void TestActivity::storedFile()
{
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.strOpenFile = dir.filePath("Monday.txt");
    QVERIFY(test::writeBytes(state.strOpenFile, kStoredFile));
    test::ScriptedPrompts prompts;
    ActivityScreen screen(ActivityScreen::Source::StoredFile, state, prompts);
    QTRY_VERIFY(screen.isReady());
    QCOMPARE(screen.lblSummary->text(),
             QStringLiteral("7 records, 6 in the last 24 hours (3 NOT VALID), from 12/6/2026 10:00:00 AM"));
    const QStringList hours = activity::histogramText(screen.counts(), activity::Histogram::Hour);
    QCOMPARE(hours.size(), 25);
    const QStringList picked{hours[0], hours[1], hours[3], hours[15], hours[24]};
    QCOMPARE(picked, (QStringList{"HOUR                    VALID  NOT VALID    OFF  OTHER",
                                  "12/6/2026 10:00:00 AM         1          1      0      0",
                                  "12/6/2026 12:00:00 PM         0          0      0      0",
                                  "12/7/2026 12:00:00 AM         0          0      1      0",
                                  "12/7/2026 9:00:00 AM          1          2      0      0"}));
    const QStringList entries = activity::histogramText(screen.counts(), activity::Histogram::Entry);
    QCOMPARE(entries, (QStringList{"ENTRY POINT             VALID  NOT VALID    OFF  OTHER",
                                   "1                             1          0      0      0",
                                   "2                             1          3      0      0",
                                   "3                             0          0      1      0",
                                   "9                             1          0      0      0"}));

    for (const QStringList &expected : {hours, entries}) {
        QProcess search;
        search.start(test::binary("gatetally-search"), {"--histogram", expected == hours ? "hour" : "entry", state.strOpenFile});
        QVERIFY(search.waitForFinished(30000));
        QCOMPARE(search.exitCode(), 0);
        QCOMPARE(QString::fromLatin1(search.readAllStandardOutput()), expected.join("\r\n") + "\r\n");
    }
}

void TestActivity::followsTheDisplay()
{
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.clock.setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    test::ScriptedPrompts prompts;
    ActivityScreen screen(ActivityScreen::Source::Display, state, prompts);
    QCOMPARE(screen.counts().firstHour, QDateTime(QDate(2026, 12, 6), QTime(10, 0)));

    // A burst is drawn in one go when the timer it armed runs out.
    const QStringList records{" 12/7/2026    9:01:07 AM    2    NOT VALID    045    000005",
                              " 12/7/2026    8:02:07 AM    2    VALID        045    000006", " 12/7/2026    9:03:07 AM    2 N 04"};
    const QStringList shown{" 12/7/2026    9:01:07 AM         2        NOT VALID    045    000005",
                            " 12/7/2026    8:02:07 AM         2        VALID        045    000006",
                            " 12/7/2026    9:03:07 AM    RECEIVED INCORRECT DATA"};
    QSignalSpy drawn(&screen, &ActivityScreen::countsChanged);
    state.strRecords.append(records[0], shown[0]);
    state.strRecords.appendMany(records.mid(1), shown.mid(1));
    QVERIFY(drawn.wait());
    QCOMPARE(drawn.size(), 1);
    QCOMPARE(screen.counts().records, 2); // the incorrect-data row is no entrance
    QCOMPARE(screen.counts().hours[22], (activity::StatusCounts{1, 0, 0, 0}));
    QCOMPARE(screen.counts().hours[23], (activity::StatusCounts{0, 1, 0, 0}));
    QCOMPARE(screen.counts().entries.value('2'), (activity::StatusCounts{1, 1, 0, 0}));
}

// Writing the picture is Qt's; a folder that is not there must be told.
void TestActivity::pictureNotSavedIsTold()
{
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    test::ScriptedPrompts prompts;
    prompts.fileNames = {dir.filePath("gone/week.png")};
    ActivityScreen screen(ActivityScreen::Source::Display, state, prompts);
    QTest::mouseClick(screen.cmdSavePicture, Qt::LeftButton);
    QCOMPARE(prompts.texts(),
             QStringList{"The picture could not be saved to " + dir.filePath("gone/week.png") + ": No such file or directory"});
}

QTEST_MAIN(TestActivity)
#include "tst_activity.moc"
