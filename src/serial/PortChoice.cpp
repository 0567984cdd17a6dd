#include "PortChoice.h"

#include "PortNames.h"
#include "Receiver.h"
#include "SerialAdapters.h"
#include "Settings.h"
#include "State.h"
#include "WriteFailure.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QSerialPortInfo>
#endif

namespace gt {

namespace {
bool deviceExists(const QString &device)
{
#ifdef Q_OS_WIN
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &p : ports) {
        if (p.portName().compare(device, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
#else
    return QFileInfo::exists(device);
#endif
}
} // namespace

QString adapterDescription(const QString &link)
{
    const QString device = adapterDevice(link);
    if (device.isEmpty())
        return QStringLiteral("%1 is not plugged in; records arrive once it is.").arg(link);
    return QStringLiteral("%1 is %2 now, and is found again by this name when plugged in anew.").arg(link, device);
}

QString commPortDescription(int port)
{
    const QString device = commDevice(port);
    return QStringLiteral("%1 opens %2 (%3).")
        .arg(commCaption(port), device,
             deviceExists(device) ? QStringLiteral("present on this computer")
                                  : QStringLiteral("not found on this computer"));
}

QStringList applyCommPort(GatetallyState &state, Receiver &receiver, int port)
{
    state.intCommPort = port;
    // A device named on the command line only lasts until a port is applied.
    state.portOverride.clear();
    state.chosenAdapter.clear();
    receiver.switchPort();
    QStringList failures;
    SettingsChange change;
    change.commPort = port;
    QString error;
    if (!rewriteSettings(state, change, &error))
        failures.append(settingsWriteFailureMessage(state.dataDir, error));
    // Left behind, the old choice would win over this port at the next start.
    if (!writeAdapterChoice(state.dataDir, QString(), &error))
        failures.append(adapterFileFailureMessage(state.dataDir, error));
    return failures;
}

QStringList applyAdapter(GatetallyState &state, Receiver &receiver, const QString &link)
{
    state.portOverride.clear();
    state.chosenAdapter = link;
    receiver.switchPort();
    QString error;
    if (!writeAdapterChoice(state.dataDir, link, &error))
        return {adapterFileFailureMessage(state.dataDir, error)};
    return {};
}

} // namespace gt
