#pragma once

#include <QMainWindow>

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

// Apply: the chosen port is opened at once (the receiver reports a port that
// will not open) and line 1 of setup.txt is rewritten. Returns false with the
// reason when setup.txt could not be written; the port stays in use for this
// run all the same.
bool applyCommPort(GatetallyState &state, Receiver &receiver, int port, QString *error);

// frmCommPort: chooses the serial port the receiver listens on.
class CommPortDialog : public QMainWindow
{
    Q_OBJECT
public:
    CommPortDialog(GatetallyState &state, Receiver &receiver, Prompts &prompts, QWidget *parent = nullptr);

    QComboBox *cmbPort = nullptr;
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
