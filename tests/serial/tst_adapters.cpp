// USB serial adapters: a folder of stable names (symbolic links, as udev
// makes them) pointing at pseudo-terminals stands in for /dev/serial/by-id.
// The choice made in the comm port dialog, kept in adapter.txt, the records
// that arrive through it, a restart, re-plugging and --port.

#include "CommPortDialog.h"
#include "GatetallyApp.h"
#include "MainScreen.h"
#include "Navigator.h"
#include "PanelSim.h"
#include "Paths.h"
#include "PortLink.h"
#include "PseudoTerminal.h"
#include "Receiver.h"
#include "ScriptedPrompts.h"
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
const QByteArray kSetup = gt::test::crlf(QList<QByteArray>{"CommPort=3", "autosave=F", "/site/Records/default.txt"}
                                         + QList<QByteArray>(100, QByteArray()));

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
    void commandLineOverrides();
    void replugging();
    void fileNotWritten_data();
    void fileNotWritten();
};

void TestAdapters::dialogLists()
{
    Rig rig;
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/ttyUSB7"), rig.link(QStringLiteral("usb-Gone-if00"))));
    rig.start();
    CommPortDialog &d = rig.openDialog();
    // The Comm ports stay as they were, and no adapter is chosen yet.
    QCOMPARE(d.cmbPort->count(), 16);
    QCOMPARE(d.cmbPort->itemText(15), QStringLiteral("Comm 16"));
    QCOMPARE(d.cmbPort->currentIndex(), 2);
    // Plugged-in adapters by name, with the device each is now; a name
    // that leads nowhere is left out.
    QStringList items;
    for (int i = 0; i < d.cmbAdapter->count(); ++i)
        items << d.cmbAdapter->itemText(i);
    QCOMPARE(items, (QStringList{QStringLiteral("No adapter: the Comm port above"),
                                 kAcme + " (" + rig.acme.devicePath() + ')',
                                 kZeta + " (" + rig.zeta.devicePath() + ')'}));
    QCOMPARE(d.cmbAdapter->currentIndex(), 0);
    QVERIFY(d.cmbPort->isEnabled());
    QVERIFY(d.lblDevice->text().startsWith(QStringLiteral("Comm 3 opens /dev/ttyS2 (")));
    d.cmbAdapter->setCurrentIndex(2);
    QVERIFY(!d.cmbPort->isEnabled());
    QCOMPARE(d.lblDevice->text(), rig.link(kZeta) + " is " + rig.zeta.devicePath()
                                      + " now, and is found again by this name when plugged in anew.");
    delete rig.dialog;

    // The chosen adapter unplugged: still listed, and shown as chosen.
    rig.state.chosenAdapter = rig.link(QStringLiteral("usb-Gone-if00"));
    CommPortDialog &again = rig.openDialog();
    QCOMPARE(again.cmbAdapter->count(), 4);
    QCOMPARE(again.cmbAdapter->currentIndex(), 3);
    QCOMPARE(again.cmbAdapter->currentText(), QStringLiteral("usb-Gone-if00 (not plugged in)"));
    QCOMPARE(again.lblDevice->text(),
             rig.state.chosenAdapter + QStringLiteral(" is not plugged in; records arrive once it is."));
}

void TestAdapters::apply_data()
{
    QTest::addColumn<QString>("before");  // adapter in adapter.txt at start
    QTest::addColumn<QString>("adapter"); // adapter chosen ("" = a Comm port)
    QTest::addColumn<int>("portIndex");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("after");   // adapter in adapter.txt at the end
    QTest::addColumn<QByteArray>("line1");
    QTest::newRow("an adapter") << QString() << kAcme << 2 << "cmdApply" << kAcme << QByteArray("CommPort=3");
    QTest::newRow("another adapter") << kAcme << kZeta << 2 << "cmdApply" << kZeta << QByteArray("CommPort=3");
    QTest::newRow("the same adapter again") << kZeta << kZeta << 2 << "cmdApply" << kZeta << QByteArray("CommPort=3");
    QTest::newRow("back to Comm 12") << kAcme << QString() << 11 << "cmdApply" << QString() << QByteArray("CommPort=12");
    QTest::newRow("Cancel") << kAcme << kZeta << 2 << "cmdCancel" << kAcme << QByteArray("CommPort=3");
}

void TestAdapters::apply()
{
    QFETCH(QString, before);
    QFETCH(QString, adapter);
    QFETCH(int, portIndex);
    QFETCH(QString, button);
    QFETCH(QString, after);
    QFETCH(QByteArray, line1);
    Rig rig;
    if (!before.isEmpty())
        QVERIFY(gt::test::writeBytes(adapterFilePath(rig.data), adapterFileOf(rig, before)));
    rig.start();
    if (!before.isEmpty())
        QVERIFY(arrives(rig.state, rig.pty(before)));
    CommPortDialog &d = rig.openDialog();
    d.cmbPort->setCurrentIndex(portIndex);
    d.cmbAdapter->setCurrentIndex(adapter.isEmpty() ? 0 : d.cmbAdapter->findData(rig.link(adapter)));
    QTest::mouseClick(d.findChild<QPushButton *>(button), Qt::LeftButton);
    QTRY_VERIFY(rig.dialog.isNull());

    QCOMPARE(rig.adapterFile(), adapterFileOf(rig, after));
    // setup.txt keeps its 103 lines; only a Comm port changes line 1.
    QCOMPARE(gt::test::readBytes(setupFilePath(rig.data)), line1 + kSetup.mid(kSetup.indexOf('\r')));
    const QString device = after.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(portIndex) : rig.link(after);
    QCOMPARE(rig.receiver->device(), device);
    for (const auto &shown : std::as_const(rig.prompts.shown))
        QVERIFY2(!shown.text.contains(QStringLiteral("could not be written")), qPrintable(shown.text));
    if (!after.isEmpty())
        QVERIFY(arrives(rig.state, rig.pty(after)));

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

void TestAdapters::commandLineOverrides()
{
    // --port wins over the chosen adapter for this run, until a port is
    // applied; adapter.txt is not touched by it.
    Rig rig;
    QVERIFY(gt::test::writeBytes(adapterFilePath(rig.data), adapterFileOf(rig, kAcme)));
    rig.start(rig.zeta.devicePath());
    QCOMPARE(rig.receiver->device(), rig.zeta.devicePath());
    QCOMPARE(rig.receiver->listeningText(), QString());
    QVERIFY(arrives(rig.state, rig.zeta));
    CommPortDialog &d = rig.openDialog();
    QCOMPARE(d.cmbAdapter->currentData().toString(), rig.link(kAcme));
    QCOMPARE(d.lblDevice->text(), rig.link(kAcme) + " is " + rig.acme.devicePath()
                                      + " now, and is found again by this name when plugged in anew.\n"
                                        "This run listens on " + rig.zeta.devicePath() + " until a port is applied.");
    d.apply();
    QCOMPARE(rig.state.portOverride, QString());
    QCOMPARE(rig.receiver->device(), rig.link(kAcme));
    QVERIFY(arrives(rig.state, rig.acme));
    QCOMPARE(rig.adapterFile(), adapterFileOf(rig, kAcme));
}

void TestAdapters::replugging()
{
    // The running program: the adapter of adapter.txt is listened on from the
    // start and named on the main screen; unplugged, the screen says so in
    // red while the receiver keeps trying; plugged in again as another
    // device, records flow once more.
    Rig rig;
    QVERIFY(gt::test::writeBytes(adapterFilePath(rig.data), adapterFileOf(rig, kAcme)));
    Options options;
    options.dataDir = rig.data;
    GatetallyApp app(options, rig.prompts);
    app.start();
    app.showMainScreen();
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
    QVERIFY(status->text().endsWith(QStringLiteral("Trying again every 2 seconds.")));
    QVERIFY(status->styleSheet().contains(QStringLiteral("#a00000")));
    QTest::qWait(50);
    QVERIFY(!app.receiver()->isPortOpen() && app.receiver()->retryTimer()->isActive());
    QVERIFY(status->text().startsWith(lost));

    QVERIFY(replugged.link(rig.link(kAcme)));
    QTRY_COMPARE(status->text(), listening(replugged.devicePath()));
    QVERIFY(!status->styleSheet().contains(QStringLiteral("#a00000")));
    QVERIFY(arrives(app.state(), replugged));
    QCOMPARE(app.state().intRecordCount(), 2);
    QCOMPARE(rig.prompts.shown.size(), 0);
    app.closePort();
}

void TestAdapters::fileNotWritten_data()
{
    QTest::addColumn<QString>("adapter");
    QTest::newRow("an adapter chosen") << kZeta;
    QTest::newRow("a Comm port chosen") << QString();
}

void TestAdapters::fileNotWritten()
{
    // A folder stands where adapter.txt should be: the operator is told,
    // with the file's name and the system's reason; the choice still stands
    // for this run.
    QFETCH(QString, adapter);
    Rig rig;
    rig.start();
    const QString path = adapterFilePath(rig.data);
    QVERIFY(QDir().mkpath(QDir(path).filePath(QStringLiteral("x"))));
    QString reason;
    if (adapter.isEmpty()) {
        QFile probe(path);
        QVERIFY(!probe.remove());
        reason = probe.errorString();
    } else {
        QSaveFile probe(path);
        QVERIFY(!probe.open(QIODevice::WriteOnly));
        reason = probe.errorString();
    }
    CommPortDialog &d = rig.openDialog();
    d.cmbAdapter->setCurrentIndex(adapter.isEmpty() ? 0 : d.cmbAdapter->findData(rig.link(adapter)));
    d.cmbPort->setCurrentIndex(4);
    const int before = rig.prompts.shown.size();
    d.apply();
    QCOMPARE(rig.prompts.texts().mid(before).filter(QStringLiteral("adapter file")),
             QStringList{QStringLiteral("The adapter file %1 could not be written:\r\n%2").arg(path, reason)});
    QCOMPARE(rig.prompts.shown.last().icon, Prompts::Icon::Warning);
    QVERIFY(!reason.isEmpty());
    QCOMPARE(rig.receiver->device(), adapter.isEmpty() ? QStringLiteral("/dev/ttyS4") : rig.link(adapter));
}

QTEST_MAIN(TestAdapters)
#include "tst_adapters.moc"
