#pragma once

#include <QString>
#include <QStringList>

namespace gt {

class GatetallyState;
class Receiver;

// What the comm port dialog says about a port: the device "Comm N" opens on
// this machine and whether that device is there.
QString commPortDescription(int port);
// The same for an adapter: the device its stable name points to now.
QString adapterDescription(const QString &link);

// Apply with "Comm N" chosen: the port is opened at once (the receiver
// reports a port that will not open), line 1 of setup.txt is rewritten and
// an adapter chosen before is forgotten. Returns what the operator is to be
// told of files that could not be written (empty when all went well); the
// port stays in use for this run all the same.
QStringList applyCommPort(GatetallyState &state, Receiver &receiver, int port);

// Apply with an adapter chosen: the receiver listens on it at once, by its
// stable name, and the choice is kept in the adapter file of the data folder;
// setup.txt is left alone. Returns the failures to tell, as above.
QStringList applyAdapter(GatetallyState &state, Receiver &receiver, const QString &link);

} // namespace gt
