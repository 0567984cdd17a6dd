#pragma once

#include "AppScreenFlow.h"
#include "DemoPanel.h"
#include "MainScreen.h"
#include "Options.h"
#include "Receiver.h"
#include "RunMarker.h"
#include "SelfCheck.h"
#include "SignOn.h"
#include "State.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QTimer;

namespace gt {

class Navigator;
class Prompts;

// The composition root: owns the program-wide state, the receiver and the
// screens of one run, builds them and connects them; the screen flow does
// the rest.
class GatetallyApp : public QObject
{
    Q_OBJECT
public:
    GatetallyApp(const Options &options, Prompts &prompts, QObject *parent = nullptr);
    ~GatetallyApp() override;

    // Sign-on load, the receiver, and the sign-on screen with its timer.
    // Returns why the run cannot go on (the serial device is another
    // program's), else empty.
    QString start();

    // Takes the device the receiver is to listen on for this program alone;
    // returns why it cannot, else empty. Set by main(): a run of its own.
    std::function<QString(const QString &device)> lockDevice;

    GatetallyState &state() { return m_state; }
    Prompts &prompts() { return m_prompts; }
    Navigator &navigator() { return *m_navigator; }
    AppScreenFlow &flow() { return *m_flow; }
    SignOnScreen *signOnScreen() const { return m_signOn; }
    MainScreen *mainScreen() const { return m_main; }
    Receiver *receiver() const { return m_receiver; }
    // The built-in simulated panel of --demo, when running one.
    panel::DemoPanel *demoPanel() const { return m_demo; }

    // Closes the receiver's serial port (Exit, before the exit timer).
    void closePort();

    // Shows the main screen (making it first if need be) and unloads the
    // sign-on screen: the sign-on timer's tick.
    void showMainScreen();

    // The desktop session ends (logging out, a shutdown's SIGTERM): the run
    // ends as a confirmed Exit does, without asking.
    void endSession();

    // The disk and records file checks, shown in the main screen's status
    // area: at start, every kSelfCheckMs and whenever autosave starts.
    static constexpr int kSelfCheckMs = 60 * 1000;
    SelfCheckLimits selfCheckLimits;
    void runSelfCheck();
    QTimer *selfCheckTimer() const { return m_selfCheckTimer; }

Q_SIGNALS:
    // The program has ended its run (the exit timer ticked).
    void finished();

private:
    void onExitTimer();
    void startReceiver();
    void showStatus();

    Options m_options;
    Prompts &m_prompts;
    GatetallyState m_state;
    std::unique_ptr<Navigator> m_navigator;
    std::unique_ptr<AppScreenFlow> m_flow;
    QPointer<SignOnScreen> m_signOn;
    QPointer<MainScreen> m_main;
    QPointer<Receiver> m_receiver;
    QPointer<panel::DemoPanel> m_demo;
    QString m_demoText;
    RunMarker m_runMarker;
    // Said at start: how the last run ended, or why this one cannot be marked.
    QStringList m_runNotes;
    SelfCheckLines m_checks;
    QTimer *m_selfCheckTimer = nullptr;
};

} // namespace gt
