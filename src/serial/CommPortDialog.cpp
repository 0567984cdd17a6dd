#include "CommPortDialog.h"

#include "Menus.h"
#include "PortNames.h"
#include "Prompts.h"
#include "Receiver.h"
#include "Settings.h"
#include "State.h"
#include "WriteFailure.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

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

QString commPortDescription(int port)
{
    const QString device = commDevice(port);
    return QStringLiteral("%1 opens %2 (%3).")
        .arg(commCaption(port), device,
             deviceExists(device) ? QStringLiteral("present on this computer")
                                  : QStringLiteral("not found on this computer"));
}

bool applyCommPort(GatetallyState &state, Receiver &receiver, int port, QString *error)
{
    state.intCommPort = port;
    // A device named on the command line only lasts until a port is applied.
    state.portOverride.clear();
    receiver.switchPort();
    SettingsChange change;
    change.commPort = port;
    return rewriteSettings(state, change, error);
}

CommPortDialog::CommPortDialog(GatetallyState &state, Receiver &receiver, Prompts &prompts, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_receiver(receiver), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmCommPort"));
    setWindowTitle(QStringLiteral("Comm Port"));
    // Wide enough for the device line to stay on one line or two.
    setMinimumWidth(360);

    auto *central = new QWidget(this);
    setCentralWidget(central);

    cmbPort = new QComboBox(central);
    cmbPort->setObjectName(QStringLiteral("cmbPort"));
    for (int i = 1; i <= kCommPortCount; ++i)
        cmbPort->addItem(commCaption(i));

    lblDevice = new QLabel(central);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    lblDevice->setWordWrap(true);

    cmdCancel = new QPushButton(QStringLiteral("Cancel"), central);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setToolTip(QStringLiteral("Does not change the Comm Port setting"));
    cmdApply = new QPushButton(QStringLiteral("Apply"), central);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setToolTip(QStringLiteral("Enters the Comm Port selection"));
    cmdApply->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(cmbPort);
    layout->addWidget(lblDevice);
    layout->addLayout(buttons);

    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileClose = addFileClose(file, static_cast<QWidget *>(this), &QWidget::close);

    // Cancel, File > Close and the window's close control all leave
    // everything as it was; the navigator gives the main screen back.
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdApply, &QPushButton::clicked, this, &CommPortDialog::apply);
    connect(cmbPort, &QComboBox::currentIndexChanged, this, &CommPortDialog::showDevice);

    // A port outside 1 to 16 has no item; the list then starts at Comm 1.
    const int current = m_state.intCommPort - 1;
    cmbPort->setCurrentIndex(current >= 0 && current < kCommPortCount ? current : 0);
    showDevice();
}

void CommPortDialog::showDevice()
{
    QString text = commPortDescription(cmbPort->currentIndex() + 1);
    if (!m_state.portOverride.isEmpty())
        text += QStringLiteral("\nThis run listens on %1 until a port is applied.").arg(m_state.portOverride);
    lblDevice->setText(text);
}

void CommPortDialog::apply()
{
    QString error;
    if (!applyCommPort(m_state, m_receiver, cmbPort->currentIndex() + 1, &error))
        m_prompts.inform(settingsWriteFailureMessage(m_state.dataDir, error),
                         Prompts::Icon::Warning);
    close();
}

} // namespace gt
