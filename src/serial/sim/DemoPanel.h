#pragma once

#include "PanelSim.h"
#include "PseudoTerminal.h"

#include <QObject>

class QTimer;

namespace gt::panel {

// The built-in panel of the demo: a pseudo-terminal that the receiver
// listens to, and a plausible message on it every 1 to 4 seconds, now and
// then a malformed one.
class DemoPanel : public QObject
{
    Q_OBJECT
public:
    explicit DemoPanel(quint32 seed, QObject *parent = nullptr);

    bool start(QString *error = nullptr);
    QString devicePath() const { return m_pty.devicePath(); }
    int sent() const { return m_sent; }

    // Sends the next message now (the timer's tick).
    void sendNext();

private:
    void schedule();

    PseudoTerminal m_pty;
    Generator m_generator;
    QRandomGenerator m_random;
    QTimer *m_timer;
    int m_sent = 0;
};

} // namespace gt::panel
