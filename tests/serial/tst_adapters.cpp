// USB serial adapters: a folder of stable names (symbolic links, as udev
// makes them) pointing at pseudo-terminals stands in for /dev/serial/by-id.
// The choice made in the comm port dialog, kept in adapter.txt, the records
// that arrive through it, a restart, re-plugging and --port.

#include "CommPortDialog.h"
#include "Navigator.h"
#include "PanelSim.h"
#include "Paths.h"
#include "PortLink.h"
#include "Program.h"
#include "PseudoTerminal.h"
#include "Receiver.h"
#include "Screens.h"
#include "SerialAdapters.h"
#include "Settings.h"
#include "State.h"
#include "TestFiles.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gt;

namespace {

const QString kAcme = QStringLiteral("usb-Acme_USB_Serial_A1B2-if00-port0");
const QString kZeta = QStringLiteral("usb-Zeta_Cable_9-if00");
const QByteArray kSetup = gt::test::setupFile("CommPort=3", "autosave=F", "/site/Records/default.txt");

// A data folder whose setup.txt names Comm 3, and an adapter folder with two
// adapters plugged in, each a pseudo-terminal published under its name.
struct Rig
{
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("data"));
    QString byId = dir.filePath(QStringLiteral("by-id"));
    panel::PseudoTerminal acme;
    panel::PseudoTerminal zeta;
    GatetallyState state{data};
    gt::test::ScriptedPrompts prompts;
    std::unique_ptr<Receiver> receiver;
    Navigator navigator;
    QWidget main;
    QPointer<CommPortDialog> dialog;

    Rig()
    {
        QDir().mkpath(data);
        QDir().mkpath(byId);
        gt::test::writeBytes(setupFilePath(data), kSetup);
        acme.open();
        acme.link(link(kAcme));
        zeta.open();
        zeta.link(link(kZeta));
    }
    ~Rig() { delete dialog; }
    QString link(const QString &name) const { return QDir(byId).filePath(name); }
    panel::PseudoTerminal &pty(const QString &name) { return name == kAcme ? acme : zeta; }
    // The program's start: settings, then the receiver's load.
    void start(const QString &portOverride = QString())
    {
        loadSettings(state);
        state.portOverride = portOverride;
        receiver = std::make_unique<Receiver>(state, prompts, std::make_unique<SerialPortLink>());
        receiver->openPort();
    }
    CommPortDialog &openDialog()
    {
        navigator.setMainScreen(&main);
        dialog = new CommPortDialog(state, *receiver, prompts, byId);
        navigator.open(dialog, Navigator::MainScreen::SetAside);
        return *dialog;
    }
    QByteArray adapterFile() const { return gt::test::readBytes(adapterFilePath(data)); }
};

QByteArray adapterFileOf(const Rig &rig, const QString &name)
{
    return name.isEmpty() ? QByteArray("<unreadable>") : (rig.link(name) + "\r\n").toLatin1();
}

// A message sent down a pseudo-terminal arrives as one more record.
bool arrives(GatetallyState &state, panel::PseudoTerminal &pty)
{
    const int before = state.intRecordCount();
    return pty.write(panel::message('1', 'V', "101", QByteArray::number(before)))
        && QTest::qWaitFor([&] { return state.intRecordCount() == before + 1; });
}

} // namespace

class TestAdapters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dialogLists();
    void apply_data();
    void apply();
    void replugging();
    void unreadableChoice();
};

void TestAdapters::dialogLists()
{
    Rig rig;
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/ttyUSB7"), rig.link(QStringLiteral("usb-Gone-if00"))));
    rig.start();
    CommPortDialog &d = rig.openDialog();
    // The Comm ports stay as they were, and no adapter is chosen yet.
    QVERIFY(d.cmbPort->count() == 16 && d.cmbPort->itemText(15) == "Comm 16" && d.cmbPort->currentIndex() == 2);
    // Plugged-in adapters by name, with the device each is now; a name
    // that leads nowhere is left out.
    QCOMPARE(test::rowTexts(d.cmbAdapter->view()),
             (QStringList{"No adapter: the Comm port above", kAcme + " (" + rig.acme.devicePath() + ')',
                          kZeta + " (" + rig.zeta.devicePath() + ')'}));
    QVERIFY(d.cmbAdapter->currentIndex() == 0 && d.cmbPort->isEnabled());
    QVERIFY(d.lblDevice->text().startsWith(QStringLiteral("Comm 3 opens /dev/ttyS2 (")));
    d.cmbAdapter->setCurrentIndex(2);
    QVERIFY(!d.cmbPort->isEnabled());
    QCOMPARE(d.lblDevice->text(), rig.link(kZeta) + " is " + rig.zeta.devicePath()
                                      + " now, and is found again by this name when plugged in anew.");
    delete rig.dialog;

    // The chosen adapter unplugged: still listed, and shown as chosen.
    rig.state.chosenAdapter = rig.link(QStringLiteral("usb-Gone-if00"));
    CommPortDialog &again = rig.openDialog();
    QCOMPARE(test::rowTexts(again.cmbAdapter->view()).mid(3), QStringList{"usb-Gone-if00 (not plugged in)"});
    QCOMPARE(again.cmbAdapter->currentIndex(), 3);
    QCOMPARE(again.lblDevice->text(),
             rig.state.chosenAdapter + QStringLiteral(" is not plugged in; records arrive once it is."));
}

// The choice applied or cancelled in the dialog: adapter.txt, setup.txt, the
// device listened on now and at the next start. "blocked": a folder stands
// where adapter.txt should be; the operator is told, with the file's name
// and the system's reason, and the choice still stands for this run.
// "--port": the run listens on the device given, whatever adapter.txt says,
// until a port is applied; adapter.txt is not touched by it.
void TestAdapters::apply_data()
{
    QTest::addColumn<QString>("before");  // adapter in adapter.txt at start
    QTest::addColumn<QString>("adapter"); // adapter chosen ("" = a Comm port)
    QTest::addColumn<int>("portIndex");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("after");   // adapter listened on at the end
    QTest::addColumn<QByteArray>("line1");
    QTest::addColumn<bool>("blocked");
    QTest::addColumn<bool>("portOption"); // --port names Zeta's device
    const auto row = [](const char *name, const QString &before, const QString &adapter, int portIndex,
                        const char *button, const QString &after, const char *line1, bool blocked = false,
                        bool portOption = false) {
        QTest::newRow(name) << before << adapter << portIndex << button << after << QByteArray(line1) << blocked
                            << portOption;
    };
    row("an adapter", QString(), kAcme, 2, "cmdApply", kAcme, "CommPort=3");
    row("another adapter", kAcme, kZeta, 2, "cmdApply", kZeta, "CommPort=3");
    row("the same adapter again", kZeta, kZeta, 2, "cmdApply", kZeta, "CommPort=3");
    row("back to Comm 12", kAcme, QString(), 11, "cmdApply", QString(), "CommPort=12");
    row("Cancel", kAcme, kZeta, 2, "cmdCancel", kAcme, "CommPort=3");
    row("blocked: an adapter", QString(), kZeta, 4, "cmdApply", kZeta, "CommPort=3", true);
    row("blocked: a Comm port", QString(), QString(), 4, "cmdApply", QString(), "CommPort=5", true);
    row("--port, until an adapter is applied", kAcme, kAcme, 2, "cmdApply", kAcme, "CommPort=3", false, true);
}

void TestAdapters::apply()
{
    QFETCH(QString, before);
    QFETCH(QString, adapter);
    QFETCH(int, portIndex);
    QFETCH(QString, button);
    QFETCH(QString, after);
    QFETCH(QByteArray, line1);
    QFETCH(bool, blocked);
    QFETCH(bool, portOption);
    Rig rig;
    if (!before.isEmpty())
        QVERIFY(gt::test::writeBytes(adapterFilePath(rig.data), adapterFileOf(rig, before)));
    rig.start(portOption ? rig.zeta.devicePath() : QString());
    if (portOption)
        QVERIFY(rig.receiver->device() == rig.zeta.devicePath() && rig.receiver->listeningText().isEmpty());
    if (portOption || !before.isEmpty())
        QVERIFY(arrives(rig.state, portOption ? rig.zeta : rig.pty(before)));
    const QString path = adapterFilePath(rig.data);
    QString reason; // why the program's own way of writing adapter.txt fails there
    if (blocked) {
        QVERIFY(QDir().mkpath(QDir(path).filePath(QStringLiteral("x"))));
        QFile remover(path);
        QSaveFile writer(path);
        QVERIFY(adapter.isEmpty() ? !remover.remove() : !writer.open(QIODevice::WriteOnly));
        reason = adapter.isEmpty() ? remover.errorString() : writer.errorString();
        QVERIFY(!reason.isEmpty());
    }
    CommPortDialog &d = rig.openDialog();
    if (portOption)
        QCOMPARE(d.lblDevice->text(), rig.link(kAcme) + " is " + rig.acme.devicePath()
                                          + " now, and is found again by this name when plugged in anew.\n"
                                            "This run listens on " + rig.zeta.devicePath() + " until a port is applied.");
    d.cmbPort->setCurrentIndex(portIndex);
    d.cmbAdapter->setCurrentIndex(adapter.isEmpty() ? 0 : d.cmbAdapter->findData(rig.link(adapter)));
    QTest::mouseClick(d.findChild<QPushButton *>(button), Qt::LeftButton);
    QTRY_VERIFY(rig.dialog.isNull());
    QCOMPARE(rig.state.portOverride, QString());

    QCOMPARE(rig.prompts.texts().filter(QStringLiteral("could not be written")),
             blocked ? QStringList{QStringLiteral("The adapter file %1 could not be written:\r\n%2").arg(path, reason)}
                     : QStringList());
    QVERIFY(!blocked || rig.prompts.shown.last().icon == Prompts::Icon::Warning);
    QCOMPARE(rig.adapterFile(), blocked ? QByteArray("<unreadable>") : adapterFileOf(rig, after));
    // setup.txt keeps its 103 lines; only a Comm port changes line 1.
    QCOMPARE(gt::test::readBytes(setupFilePath(rig.data)), line1 + kSetup.mid(kSetup.indexOf('\r')));
    const QString device = after.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(portIndex) : rig.link(after);
    QCOMPARE(rig.receiver->device(), device);
    if (!after.isEmpty())
        QVERIFY(arrives(rig.state, rig.pty(after)));
    if (blocked)
        return;

    // The next start listens where this one was left.
    rig.receiver.reset();
    GatetallyState next(rig.data);
    Receiver nextReceiver(next, rig.prompts, std::make_unique<SerialPortLink>());
    loadSettings(next);
    nextReceiver.openPort();
    QCOMPARE(nextReceiver.device(), device);
    if (!after.isEmpty()) {
        QCOMPARE(nextReceiver.listeningText(), "Listening on the serial adapter " + after + " ("
                                                   + rig.pty(after).devicePath() + ").");
        QVERIFY(arrives(next, rig.pty(after)));
    }
}

void TestAdapters::replugging()
{
    // The running program: the adapter of adapter.txt is listened on from the
    // start and named on the main screen; unplugged, the screen says so in
    // red while the receiver keeps trying; plugged in again as another
    // device, records flow once more.
    Rig rig;
    QVERIFY(gt::test::writeBytes(adapterFilePath(rig.data), adapterFileOf(rig, kAcme)));
    test::Program p;
    p.options.dataDir = rig.data;
    GatetallyApp &app = p.start();
    app.receiver()->retryTimer()->setInterval(5);
    auto *status = app.mainScreen()->findChild<QLabel *>(QStringLiteral("lblStatus"));
    const auto listening = [](const QString &device) {
        return QStringLiteral("Listening on the serial adapter %1 (%2).").arg(kAcme, device);
    };
    QCOMPARE(status->text(), listening(rig.acme.devicePath()));
    QVERIFY(!status->styleSheet().contains(QStringLiteral("#a00000")));
    QVERIFY(arrives(app.state(), rig.acme));

    // Plugged in again it gets another device (the old one is still held
    // while the line is being lost).
    const QString first = rig.acme.devicePath();
    panel::PseudoTerminal replugged;
    QVERIFY(replugged.open() && replugged.devicePath() != first);
    QVERIFY(QFile::remove(rig.link(kAcme)));
    rig.acme.close();
    const QString lost = QStringLiteral("Serial port %1 was lost (").arg(rig.link(kAcme));
    QTRY_VERIFY2(status->text().startsWith(lost), qPrintable(status->text()));
    QVERIFY(status->text().endsWith("Trying again every 2 seconds.") && status->styleSheet().contains("#a00000"));
    QTest::qWait(50);
    QVERIFY(!app.receiver()->isPortOpen() && app.receiver()->retryTimer()->isActive());
    QVERIFY(status->text().startsWith(lost));

    QVERIFY(replugged.link(rig.link(kAcme)));
    QTRY_COMPARE(status->text(), listening(replugged.devicePath()));
    QVERIFY(!status->styleSheet().contains(QStringLiteral("#a00000")));
    QVERIFY(arrives(app.state(), replugged));
    QCOMPARE(app.state().intRecordCount(), 2);
    QCOMPARE(p.prompts.shown.size(), 0);
    app.closePort();
}

// An adapter.txt that cannot be read (here a folder stands in its place) is
// told once, with its name and the reason; the Comm port of setup.txt is
// listened on and the file is left alone.
void TestAdapters::unreadableChoice()
{
    Rig rig;
    const QString path = adapterFilePath(rig.data);
    QVERIFY(QDir().mkpath(QDir(path).filePath(QStringLiteral("x"))));
    QFile probe(path);
    QVERIFY(!probe.open(QIODevice::ReadOnly));
    rig.start();
    QCOMPARE(rig.receiver->device(), QStringLiteral("/dev/ttyS2"));
    const QStringList told{QStringLiteral("The adapter file %1 could not be read:\r\n%2\r\n"
                                          "Gatetally listens on Comm 3 (/dev/ttyS2) instead and leaves "
                                          "the file as it is.")
                               .arg(path, probe.errorString())};
    QTRY_COMPARE(rig.prompts.texts().filter(QStringLiteral("adapter file")), told);
    QCOMPARE(rig.prompts.shown.first().icon, Prompts::Icon::Warning);
    rig.receiver->retryTimer()->setInterval(5);
    QTest::qWait(50);
    QCOMPARE(rig.prompts.texts().filter(QStringLiteral("adapter file")), told);
    QVERIFY(QFileInfo(path).isDir() && QFileInfo::exists(QDir(path).filePath(QStringLiteral("x"))));
}

QTEST_MAIN(TestAdapters)
#include "tst_adapters.moc"
