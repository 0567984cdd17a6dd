#pragma once

#include <QString>

namespace gt {

class GatetallyState;

constexpr int kCommPortCount = 16;

// "Comm N" as the operator sees it.
QString commCaption(int port);
// The device "Comm N" opens on this machine: COMN on Windows,
// /dev/ttyS<N-1> elsewhere.
QString commDevice(int port);

// The device the receiver listens on: the one named on the command line for
// this run, else the adapter chosen in the comm port dialog, else the Comm
// port of the settings.
QString receiverDevice(const GatetallyState &state);
// How messages name that port: "Comm 3 (/dev/ttyS2)", or the device alone
// when it was named on the command line or is an adapter.
QString receiverPortName(const GatetallyState &state);

} // namespace gt
