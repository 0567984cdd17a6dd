#include "GatetallyApp.h"

#include "MainCommands.h"
#include "MainScreen.h"
#include "Navigator.h"
#include "Prompts.h"
#include "SignOn.h"

#include <QTimer>

namespace gt {

GatetallyApp::GatetallyApp(const Options &options, Prompts &prompts, QObject *parent)
    : QObject(parent),
      m_options(options),
      m_prompts(prompts),
      m_state(options.dataDir.isEmpty() ? defaultDataDir() : options.dataDir),
      m_navigator(std::make_unique<Navigator>())
{
    m_state.portOverride = options.port;
}

GatetallyApp::~GatetallyApp()
{
    delete m_signOn;
    delete m_main;
}

void GatetallyApp::start()
{
    const SignOnResult result = signOnLoad(m_state);
    if (!result.problem.isEmpty())
        m_prompts.inform(result.problem, Prompts::Icon::Warning);

    m_signOn = new SignOnScreen;
    connect(m_signOn, &SignOnScreen::timerTicked, this, &GatetallyApp::showMainScreen);
    m_signOn->show();
    m_signOn->tmrSignOn->start();
}

void GatetallyApp::showMainScreen()
{
    if (!m_main) {
        m_main = new MainScreen(m_state, m_prompts, *m_navigator);
        wireMainScreen();
    }
    m_main->show();
    if (m_signOn) {
        m_signOn->close();
        m_signOn->deleteLater();
    }
}

void GatetallyApp::wireMainScreen()
{
    connect(m_main, &MainScreen::exitTimerTicked, this, &GatetallyApp::onExitTimer);

    // Autosave, Save, Save As, Clear and Exit; the commands live as long as the screen.
    auto *commands = new MainCommands(m_state, m_prompts, m_main->blnClearCheck, m_main);
    m_main->attachCommands(commands);
}

void GatetallyApp::onExitTimer()
{
    if (m_main)
        m_main->closeForExit();
    Q_EMIT finished();
}

} // namespace gt
