#pragma once

#include "SerialAdapters.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QComboBox;
class QLabel;
class QPushButton;

namespace gt {

class GatetallyState;
class Prompts;
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

// frmCommPort: chooses the serial port the receiver listens on.
class CommPortDialog : public QMainWindow
{
    Q_OBJECT
public:
    // adapterFolder: where the stable names of the adapters plugged in are
    // found (tests point it at a folder of their own).
    CommPortDialog(GatetallyState &state, Receiver &receiver, Prompts &prompts,
                   const QString &adapterFolder = defaultAdapterFolder(), QWidget *parent = nullptr);

    QComboBox *cmbPort = nullptr;
    // "None" (the Comm port above) or one of the serial adapters; each
    // adapter item holds its stable name as its data.
    QComboBox *cmbAdapter = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;
    QLabel *lblDevice = nullptr;
    QAction *mnuFileClose = nullptr;

    void apply();

private:
    void showDevice();

    GatetallyState &m_state;
    Receiver &m_receiver;
    Prompts &m_prompts;
};

} // namespace gt
