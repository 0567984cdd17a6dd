#include "GatetallyApp.h"

#include "MainCommands.h"
#include "MainScreen.h"
#include "Navigator.h"
#include "Prompts.h"
#include "SignOn.h"
#include "DemoPanel.h"
#include "PortLink.h"
#include "PortNames.h"
#include "Receiver.h"
#include "SerialAdapters.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <utility>

namespace gt {

GatetallyApp::GatetallyApp(const Options &options, Prompts &prompts, QObject *parent)
    : QObject(parent),
      m_options(options),
      m_prompts(prompts),
      m_state(options.dataDir.isEmpty() ? defaultDataDir() : options.dataDir),
      m_navigator(std::make_unique<Navigator>()),
      m_flow(std::make_unique<AppScreenFlow>(m_state, m_prompts, *m_navigator)),
      m_runMarker(m_state.dataDir),
      m_selfCheckTimer(new QTimer(this))
{
    m_state.portOverride = options.port;
    m_selfCheckTimer->setObjectName(QStringLiteral("tmrSelfCheck"));
    m_selfCheckTimer->setInterval(kSelfCheckMs);
    connect(m_selfCheckTimer, &QTimer::timeout, this, &GatetallyApp::runSelfCheck);
    // A nearly full disk is told again at every start of autosave, and a
    // newly chosen records file is measured at once.
    connect(&m_state.notices, &StateNotices::autosaveChanged, this, [this](bool on) {
        if (on)
            runSelfCheck();
    });
    connect(&m_state.notices, &StateNotices::recordsFileChanged, this, &GatetallyApp::runSelfCheck);
}

GatetallyApp::~GatetallyApp()
{
    delete m_receiver;
    delete m_demo;
    delete m_signOn;
    delete m_main;
}

QString GatetallyApp::start()
{
    // The settings name the port; the line is opened before any box is
    // shown: a real serial port drops what arrives while it is closed, and a
    // record is stamped when it is taken, not when the box is answered.
    const SignOnResult result = signOnLoad(m_state);
    if (lockDevice && !m_options.demo) {
        m_state.chosenAdapter = readAdapterChoice(m_state.dataDir);
        const QString refused = lockDevice(receiverDevice(m_state));
        if (!refused.isEmpty())
            return refused;
    }
    // After the locks: a marker found now is a run that is gone, never one
    // still running on this folder.
    QString markerProblem;
    m_runNotes.clear();
    m_runNotes << m_runMarker.begin(m_state.clock.now(), m_state.strAutosaveFile, &markerProblem) << markerProblem;
    m_runNotes.removeAll(QString());
    startReceiver();
    runSelfCheck();
    m_selfCheckTimer->start();
    if (!result.problem.isEmpty())
        m_prompts.inform(result.problem, Prompts::Icon::Warning);

    m_signOn = new SignOnScreen;
    connect(m_signOn, &SignOnScreen::timerTicked, this, &GatetallyApp::showMainScreen);
    m_signOn->adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_signOn->move(screen->availableGeometry().center() - m_signOn->rect().center());
    m_signOn->show();
    m_signOn->tmrSignOn->start();
    return QString();
}

void GatetallyApp::showMainScreen()
{
    if (!m_main) {
        m_main = new MainScreen(m_state, m_prompts, *m_flow);
        m_navigator->setMainScreen(m_main);
        connect(m_main, &MainScreen::exitTimerTicked, this, &GatetallyApp::onExitTimer);
        m_main->commands()->closePort = [this] { closePort(); };
        // Exit and the end of the session both end here: the run ended as
        // it should, and the status area says no more about the last one.
        connect(m_main->commands(), &MainCommands::exitConfirmed, this, [this] {
            m_runMarker.finish();
            m_selfCheckTimer->stop();
            m_runNotes.clear();
            m_checks = SelfCheckLines();
            showStatus();
        });
        showStatus();
    }
    m_main->show();
    if (m_signOn) {
        m_signOn->close();
        m_signOn->deleteLater();
    }
}

void GatetallyApp::startReceiver()
{
    if (m_options.demo) {
        // The demo listens to a panel of its own on a pseudo-terminal; the
        // operator can still apply a real port in the comm port dialog.
        m_demo = new panel::DemoPanel(quint32(QDateTime::currentMSecsSinceEpoch()), this);
        QString error;
        if (m_demo->start(&error)) {
            m_state.portOverride = m_demo->devicePath();
            m_demoText = QStringLiteral("Demo: the records come from a built-in simulated panel on %1.")
                             .arg(m_demo->devicePath());
        } else {
            m_demoText = QStringLiteral("Demo: the simulated panel could not be started (%1).").arg(error);
        }
    }
    m_receiver = new Receiver(m_state, m_prompts, std::make_unique<SerialPortLink>(), this);
    m_flow->setReceiver(m_receiver);
    connect(m_receiver, &Receiver::statusChanged, this, &GatetallyApp::showStatus);
    m_receiver->openPort();
}

void GatetallyApp::closePort()
{
    if (m_receiver)
        m_receiver->closePort();
}

void GatetallyApp::showStatus()
{
    if (!m_main)
        return;
    // Each line with whether it is trouble, in the order they are shown.
    QList<std::pair<QString, bool>> lines;
    if (!m_demoText.isEmpty())
        lines.append({m_demoText, false});
    const bool lineTrouble = m_receiver && !m_receiver->statusText().isEmpty();
    if (lineTrouble)
        lines.append({m_receiver->statusText(), true});
    else if (m_receiver && !m_receiver->listeningText().isEmpty())
        lines.append({m_receiver->listeningText(), false});
    for (const QString &l : std::as_const(m_runNotes))
        lines.append({l, true});
    for (const QString &l : std::as_const(m_checks.warnings))
        lines.append({l, true});
    for (const QString &l : std::as_const(m_checks.notices))
        lines.append({l, false});

    QStringList plain;
    int troubles = 0;
    for (const auto &[text, trouble] : std::as_const(lines)) {
        plain << text;
        troubles += trouble ? 1 : 0;
    }
    if (troubles == 0 || troubles == lines.size()) {
        m_main->setStatusText(plain.join(QLatin1Char('\n')), troubles > 0);
        return;
    }
    // Trouble beside plain notices: the label's own style marks the trouble,
    // and the notices keep the quiet look they have alone, so that a file's
    // size never reads as a problem.
    QStringList rich;
    for (const auto &[text, trouble] : std::as_const(lines))
        rich << (trouble ? QStringLiteral("<span>%1</span>")
                         : QStringLiteral("<span style=\"color: #1f3f7f; font-weight: normal;\">%1</span>"))
                    .arg(text.toHtmlEscaped());
    m_main->setStatusText(rich.join(QStringLiteral("<br>")), true);
}

void GatetallyApp::runSelfCheck()
{
    m_checks = SelfCheck(selfCheckLimits).run(m_state);
    showStatus();
}

void GatetallyApp::endSession()
{
    if (!m_main)
        showMainScreen();
    m_main->commands()->exitWithoutAsking();
}

void GatetallyApp::onExitTimer()
{
    // The receiver goes first, so no record arrives at a closing screen. The
    // tick may come while one of its boxes is open (the box runs the event
    // loop): it is then deleted once that box has returned, never under it.
    if (m_receiver) {
        m_receiver->closePort();
        if (m_receiver->isShowingNotice())
            m_receiver->deleteLater();
        else
            delete m_receiver;
    }
    delete m_demo;
    if (m_main)
        m_main->closeForExit();
    Q_EMIT finished();
}

} // namespace gt
