#include "DemoPanel.h"

#include <QTimer>

namespace gt::panel {

DemoPanel::DemoPanel(quint32 seed, QObject *parent)
    : QObject(parent), m_generator(seed), m_random(seed ^ 0x5eedu), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        sendNext();
        schedule();
    });
}

bool DemoPanel::start(QString *error)
{
    if (!m_pty.open(error))
        return false;
    schedule();
    return true;
}

void DemoPanel::schedule() { m_timer->start(1000 + int(m_random.bounded(3001))); }

void DemoPanel::sendNext()
{
    ++m_sent;
    // About one message in twenty is malformed, one way or another.
    Faults faults;
    if (m_random.bounded(20) == 0) {
        switch (m_random.bounded(3)) {
        case 0:
            faults.shortMsg = 1;
            break;
        case 1:
            faults.longMsg = 1;
            break;
        default:
            faults.badStatus = 1;
            break;
        }
    }
    for (const QByteArray &w : writes({m_generator.next()}, faults))
        m_pty.write(w);
}

} // namespace gt::panel
