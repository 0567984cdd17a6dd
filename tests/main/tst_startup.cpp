#include "GatetallyApp.h"
#include "MainScreen.h"
#include "Navigator.h"
#include "Options.h"
#include "Paths.h"
#include "RecordLine.h"
#include "ScriptedPrompts.h"
#include "SignOn.h"
#include "TestFiles.h"
#include "WidgetPrompts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace gt;
using gt::test::crlf;
using gt::test::readBytes;
using gt::test::ScriptedPrompts;
using gt::test::writeBytes;

namespace {

QByteArray setupFile(const QByteArray &autosave, const QString &file)
{
    QList<QByteArray> lines{"CommPort=1", autosave, file.toLatin1()};
    for (int i = 0; i < 100; ++i)
        lines.append(i == 2 ? QByteArray("DOOR") : QByteArray());
    return crlf(lines);
}

const QDateTime kStart(QDate(2006, 3, 7), QTime(7, 59, 30));

struct Fixture
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<GatetallyApp> app;

    void start()
    {
        Options o;
        o.dataDir = dir.path();
        app = std::make_unique<GatetallyApp>(o, prompts);
        app->state().clock.setFixed(kStart);
        app->start();
    }
    QString path(const QString &rel) const { return dir.filePath(rel); }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void freshStartMakesDefaults();
    void signOnScreen();
    void signOnMarker_data();
    void signOnMarker();
    void signOnMarkerWriteFailureIsReported();
    void unreadableSettingsInAFolderLatin1CannotName();
    void headerRule_data();
    void headerRule();
    void mainScreenControls_data();
    void mainScreenControls();
    void menus();
    void headingsStandOverTheirColumns();
    void namesBoxOnlyChangesLaterLines();
    void setAsideKeepsMainVisibleUntilChainCloses();
    void options_data();
    void options();
    void messageBoxOutlivesTheWindowInFront();
};

void TestStartup::freshStartMakesDefaults()
{
    Fixture f;
    f.start();
    QList<QByteArray> lines{"CommPort=1", "autosave=F", defaultAutosaveFile(f.dir.path()).toLatin1()};
    for (int i = 0; i < 100; ++i)
        lines.append(QByteArray());
    QCOMPARE(readBytes(f.path(QStringLiteral("setup.txt"))), crlf(lines));
    QVERIFY(QFileInfo(f.path(QStringLiteral("Records"))).isDir());
    // No marker on a start that had to make the settings.
    QVERIFY(!QFile::exists(f.path(QStringLiteral("Records/default.txt"))));
    QCOMPARE(f.app->state().strListTitle, QStringLiteral("Quorvel Gatetally"));
}

void TestStartup::signOnScreen()
{
    Fixture f;
    f.start();
    SignOnScreen *signOn = f.app->signOnScreen();
    QVERIFY(signOn);
    QVERIFY(signOn->isVisible());
    QCOMPARE(signOn->windowTitle(), QStringLiteral("Quorvel Gatetally"));
    QCOMPARE(signOn->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 2.1.0"));
    QCOMPARE(signOn->findChild<QLabel *>(QStringLiteral("lblType"))->text(), QStringLiteral(" Quorvel Entry Systems"));
    QCOMPARE(signOn->findChild<QLabel *>(QStringLiteral("lblFor"))->text(), QStringLiteral("for "));
    QCOMPARE(signOn->findChild<QLabel *>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Gatetally"));
    QCOMPARE(signOn->tmrSignOn->interval(), 2000);
    QVERIFY(signOn->tmrSignOn->isActive());
    QVERIFY(!f.app->mainScreen());

    // The timer's tick shows the main screen and unloads the sign-on screen.
    QPointer<SignOnScreen> guard(signOn);
    QVERIFY(QTest::qWaitFor([&] { return f.app->mainScreen() && f.app->mainScreen()->isVisible(); }, 10000));
    QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 2000));
    QCOMPARE(f.app->mainScreen()->windowTitle(), QStringLiteral("Quorvel Gatetally- Main Screen"));
}

void TestStartup::signOnMarker_data()
{
    QTest::addColumn<QByteArray>("line2");
    QTest::addColumn<bool>("marked");
    QTest::newRow("autosave on") << QByteArray("autosave=T") << true;
    QTest::newRow("line 2 not ending in F") << QByteArray("autosave=?") << true;
    QTest::newRow("autosave off") << QByteArray("autosave=F") << false;
}

void TestStartup::signOnMarker()
{
    QFETCH(QByteArray, line2);
    QFETCH(bool, marked);
    Fixture f;
    QDir(f.dir.path()).mkpath(QStringLiteral("Records"));
    const QString file = f.path(QStringLiteral("Records/Monday.txt"));
    QVERIFY(writeBytes(file, "earlier\r\n"));
    QVERIFY(writeBytes(f.path(QStringLiteral("setup.txt")), setupFile(line2, file)));
    f.start();
    const QByteArray expected = marked ? QByteArray("earlier\r\n Autosave started 3/7/2006, 7:59:30 AM\r\n\r\n")
                                       : QByteArray("earlier\r\n");
    QCOMPARE(readBytes(file), expected);
    QCOMPARE(f.app->state().blnAutosave, marked);
    QCOMPARE(f.app->state().strEntryNames.at(2), QStringLiteral("DOOR"));
    f.app->showMainScreen();
    MainScreen *main = f.app->mainScreen();
    QCOMPARE(main->optOn->isChecked(), marked);
    QCOMPARE(main->optOff->isChecked(), !marked);
    QVERIFY(!main->chkNames->isChecked());
    // The settings file is only read at start.
    QCOMPARE(readBytes(f.path(QStringLiteral("setup.txt"))), setupFile(line2, file));
}

void TestStartup::signOnMarkerWriteFailureIsReported()
{
    Fixture f;
    const QString file = f.path(QStringLiteral("Records/full.txt"));
    QDir(f.dir.path()).mkpath(QStringLiteral("Records"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), file));
    QVERIFY(writeBytes(f.path(QStringLiteral("setup.txt")), setupFile("autosave=T", file)));
    f.start();
    const QStringList texts = f.prompts.texts();
    QVERIFY2(texts.filter(QStringLiteral("The records file full.txt could not be written:\r\n")).size() == 1,
             qPrintable(texts.join(QLatin1Char('|'))));
}

void TestStartup::unreadableSettingsInAFolderLatin1CannotName()
{
    // Both are told at start, in one box; the old settings are kept.
    QTemporaryDir dir;
    const QString folder = dir.filePath(QString::fromUtf8("\u0416\u0443\u0440\u043d\u0430\u043b"));
    QVERIFY(QDir().mkpath(folder));
    const QString setup = setupFilePath(folder);
    const QByteArray old = setupFile("autosave=T", QStringLiteral("/x/Records/a.txt")).replace("DOOR", QByteArray("DO\0R", 4));
    QVERIFY(writeBytes(setup, old));
    Options o;
    o.dataDir = folder;
    ScriptedPrompts prompts;
    GatetallyApp app(o, prompts);
    app.start();
    QCOMPARE(prompts.texts(),
             QStringList{QStringLiteral("The data folder %1 has characters that setup.txt cannot hold (it is an 8-bit,\r\n"
                                        "Latin-1 file): the records file in use cannot be remembered from one start to\r\n"
                                        "the next. Please give Gatetally a data folder whose path has none of them.\r\n\r\n"
                                        "The settings file %2 could not be read (it holds a NUL byte).\r\n"
                                        "Gatetally is using the default settings: port 1, autosave off, "
                                        "no records file chosen and no entry point names.\r\n"
                                        "The old file was kept as %2.unreadable.")
                             .arg(folder, setup)});
    QCOMPARE(readBytes(setup + ".unreadable"), old);
    QVERIFY(!app.state().blnAutosave);
}

void TestStartup::headerRule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plainTitle");
    QTest::newRow("default.txt") << QStringLiteral("default.txt") << true;
    QTest::newRow("mydefault.txt") << QStringLiteral("mydefault.txt") << true;
    QTest::newRow("Default.txt") << QStringLiteral("Default.txt") << false;
    QTest::newRow("Monday.txt") << QStringLiteral("Monday.txt") << false;
}

void TestStartup::headerRule()
{
    QFETCH(QString, name);
    QFETCH(bool, plainTitle);
    Fixture f;
    const QString file = f.path(QStringLiteral("Records/") + name);
    QVERIFY(writeBytes(f.path(QStringLiteral("setup.txt")), setupFile("autosave=F", file)));
    f.start();
    f.app->showMainScreen();
    QCOMPARE(f.app->mainScreen()->lblMainHeader->text(), plainTitle ? QStringLiteral("Quorvel Gatetally") : file);
}

void TestStartup::mainScreenControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    auto row = [](const char *n, const char *c, const char *t) {
        QTest::newRow(n) << QString::fromLatin1(n) << QString::fromLatin1(c) << QString::fromLatin1(t);
    };
    row("cmdExit", "Exit", "Exits Gatetally");
    row("cmdRecordsSearch", "Search", "Searches the display data");
    row("cmdClear", "Clear", "Clears the display");
    row("chkNames", "", "Uses Entry point names instead of numbers");
    row("optOn", "On", "Saves each record to disk");
    row("optOff", "Off", "Does not save records to disk");
    row("txtNumber", "0", "Total number of displayed records");
    row("lblEntrances", "Use Entry Point Names", "");
    row("lblAutoSave", "Auto Save", "");
    row("lblMax", "(32,500 max)", "");
    row("lblRecords", "Record Count", "");
    row("lblTime", "Time", "");
    row("lblDate", "Date", "");
    row("lblCardOrKeyless", "Card/Keyless Nbr", "");
    row("lblFacility", "Facility  Code", "");
    row("lblValid", "Status", "");
    row("lblEntryPoint", "Entry Point", "");
    row("fraCommands", "Commands", "");
    row("fraAutoSave", "Selections", "");
}

void TestStartup::mainScreenControls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    Fixture f;
    f.start();
    f.app->showMainScreen();
    QWidget *w = f.app->mainScreen()->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QString text;
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        text = b->text();
    else if (auto *l = qobject_cast<QLabel *>(w))
        text = l->text();
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        text = e->text();
    else
        text = w->property("title").toString();
    QCOMPARE(text, caption);
    QCOMPARE(w->toolTip(), tooltip);
}

void TestStartup::menus()
{
    Fixture f;
    f.start();
    f.app->showMainScreen();
    QStringList seen;
    const QList<QAction *> menus = f.app->mainScreen()->menuBar()->actions();
    for (QAction *m : menus) {
        seen.append(m->menu()->objectName() + QLatin1Char('=') + m->text());
        const QList<QAction *> items = m->menu()->actions();
        for (QAction *a : items)
            seen.append(QStringLiteral("  ") + a->objectName() + (a->isSeparator() ? QString() : QLatin1Char('=') + a->text()));
    }
    const QStringList expected{
        QStringLiteral("mnuFile=&File"),           QStringLiteral("  mnuFileOpen=&Open"),
        QStringLiteral("  mnuFileSave=&Save"),     QStringLiteral("  mnuFileSaveAs=&Save As"),
        QStringLiteral("  mnuFileSearch=&Search"), QStringLiteral("  mnuFileClear=&Clear"),
        QStringLiteral("  mnuFileDelete=&Delete"), QStringLiteral("  mnuFileSeparatorBar1"),
        QStringLiteral("  mnuFilePrint=&Print"),   QStringLiteral("  mnuFileSeparatorBar2"),
        QStringLiteral("  mnuFileExit=&Exit"),     QStringLiteral("mnuEdit=&Edit"),
        QStringLiteral("  mnuEditDelete=&Clear"),  QStringLiteral("  mnuEditSearch=&Search"),
        QStringLiteral("mnuSetup=&Setup"),         QStringLiteral("  mnuSetupCommPort=&Comm Port"),
        QStringLiteral("  mnuSetupEntrypoints=&Entry Points"), QStringLiteral("mnuHelp=&Help"),
        QStringLiteral("  mnuHelpAbout=&About"),   QStringLiteral("  mnuHelpHelp=&Help"),
    };
    QCOMPARE(seen, expected);
}

void TestStartup::headingsStandOverTheirColumns()
{
    Fixture f;
    f.start();
    f.app->showMainScreen();
    MainScreen *main = f.app->mainScreen();
    main->resize(1000, 600);
    QVERIFY(QTest::qWaitForWindowExposed(main));
    const QString record = buildRecordLine(QStringLiteral("3 V 123 045678 "), kStart);
    f.app->state().strRecords.append(record, MakeDisplayLine(record, kNumberMode, f.app->state().strEntryNames));
    QCoreApplication::processEvents();

    // Where the list really draws each column: x of character positions in row 0.
    const QRect row = main->lstMain->visualRect(main->lstMain->model()->index(0, 0));
    const QFontMetrics fm(main->lstMain->font());
    // The item delegate draws text this far in from the row's left edge.
    const int textMargin = main->lstMain->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, main->lstMain) + 1;
    auto charX = [&](int pos) {
        return main->lstMain->viewport()->mapTo(main, QPoint(row.left() + textMargin, 0)).x()
            + fm.horizontalAdvance(QString(pos, QLatin1Char('0')));
    };
    struct Col { const char *label; int first; int width; };
    const Col cols[] = {{"lblDate", 0, 10},   {"lblTime", 13, 11},   {"lblEntryPoint", 24, 18},
                        {"lblValid", 42, 9}, {"lblFacility", 55, 3}, {"lblCardOrKeyless", 62, 6}};
    int lastCentre = -1;
    int lastRight = 0;
    for (const Col &c : cols) {
        auto *label = main->findChild<QLabel *>(QString::fromLatin1(c.label));
        const QRect r(label->mapTo(main, QPoint(0, 0)), label->size());
        const int centre = r.center().x();
        const int colCentre = (charX(c.first) + charX(c.first + c.width)) / 2;
        // Headings follow the list's own text, within two pixels of the column's centre.
        QVERIFY2(qAbs(centre - colCentre) <= 2 && (!lastRight || r.left() > lastRight),
                 qPrintable(QStringLiteral("%1 centre %2, column centre %3").arg(QString::fromLatin1(c.label)).arg(centre).arg(colCentre)));
        QVERIFY(centre > lastCentre);
        QVERIFY(r.bottom() < main->lstMain->mapTo(main, QPoint(0, 0)).y());
        lastCentre = centre;
        lastRight = r.right(); // headings never run into each other
    }

    // Nothing arriving, at a width where the headings fit and at one where
    // they wrap: the screen lays itself out once and then rests.
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
        main->resize(width, 600);
        QTest::qWait(200);
        counter.passes = 0;
        QTest::qWait(1000);
        QVERIFY2(counter.passes < 5, qPrintable(QStringLiteral("%1 layout passes in an idle second").arg(counter.passes)));
    }
    qApp->removeEventFilter(&counter);
}

void TestStartup::namesBoxOnlyChangesLaterLines()
{
    Fixture f;
    f.start();
    f.app->showMainScreen();
    MainScreen *main = f.app->mainScreen();
    GatetallyState &state = f.app->state();
    state.strEntryNames[2] = QStringLiteral("DOOR");
    const QString record = buildRecordLine(QStringLiteral("3 V 123 045678 "), kStart);
    state.strRecords.append(record, MakeDisplayLine(record, state.strDisplayMode, state.strEntryNames));
    QCOMPARE(main->txtNumber->text(), QStringLiteral("1"));

    QTest::mouseClick(main->chkNames, Qt::LeftButton);
    QVERIFY(main->chkNames->isChecked());
    QCOMPARE(state.strDisplayMode, DisplayMode::Name);
    QCOMPARE(state.strRecords.displayLines().at(0).mid(24, 18), QStringLiteral("         3        "));
    QTest::mouseClick(main->chkNames, Qt::LeftButton);
    QCOMPARE(state.strDisplayMode, DisplayMode::Number);
}

void TestStartup::setAsideKeepsMainVisibleUntilChainCloses()
{
    Fixture f;
    f.start();
    f.app->showMainScreen();
    MainScreen *main = f.app->mainScreen();
    Navigator &nav = f.app->navigator();
    QPointer<QWidget> first = new QWidget;
    QPointer<QWidget> second = new QWidget;
    QPointer<QWidget> beside = new QWidget;
    nav.open(first, Navigator::MainScreen::SetAside);
    QVERIFY(!main->isEnabled());
    QVERIFY(main->isVisible());
    nav.open(beside, Navigator::MainScreen::StaysInUse);
    nav.open(second, Navigator::MainScreen::SetAside); // hand over: next screen first
    first->close();
    QTRY_VERIFY(first.isNull());
    QVERIFY(!main->isEnabled());
    second->close(); // the window's own close control counts as going back
    QTRY_VERIFY(main->isEnabled());
    QVERIFY(!beside.isNull());
    beside->close();
}

void TestStartup::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("version");
    QTest::addColumn<bool>("failed");
    QTest::newRow("data dir and port") << QStringList{QStringLiteral("--data-dir"), QStringLiteral("/srv/gt"), QStringLiteral("--port"), QStringLiteral("/dev/ttyUSB0")}
                                       << QStringLiteral("/srv/gt") << QStringLiteral("/dev/ttyUSB0") << false << false;
    QTest::newRow("inline values") << QStringList{QStringLiteral("--data-dir=/srv/x"), QStringLiteral("--port=/dev/pts/4")}
                                   << QStringLiteral("/srv/x") << QStringLiteral("/dev/pts/4") << false << false;
    QTest::newRow("version") << QStringList{QStringLiteral("--version")} << QString() << QString() << true << false;
    QTest::newRow("unknown") << QStringList{QStringLiteral("--colour")} << QString() << QString() << false << true;
    QTest::newRow("missing value") << QStringList{QStringLiteral("--port")} << QString() << QString() << false << true;
}

void TestStartup::options()
{
    QFETCH(QStringList, args);
    QFETCH(QString, dataDir);
    QFETCH(QString, port);
    QFETCH(bool, version);
    QFETCH(bool, failed);
    args.prepend(QStringLiteral("gatetally"));
    const Options o = parseOptions(args);
    QCOMPARE(!o.error.isEmpty(), failed);
    if (failed)
        return;
    QCOMPARE(o.dataDir, dataDir);
    QCOMPARE(o.port, port);
    QCOMPARE(o.version, version);
}

// The program's own message box, up while the window in front of it is
// deleted (the sign-on screen handing over to the main screen while a notice
// about records received waits for OK): the box stays up until it is
// answered, and nothing is freed twice.
void TestStartup::messageBoxOutlivesTheWindowInFront()
{
    auto *front = new QWidget;
    front->show();
    front->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(front));
    QPointer<QWidget> frontAlive(front);
    QTimer::singleShot(0, front, &QObject::deleteLater);
    QString upAfterwards;
    bool answered = false;
    const auto answer = [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || !frontAlive.isNull())
            return false;
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        upAfterwards = label ? label->text() : QStringLiteral("(no text)");
        QTest::keyClick(box, Qt::Key_Return);
        return true;
    };
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!answered)
            answered = answer();
    });
    poll.start(20);
    gt::WidgetPrompts widgetPrompts;
    gt::Prompts &prompts = widgetPrompts;
    QCOMPARE(prompts.message(QStringLiteral("The display is full."), gt::Prompts::Icon::Information), gt::Prompts::Ok);
    QVERIFY(frontAlive.isNull());
    QCOMPARE(upAfterwards, QStringLiteral("The display is full."));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
