#pragma once

#include "PortChoice.h"
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
