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
#include "Rows.h"
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

    // The chosen adapter unplugged: still listed, and shown as chosen. A
    // port without an item (17) shows the first.
    rig.state.chosenAdapter = rig.link(QStringLiteral("usb-Gone-if00"));
    rig.state.intCommPort = 17;
    CommPortDialog &again = rig.openDialog();
    QCOMPARE(again.cmbPort->currentIndex(), 0);
    QCOMPARE(test::rowTexts(again.cmbAdapter->view()).mid(3), QStringList{"usb-Gone-if00 (not plugged in)"});
    QCOMPARE(again.cmbAdapter->currentIndex(), 3);
    QCOMPARE(again.lblDevice->text(),
             rig.state.chosenAdapter + QStringLiteral(" is not plugged in; records arrive once it is."));
}

// One way of leaving the dialog: the choice applied or not, adapter.txt,
// setup.txt, the device listened on now and at the next start, and half a
// message on the line before carried over to the line after.
struct Leaving
{
    const char *name;
    QString before;  // the adapter of adapter.txt at the start
    QString adapter; // the one chosen; none: the Comm port at portIndex
    int portIndex = 2;
    const char *how = "cmdApply";
    QString after; // the adapter listened on at the end
    QByteArray line1 = "CommPort=3";
    // Folders stand where adapter.txt and setup.txt should be: each file
    // that cannot be written is told, with its name and the system's
    // reason, and the choice still stands for this run.
    bool blocked = false;
    // --port names Zeta's device: listened on, whatever adapter.txt says,
    // until a port is applied; adapter.txt is not touched by it.
    bool portOption = false;
};
const Leaving kLeavings[] = {
    {.name = "an adapter", .adapter = kAcme, .after = kAcme},
    {.name = "another adapter", .before = kAcme, .adapter = kZeta, .after = kZeta},
    {.name = "the same adapter again", .before = kZeta, .adapter = kZeta, .after = kZeta},
    {.name = "back to Comm 12", .before = kAcme, .portIndex = 11, .line1 = "CommPort=12"},
    {.name = "Comm 16, ending --port", .portIndex = 15, .line1 = "CommPort=16", .portOption = true},
    {.name = "--port, until an adapter is applied", .before = kAcme, .adapter = kAcme, .after = kAcme,
     .portOption = true},
    {.name = "Cancel", .before = kAcme, .adapter = kZeta, .how = "cmdCancel", .after = kAcme},
    {.name = "File > Close", .before = kAcme, .adapter = kZeta, .how = "mnuFileClose", .after = kAcme},
    {.name = "the window's close control", .before = kAcme, .adapter = kZeta, .how = "close", .after = kAcme},
    {.name = "blocked: an adapter", .adapter = kZeta, .portIndex = 4, .after = kZeta, .blocked = true},
    {.name = "blocked: a Comm port", .portIndex = 4, .line1 = "CommPort=5", .blocked = true},
};

void TestAdapters::apply_data() { test::rowsOf(kLeavings); }

void TestAdapters::apply()
{
    QFETCH(int, row);
    const Leaving &c = kLeavings[row];
    Rig rig;
    if (!c.before.isEmpty())
        QVERIFY(gt::test::writeBytes(adapterFilePath(rig.data), adapterFileOf(rig, c.before)));
    rig.start(c.portOption ? rig.zeta.devicePath() : QString());
    if (c.portOption)
        QVERIFY(rig.receiver->device() == rig.zeta.devicePath() && rig.receiver->listeningText().isEmpty());
    if (c.portOption || !c.before.isEmpty()) {
        panel::PseudoTerminal &line = c.portOption ? rig.zeta : rig.pty(c.before);
        QVERIFY(arrives(rig.state, line) && line.write("1 V 1"));
        QTRY_COMPARE(rig.state.strReceiveBuffer, QStringLiteral("1 V 1"));
    }
    const QString path = adapterFilePath(rig.data);
    const QString setup = setupFilePath(rig.data);
    QStringList failures; // what the program's own ways of writing meet there
    if (c.blocked) {
        QVERIFY(QFile::remove(setup));
        QVERIFY(QDir().mkpath(QDir(path).filePath("x")) && QDir().mkpath(QDir(setup).filePath("x")));
        QSaveFile writer(path);
        QFile remover(path);
        QSaveFile setupWriter(setup);
        QVERIFY(!writer.open(QIODevice::WriteOnly) && !remover.remove() && !setupWriter.open(QIODevice::WriteOnly));
        if (c.adapter.isEmpty())
            failures << QStringLiteral("The settings file %1 could not be written:\r\n%2").arg(setup, setupWriter.errorString());
        failures << QStringLiteral("The adapter file %1 could not be written:\r\n%2")
                        .arg(path, (c.adapter.isEmpty() ? static_cast<QFileDevice &>(remover) : writer).errorString());
    }
    CommPortDialog &d = rig.openDialog();
    if (c.portOption)
        QVERIFY(d.lblDevice->text().endsWith("\nThis run listens on " + rig.zeta.devicePath() + " until a port is applied."));
    d.cmbPort->setCurrentIndex(c.portIndex);
    d.cmbAdapter->setCurrentIndex(c.adapter.isEmpty() ? 0 : d.cmbAdapter->findData(rig.link(c.adapter)));
    if (c.how == QLatin1String("mnuFileClose"))
        d.mnuFileClose->trigger();
    else if (c.how == QLatin1String("close"))
        d.close();
    else
        QTest::mouseClick(d.findChild<QPushButton *>(c.how), Qt::LeftButton);
    QTRY_VERIFY(rig.dialog.isNull());
    QVERIFY(rig.navigator.isMainAvailable() && rig.main.isEnabled());
    QCOMPARE(rig.state.portOverride, QString());

    QCOMPARE(rig.prompts.texts().filter(QStringLiteral("could not be written")), failures);
    QVERIFY(!c.blocked || rig.prompts.shown.last().icon == Prompts::Icon::Warning);
    const QString device = c.after.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(c.portIndex) : rig.link(c.after);
    QCOMPARE(rig.receiver->device(), device);
    if (!c.after.isEmpty()) {
        // The half message before the switch is finished on the new line.
        QVERIFY(rig.pty(c.after).write(c.before.isEmpty() && !c.portOption ? "1 V 101 000009 \r" : "01 000009 \r"));
        QTRY_VERIFY(rig.state.strRecordLine.endsWith("    1    VALID        101    000009"));
    }
    if (c.blocked)
        return;
    QCOMPARE(rig.adapterFile(), adapterFileOf(rig, c.after));
    // setup.txt keeps its 103 lines; only a Comm port changes line 1.
    QCOMPARE(gt::test::readBytes(setup), c.line1 + kSetup.mid(kSetup.indexOf('\r')));

    // The next start listens where this one was left.
    rig.receiver.reset();
    GatetallyState next(rig.data);
    Receiver nextReceiver(next, rig.prompts, std::make_unique<SerialPortLink>());
    loadSettings(next);
    nextReceiver.openPort();
    QCOMPARE(nextReceiver.device(), device);
    if (!c.after.isEmpty()) {
        QCOMPARE(nextReceiver.listeningText(), "Listening on the serial adapter " + c.after + " ("
                                                   + rig.pty(c.after).devicePath() + ").");
        QVERIFY(arrives(next, rig.pty(c.after)));
    }
}

void TestAdapters::replugging()
{
    // The running program: the adapter of adapter.txt is listened on from the
    // start and named on the main screen; unplugged, the screen says so in
    // red; plugged in again as another device, records flow once more.
    Rig rig;
    QVERIFY(gt::test::writeBytes(adapterFilePath(rig.data), adapterFileOf(rig, kAcme)));
    test::Program p;
    p.options.dataDir = rig.data;
    GatetallyApp &app = p.start();
    app.receiver()->retryTimer()->setInterval(5);
    auto *status = app.mainScreen()->findChild<QLabel *>(QStringLiteral("lblStatus"));
    QCOMPARE(status->text(), "Listening on the serial adapter " + kAcme + " (" + rig.acme.devicePath() + ").");
    panel::PseudoTerminal replugged;
    QVERIFY(replugged.open() && QFile::remove(rig.link(kAcme)));
    rig.acme.close();
    QTRY_VERIFY(status->text().startsWith("Serial port " + rig.link(kAcme) + " was lost ("));
    QVERIFY(status->styleSheet().contains("#a00000"));
    QVERIFY(replugged.link(rig.link(kAcme)));
    QTRY_COMPARE(status->text(), "Listening on the serial adapter " + kAcme + " (" + replugged.devicePath() + ").");
    QVERIFY(!status->styleSheet().contains("#a00000") && arrives(app.state(), replugged));
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
