// The comm port dialog, and the serial parts of the running program: the
// receiver started at sign-on, Setup > Comm Port, the demo, Exit.

#include "CommPortDialog.h"
#include "GatetallyApp.h"
#include "Navigator.h"
#include "Paths.h"
#include "PortLink.h"
#include "PseudoTerminal.h"
#include "Receiver.h"
#include "ScriptedPrompts.h"
#include "Settings.h"
#include "State.h"
#include "TestFiles.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;
using gt::test::ScriptedPrompts;

namespace {

QByteArray setupBytes(const QByteArray &line1)
{
    QList<QByteArray> lines{line1, "autosave=T", "C:\\Site\\Records\\gate.txt"};
    for (int i = 1; i <= 100; ++i)
        lines.append(i % 7 == 0 ? QByteArray("Door ") + QByteArray::number(i) : QByteArray());
    return gt::test::crlf(lines);
}

// A dialog over a receiver on an in-memory line, with a main screen to set
// aside, in a data folder holding a setup.txt of port 3.
struct Rig
{
    QTemporaryDir dir;
    GatetallyState state{dir.path()};
    ScriptedPrompts prompts;
    Navigator navigator;
    QWidget main;
    MemoryPortLink *port = nullptr;
    std::unique_ptr<Receiver> receiver;
    QPointer<CommPortDialog> dialog;

    Rig()
    {
        gt::test::writeBytes(setupFilePath(dir.path()), setupBytes("CommPort=3"));
        loadSettings(state);
        // Records that arrive in these tests are autosaved inside the data folder.
        state.strAutosaveFile = QDir(dir.path()).filePath(QStringLiteral("auto.txt"));
        auto link = std::make_unique<MemoryPortLink>();
        port = link.get();
        receiver = std::make_unique<Receiver>(state, prompts, std::move(link));
        receiver->openPort();
        navigator.setMainScreen(&main);
        main.show();
        dialog = new CommPortDialog(state, *receiver, prompts);
        navigator.open(dialog, Navigator::MainScreen::SetAside);
    }
    // A dialog still open at the end of a case goes before its receiver.
    ~Rig() { delete dialog; }
    QByteArray setup() const { return gt::test::readBytes(setupFilePath(dir.path())); }
};

} // namespace

class TestCommPort : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensOnCurrentPort();
    void deviceShown_data();
    void deviceShown();
    void apply_data();
    void apply();
    void applyPortThatWillNotOpen();
    void applySettingsNotWritten();
    void leavesAllAlone_data();
    void leavesAllAlone();

    void programListensFromSignOn();
    void demo();
};

void TestCommPort::opensOnCurrentPort()
{
    Rig rig;
    QCOMPARE(rig.dialog->objectName(), QStringLiteral("frmCommPort"));
    QCOMPARE(rig.dialog->windowTitle(), QStringLiteral("Comm Port"));
    QCOMPARE(rig.dialog->cmbPort->count(), 16);
    for (int i = 0; i < 16; ++i)
        QCOMPARE(rig.dialog->cmbPort->itemText(i), QStringLiteral("Comm %1").arg(i + 1));
    QCOMPARE(rig.dialog->cmbPort->currentIndex(), 2);
    QCOMPARE(rig.dialog->cmdCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(rig.dialog->cmdCancel->toolTip(), QStringLiteral("Does not change the Comm Port setting"));
    QCOMPARE(rig.dialog->cmdApply->text(), QStringLiteral("Apply"));
    QCOMPARE(rig.dialog->cmdApply->toolTip(), QStringLiteral("Enters the Comm Port selection"));
    auto *file = rig.dialog->findChild<QMenu *>(QStringLiteral("mnuFile"));
    QVERIFY(file);
    QCOMPARE(file->title(), QStringLiteral("&File"));
    auto *close = rig.dialog->findChild<QAction *>(QStringLiteral("mnuFileClose"));
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("&Close"));
    QVERIFY(!rig.navigator.isMainAvailable());
    QVERIFY(!rig.main.isEnabled());
}

void TestCommPort::deviceShown_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("device");
    QTest::newRow("Comm 1") << 0 << QStringLiteral("/dev/ttyS0");
    QTest::newRow("Comm 12") << 11 << QStringLiteral("/dev/ttyS11");
    QTest::newRow("Comm 16") << 15 << QStringLiteral("/dev/ttyS15");
}

void TestCommPort::deviceShown()
{
    QFETCH(int, index);
    QFETCH(QString, device);
    Rig rig;
    rig.dialog->cmbPort->setCurrentIndex(index);
    const QString where = QFileInfo::exists(device) ? QStringLiteral("present on this computer")
                                                    : QStringLiteral("not found on this computer");
    QCOMPARE(rig.dialog->lblDevice->text(),
             QStringLiteral("Comm %1 opens %2 (%3).").arg(index + 1).arg(device, where));

    // A device named on the command line is in use until a port is applied.
    rig.state.portOverride = QStringLiteral("/dev/ttyUSB0");
    rig.dialog->cmbPort->setCurrentIndex(index == 0 ? 1 : 0);
    QVERIFY(rig.dialog->lblDevice->text().endsWith(
        QStringLiteral("\nThis run listens on /dev/ttyUSB0 until a port is applied.")));
}

void TestCommPort::apply_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("override");
    QTest::newRow("port 12") << 11 << QString();
    QTest::newRow("port 1") << 0 << QString();
    QTest::newRow("the same port again") << 2 << QString();
    QTest::newRow("port 16, ending a command-line device") << 15 << QStringLiteral("/dev/ttyUSB0");
}

void TestCommPort::apply()
{
    QFETCH(int, index);
    QFETCH(QString, override);
    Rig rig;
    rig.state.portOverride = override;
    rig.port->receive("1 V 1");
    const int opens = rig.port->openCount;
    rig.dialog->cmbPort->setCurrentIndex(index);
    QTest::mouseClick(rig.dialog->cmdApply, Qt::LeftButton);

    const int port = index + 1;
    QCOMPARE(rig.state.intCommPort, port);
    QCOMPARE(rig.state.strSetupLine1, QStringLiteral("CommPort=%1").arg(port));
    QCOMPARE(rig.state.portOverride, QString());
    QCOMPARE(rig.port->openCount, opens + 1);
    QCOMPARE(rig.port->openedDevice, QStringLiteral("/dev/ttyS%1").arg(index));
    // Line 1 changes; lines 2 and 3 and the 100 names stay as they were.
    const QByteArray want = setupBytes("CommPort=" + QByteArray::number(port));
    const QList<QByteArray> got = rig.setup().split('\n');
    const QList<QByteArray> wanted = want.split('\n');
    QCOMPARE(got.size(), 104);
    for (int i = 0; i < wanted.size(); ++i)
        QCOMPARE(got.at(i), wanted.at(i));
    // The buffer survives the switch.
    rig.port->receive("01 000001 \r");
    QCOMPARE(rig.state.intRecordCount(), 1);

    QTRY_VERIFY(rig.dialog.isNull());
    QVERIFY(rig.navigator.isMainAvailable());
    QVERIFY(rig.main.isEnabled());
    QCOMPARE(rig.prompts.shown.size(), 0);

    // The next start opens the port that was applied.
    GatetallyState next(rig.dir.path());
    loadSettings(next);
    QCOMPARE(next.intCommPort, port);
}

void TestCommPort::applyPortThatWillNotOpen()
{
    Rig rig;
    rig.port->refuseOpen = QStringLiteral("Permission denied");
    rig.dialog->cmbPort->setCurrentIndex(4);
    rig.dialog->apply();
    QCOMPARE(rig.prompts.texts(),
             QStringList{QStringLiteral("The serial port Comm 5 (/dev/ttyS4) could not be opened:\r\n"
                                        "Permission denied\r\n\r\n"
                                        "No records are received until it opens. Another port can be\r\n"
                                        "chosen with Setup > Comm Port.")});
    QCOMPARE(rig.receiver->statusText(),
             QStringLiteral("Serial port Comm 5 (/dev/ttyS4) could not be opened (Permission denied). "
                            "Trying again every 2 seconds."));
    // The choice is kept; the operator can come back and pick another.
    QCOMPARE(rig.setup().left(12), QByteArray("CommPort=5\r\n"));
    QTRY_VERIFY(rig.dialog.isNull());
    QVERIFY(rig.main.isEnabled());
}

void TestCommPort::applySettingsNotWritten()
{
    Rig rig;
    // A folder where setup.txt should be: it cannot be replaced.
    const QString setup = setupFilePath(rig.dir.path());
    QVERIFY(QFile::remove(setup));
    QVERIFY(QDir().mkpath(QDir(setup).filePath(QStringLiteral("x"))));
    rig.dialog->cmbPort->setCurrentIndex(6);
    rig.dialog->apply();
    QCOMPARE(rig.prompts.shown.size(), 1);
    const QString head = QStringLiteral("The settings file %1 could not be written:\r\n").arg(setup);
    QSaveFile probe(setup);
    QVERIFY(!probe.open(QIODevice::WriteOnly));
    QCOMPARE(rig.prompts.shown.at(0).text, head + probe.errorString());
    // The new port is in use for this run all the same.
    QCOMPARE(rig.port->openedDevice, QStringLiteral("/dev/ttyS6"));
    QCOMPARE(rig.state.intCommPort, 7);
}

void TestCommPort::leavesAllAlone_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << QStringLiteral("cmdCancel");
    QTest::newRow("File > Close") << QStringLiteral("mnuFileClose");
    QTest::newRow("the window's close control") << QStringLiteral("close");
}

void TestCommPort::leavesAllAlone()
{
    QFETCH(QString, how);
    Rig rig;
    const QByteArray before = rig.setup();
    const int opens = rig.port->openCount;
    rig.dialog->cmbPort->setCurrentIndex(9);
    if (how == QLatin1String("cmdCancel"))
        QTest::mouseClick(rig.dialog->cmdCancel, Qt::LeftButton);
    else if (how == QLatin1String("mnuFileClose"))
        rig.dialog->findChild<QAction *>(how)->trigger();
    else
        rig.dialog->close();
    QTRY_VERIFY(rig.dialog.isNull());
    QCOMPARE(rig.setup(), before);
    QCOMPARE(rig.state.intCommPort, 3);
    QCOMPARE(rig.state.strSetupLine1, QStringLiteral("CommPort=3"));
    QCOMPARE(rig.port->openCount, opens);
    QCOMPARE(rig.port->openedDevice, QStringLiteral("/dev/ttyS2"));
    QVERIFY(rig.navigator.isMainAvailable());
    QVERIFY(rig.main.isEnabled());
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void TestCommPort::programListensFromSignOn()
{
    QTemporaryDir dir;
    panel::PseudoTerminal pty;
    QVERIFY(pty.open());
    Options options;
    options.dataDir = dir.path();
    options.port = pty.devicePath();
    ScriptedPrompts prompts;
    GatetallyApp app(options, prompts);
    app.start();
    QVERIFY(app.receiver());
    QVERIFY(app.receiver()->isPortOpen());
    QCOMPARE(app.receiver()->device(), pty.devicePath());
    app.showMainScreen();
    MainScreen *main = app.mainScreen();

    QVERIFY(pty.write("3 V 101 000042 \r"));
    QTRY_COMPARE(main->txtNumber->text(), QStringLiteral("1"));

    // Setup > Comm Port sets the main screen aside; a second choice raises
    // the same dialog.
    QAction *commPort = main->action(QStringLiteral("mnuSetupCommPort"));
    QVERIFY(commPort->isEnabled());
    commPort->trigger();
    QWidget *dialog = app.navigator().find(QStringLiteral("frmCommPort"));
    QVERIFY(dialog);
    QVERIFY(!main->isEnabled());
    commPort->trigger();
    QCOMPARE(app.navigator().find(QStringLiteral("frmCommPort")), dialog);
    // Records keep arriving on the old port while the dialog is open.
    QVERIFY(pty.write("3 V 101 000043 \r"));
    QTRY_COMPARE(main->txtNumber->text(), QStringLiteral("2"));
    dialog->close();
    QTRY_VERIFY(main->isEnabled());

    // A lost line shows on the main screen, without a box.
    auto *status = main->findChild<QLabel *>(QStringLiteral("lblStatus"));
    QCOMPARE(status->text(), QString());
    pty.close();
    QTRY_VERIFY(status->text().startsWith(QStringLiteral("Serial port %1 was lost (").arg(options.port)));
    QCOMPARE(prompts.shown.size(), 0);

    // Exit closes the port first; the exit timer's tick takes the receiver away.
    app.closePort();
    QVERIFY(!app.receiver()->isPortOpen());
    QCOMPARE(status->text(), QString());
    QSignalSpy finished(&app, &GatetallyApp::finished);
    Q_EMIT main->exitTimerTicked();
    QCOMPARE(finished.size(), 1);
    QVERIFY(!app.receiver());
}

void TestCommPort::demo()
{
    QTemporaryDir dir;
    Options options;
    options.dataDir = dir.path();
    options.demo = true;
    ScriptedPrompts prompts;
    GatetallyApp app(options, prompts);
    app.start();
    QVERIFY(app.demoPanel());
    QVERIFY(app.receiver()->isPortOpen());
    QCOMPARE(app.receiver()->device(), app.demoPanel()->devicePath());
    app.showMainScreen();
    auto *status = app.mainScreen()->findChild<QLabel *>(QStringLiteral("lblStatus"));
    QCOMPARE(status->text(), QStringLiteral("Demo: the records come from a built-in simulated panel on %1.")
                                 .arg(app.demoPanel()->devicePath()));
    for (int i = 0; i < 5; ++i)
        app.demoPanel()->sendNext();
    QTRY_COMPARE(app.state().intRecordCount(), 5);
    QCOMPARE(prompts.shown.size(), 0);
}

QTEST_MAIN(TestCommPort)
#include "tst_commport.moc"
