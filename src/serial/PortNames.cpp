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
    if (!state.portOverride.isEmpty())
        return state.portOverride;
    // The adapter is opened by its stable name, so that it is found again
    // after being plugged in anew, whatever device it then gets.
    if (!state.chosenAdapter.isEmpty())
        return state.chosenAdapter;
    return commDevice(state.intCommPort);
}

QString receiverPortName(const GatetallyState &state)
{
    if (!state.portOverride.isEmpty())
        return state.portOverride;
    if (!state.chosenAdapter.isEmpty())
        return state.chosenAdapter;
    return QStringLiteral("%1 (%2)").arg(commCaption(state.intCommPort), commDevice(state.intCommPort));
}

} // namespace gt
