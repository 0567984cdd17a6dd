#include "Options.h"
#include "Paths.h"
#include "Program.h"
#include "RecordLine.h"
#include "Screens.h"
#include "SignOn.h"
#include "TestFiles.h"
#include "WidgetPrompts.h"

#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

using namespace gt;
using gt::test::writeBytes;

namespace {

const QDateTime kStart(QDate(2006, 3, 7), QTime(7, 59, 30));

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A first start (the default settings are test_core's): the Records folder
    // made, no file in it, the sign-on screen with the version, then the main
    // screen and the texts the operator reads on it.
    void freshStart()
    {
        test::Program p;
        GatetallyApp &app = p.start(kStart, false);
        QVERIFY(QFileInfo(p.dir.filePath("Records")).isDir() && !QFile::exists(p.dir.filePath("Records/default.txt")));

        QPointer<SignOnScreen> signOn = app.signOnScreen();
        QVERIFY(signOn && signOn->isVisible() && !app.mainScreen());
        QCOMPARE(signOn->lblVersion->text(), QStringLiteral("Version 2.1.0"));
        QVERIFY(QTest::qWaitFor([&] { return app.mainScreen() && app.mainScreen()->isVisible(); }, 10000));
        QTRY_VERIFY_WITH_TIMEOUT(signOn.isNull(), 2000);

        const QString controls =
            "frmMain|Quorvel Gatetally- Main Screen|;cmdExit|Exit|Exits Gatetally;cmdRecordsSearch|Search|Searches the "
            "display data;cmdClear|Clear|Clears the display;optOn|On|Saves each record to disk;optOff|Off|Does not save "
            "records to disk;lblMax|(32,500 max)|;lblDate|Date|;lblTime|Time|;lblEntryPoint|Entry Point|;lblValid|Status|;"
            "lblFacility|Facility  Code|;lblCardOrKeyless|Card/Keyless Nbr|";
        QCOMPARE(test::controlTexts(app.mainScreen(), controls), controls.split(';'));
    }

    // The header names the records file, but a default one (its name ending in
    // default.txt, case and all) by the program's title; a start with autosave
    // on and a file that cannot be written tells so, and autosave stays on.
    void signOnHeader()
    {
        const struct { const char *name; bool plainTitle, full = false; } rows[] = {
            {"mydefault.txt", true}, {"Default.txt", false}, {"full.txt", false, true}};
        for (const auto &r : rows) {
            test::Program p;
            QDir(p.dir.path()).mkpath(QStringLiteral("Records"));
            const QString file = p.dir.filePath(QStringLiteral("Records/") + r.name);
            QVERIFY(r.full ? QFile::link("/dev/full", file) : writeBytes(file, "earlier\r\n"));
            QVERIFY(writeBytes(p.dir.filePath("setup.txt"),
                               test::setupFile("CommPort=1", r.full ? "autosave=T" : "autosave=F", file.toLatin1())));
            p.start(kStart);
            QCOMPARE(p.prompts.texts().filter("records file").join('|'),
                     r.full ? "The records file full.txt could not be written:\r\nNo space left on device" : "");
            QCOMPARE(p.main()->optOn->isChecked(), r.full);
            QCOMPARE(p.main()->lblMainHeader->text(), r.plainTitle ? QStringLiteral("Quorvel Gatetally") : file);
        }
    }

    // Each heading stands over its column as the list draws it; the names box
    // changes only the lines that come later.
    void headingsStandOverTheirColumns()
    {
        test::Program p;
        GatetallyApp &app = p.start();
        MainScreen *main = p.main();
        main->resize(1000, 600);
        QVERIFY(QTest::qWaitForWindowExposed(main));
        GatetallyState &state = app.state();
        state.strEntryNames[2] = QStringLiteral("DOOR");
        const QString record = buildRecordLine(QStringLiteral("3 V 123 045678 "), kStart);
        state.strRecords.append(record, MakeDisplayLine(record, state.strDisplayMode, state.strEntryNames));
        QCoreApplication::processEvents();
        // Where the list really draws each character of row 0: the item delegate
        // draws text this far in from the row's left edge.
        const QRect row = main->lstMain->visualRect(main->lstMain->model()->index(0, 0));
        const int margin = main->lstMain->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, main->lstMain) + 1;
        const int left = main->lstMain->viewport()->mapTo(main, QPoint(row.left() + margin, 0)).x();
        const QFontMetrics fm(main->lstMain->font());
        const auto charX = [&](int pos) { return left + fm.horizontalAdvance(QString(pos, QLatin1Char('0'))); };
        struct Col { const char *label; int first; int width; };
        const Col cols[] = {{"lblDate", 0, 10},   {"lblTime", 13, 11},   {"lblEntryPoint", 24, 18},
                            {"lblValid", 42, 9}, {"lblFacility", 55, 3}, {"lblCardOrKeyless", 62, 6}};
        int lastRight = -1;
        for (const Col &c : cols) {
            auto *label = main->findChild<QLabel *>(QString::fromLatin1(c.label));
            const QRect r(label->mapTo(main, QPoint(0, 0)), label->size());
            // Within two pixels of the column's centre, above the list, never running into the one before.
            QVERIFY2(qAbs(r.center().x() - (charX(c.first) + charX(c.first + c.width)) / 2) <= 2 && r.left() > lastRight
                         && r.bottom() < main->lstMain->mapTo(main, QPoint(0, 0)).y(),
                     c.label);
            lastRight = r.right();
        }

        QTest::mouseClick(main->chkNames, Qt::LeftButton);
        QCOMPARE(state.strDisplayMode, DisplayMode::Name);
        QCOMPARE(state.strRecords.displayLines().at(0).mid(24, 18), QStringLiteral("         3        "));
    }

    // Nothing arriving, at a width where the headings fit and at one where
    // they wrap: the screen lays itself out once and then rests.
    void idleIsIdle()
    {
        test::Program p;
        p.start();
        struct LayoutCounter : QObject
        {
            int passes = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                passes += e->type() == QEvent::LayoutRequest;
                return false;
            }
        } counter;
        qApp->installEventFilter(&counter);
        for (const int width : {1000, 420}) {
            p.main()->resize(width, 600);
            QTest::qWait(200);
            counter.passes = 0;
            QTest::qWait(1000);
            QVERIFY2(counter.passes < 5, qPrintable(QStringLiteral("%1 layout passes at width %2").arg(counter.passes).arg(width)));
        }
    }

    // The command line a service or a shortcut starts the program with.
    void options_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("parsed"); // "data folder|port|version", or "error"
        QTest::newRow("data dir and port") << "--data-dir /srv/gt --port /dev/ttyUSB0" << "/srv/gt|/dev/ttyUSB0|0";
        QTest::newRow("version") << "--version" << "||1";
        QTest::newRow("unknown") << "--colour" << "error";
        QTest::newRow("missing value") << "--port" << "error";
    }
    void options()
    {
        QFETCH(QString, args);
        QFETCH(QString, parsed);
        const Options o = parseOptions(("gatetally " + args).split(' '));
        const QString got = QStringList{o.dataDir, o.port, QString::number(o.version)}.join('|');
        QCOMPARE(o.error.isEmpty() ? got : "error", parsed);
    }

    // The program's own message box, up while the window in front of it is
    // deleted (the sign-on screen handing over to the main screen while a notice
    // about records received waits for OK): the box stays up until it is
    // answered, and nothing is freed twice.
    void messageBoxOutlivesTheWindowInFront()
    {
        auto *front = new QWidget;
        front->show();
        front->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(front));
        QPointer<QWidget> frontAlive(front);
        QTimer::singleShot(0, front, &QObject::deleteLater);
        QString upAfterwards;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (!upAfterwards.isNull() || !box || !frontAlive.isNull())
                return;
            const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            upAfterwards = label ? label->text() : QStringLiteral("(no text)");
            QTest::keyClick(box, Qt::Key_Return);
        });
        poll.start(20);
        WidgetPrompts widgetPrompts;
        Prompts &prompts = widgetPrompts;
        QCOMPARE(prompts.message(QStringLiteral("The display is full."), Prompts::Icon::Information), Prompts::Ok);
        QVERIFY(frontAlive.isNull());
        QCOMPARE(upAfterwards, QStringLiteral("The display is full."));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
