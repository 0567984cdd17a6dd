#include "PortNames.h"

#include "State.h"

namespace gt {

QString commCaption(int port) { return QStringLiteral("Comm %1").arg(port); }

QString commDevice(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

QString receiverDevice(const GatetallyState &state)
{
    return state.portOverride.isEmpty() ? commDevice(state.intCommPort) : state.portOverride;
}

QString receiverPortName(const GatetallyState &state)
{
    if (!state.portOverride.isEmpty())
        return state.portOverride;
    return QStringLiteral("%1 (%2)").arg(commCaption(state.intCommPort), commDevice(state.intCommPort));
}

} // namespace gt
