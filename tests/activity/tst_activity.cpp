// Activity counts: a stored file counted on the worker thread as the view
// shows it, and the same file through gatetally-search --histogram; the
// live view over the display.

#include "ActivityCounts.h"
#include "ActivityScreen.h"
#include "RecordLine.h"
#include "ScriptedPrompts.h"
#include "State.h"
#include "TestFiles.h"

#include <QLabel>
#include <QPushButton>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace gt;

namespace {

QString record(const QString &message, int day, int hour, int minute)
{
    return buildRecordLine(message, QDateTime(QDate(2026, 12, day), QTime(hour, minute, 7)));
}

// A records file as autosave leaves it: header, markers, records of two
// days, a line of another length.
QByteArray storedFileBytes()
{
    QStringList lines{" Autosave started 12/6/2026, 9:00:00 AM", "", QString::fromLatin1(kColumnHeaderLine)};
    lines << record("1 V 045 000001", 6, 9, 0)      // outside the 24 hours
          << record("2 N 045 000002", 6, 10, 15)    // the oldest hour of the 24
          << record("2 V 045 000003", 6, 10, 59)
          << record("3 F 045 000004", 7, 0, 30)
          << record("2 N 045 000005", 7, 9, 1)
          << record("2 N 045 000006", 7, 9, 2)
          << record("9 V 045 000007", 7, 9, 59)     // the newest hour
          << "not a record" << " Software was exited 12/7/2026, 10:00:00 AM";
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

QString row(const QString &label, int v, int n, int o, int x)
{
    return label.leftJustified(24) + QString::number(v).rightJustified(7) + QString::number(n).rightJustified(11)
        + QString::number(o).rightJustified(7) + QString::number(x).rightJustified(7);
}

QStringList expectedHours()
{
    QStringList out{"HOUR                    VALID  NOT VALID    OFF  OTHER"};
    out << row("12/6/2026 10:00:00 AM", 1, 1, 0, 0);
    for (int h = 11; h <= 23; ++h)
        out << row(QStringLiteral("12/6/2026 %1:00:00 %2").arg(h > 12 ? h - 12 : h).arg(h < 12 ? "AM" : "PM"), 0, 0, 0, 0);
    out << row("12/7/2026 12:00:00 AM", 0, 0, 1, 0);
    for (int h = 1; h <= 8; ++h)
        out << row(QStringLiteral("12/7/2026 %1:00:00 AM").arg(h), 0, 0, 0, 0);
    out << row("12/7/2026 9:00:00 AM", 1, 2, 0, 0);
    return out;
}

QStringList expectedEntries()
{
    return {"ENTRY POINT             VALID  NOT VALID    OFF  OTHER", row("1", 1, 0, 0, 0), row("2", 1, 3, 0, 0),
            row("3", 0, 0, 1, 0), row("9", 1, 0, 0, 0)};
}

} // namespace

class TestActivity : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storedFile_data();
    void storedFile();
    void followsTheDisplay();
    void savePicture_data();
    void savePicture();
};

void TestActivity::storedFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("hour") << "hour" << expectedHours();
    QTest::newRow("entry") << "entry" << expectedEntries();
}

void TestActivity::storedFile()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.strOpenFile = dir.filePath("Monday.txt");
    QVERIFY(test::writeBytes(state.strOpenFile, storedFileBytes()));

    // The view over the file, counted on its worker thread.
    test::ScriptedPrompts prompts;
    ActivityScreen screen(ActivityScreen::Source::StoredFile, state, prompts);
    QTRY_VERIFY(screen.isReady());
    const auto histogram = kind == "hour" ? activity::Histogram::Hour : activity::Histogram::Entry;
    QCOMPARE(activity::histogramText(screen.counts(), histogram), expected);
    QCOMPARE(screen.lblSummary->text(),
             QStringLiteral("7 records, 6 in the last 24 hours (3 NOT VALID), from 12/6/2026 10:00:00 AM"));

    // The command line prints the same counts for scripts.
    QProcess search;
    search.start(qEnvironmentVariable("GATETALLY_BIN_DIR") + "/gatetally-search",
                 {"--histogram", kind, state.strOpenFile});
    QVERIFY(search.waitForFinished(30000));
    QCOMPARE(search.exitCode(), 0);
    QCOMPARE(QString::fromLatin1(search.readAllStandardOutput()), expected.join("\r\n") + "\r\n");
}

void TestActivity::followsTheDisplay()
{
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    state.clock.setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    test::ScriptedPrompts prompts;
    ActivityScreen screen(ActivityScreen::Source::Display, state, prompts);
    QCOMPARE(screen.counts().records, 0);
    QCOMPARE(screen.counts().firstHour, QDateTime(QDate(2026, 12, 6), QTime(10, 0)));

    // A burst arms the timer once and is drawn in one go when it runs out.
    const QStringList records{record("2 N 045 000005", 7, 9, 1), record("2 V 045 000006", 7, 8, 2),
                              record("2 N 04", 7, 9, 3)};
    QStringList shown;
    for (int i = 0; i < records.size(); ++i)
        shown << (i == 2 ? incorrectDataLine(records[i]) : MakeDisplayLine(records[i], DisplayMode::Number, {}));
    QSignalSpy drawn(&screen, &ActivityScreen::countsChanged);
    state.strRecords.append(records[0], shown[0]);
    QVERIFY(screen.tmrFollow->isActive());
    QCOMPARE(screen.tmrFollow->interval(), 1000);
    state.strRecords.appendMany(records.mid(1), shown.mid(1));
    QCOMPARE(drawn.size(), 0);
    screen.tmrFollow->setInterval(0);
    screen.tmrFollow->start();
    QVERIFY(drawn.wait());
    QCOMPARE(drawn.size(), 1);
    QCOMPARE(screen.counts().records, 2); // the incorrect-data row is no entrance
    QCOMPARE(screen.counts().hours[22], (activity::StatusCounts{1, 0, 0, 0}));
    QCOMPARE(screen.counts().hours[23], (activity::StatusCounts{0, 1, 0, 0}));
    QCOMPARE(screen.counts().entries.value('2'), (activity::StatusCounts{1, 1, 0, 0}));
}

void TestActivity::savePicture_data()
{
    QTest::addColumn<QString>("answer"); // relative to the data folder
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("told");
    QTest::newRow("name without extension") << "week" << "week.png" << "";
    QTest::newRow("folder missing") << "gone/week.png" << ""
                                    << "The picture could not be saved to DIR/gone/week.png: No such file or directory";
    QTest::newRow("cancelled") << "" << "" << "";
}

void TestActivity::savePicture()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(QString, told);
    QTemporaryDir dir;
    GatetallyState state(dir.path());
    test::ScriptedPrompts prompts;
    prompts.fileNames = {answer.isEmpty() ? QString() : dir.filePath(answer)};
    ActivityScreen screen(ActivityScreen::Source::Display, state, prompts);
    QTest::mouseClick(screen.cmdSavePicture, Qt::LeftButton);
    QCOMPARE(prompts.dialogs.size(), 1);
    QCOMPARE(prompts.texts().join('|'), QString(told).replace("DIR", dir.path()));
    QStringList files = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(files, written.isEmpty() ? QStringList() : QStringList{written});
    if (!written.isEmpty())
        QVERIFY(test::readBytes(dir.filePath(written)).startsWith("\x89PNG\r\n"));
}

QTEST_MAIN(TestActivity)
#include "tst_activity.moc"
