#include "CommPortDialog.h"

#include "Menus.h"
#include "NamedWidgets.h"
#include "PortChoice.h"
#include "PortNames.h"
#include "Prompts.h"
#include "Receiver.h"
#include "State.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace gt {

CommPortDialog::CommPortDialog(GatetallyState &state, Receiver &receiver, Prompts &prompts,
                               const QString &adapterFolder, QWidget *parent)
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

    cmbAdapter = new QComboBox(central);
    cmbAdapter->setObjectName(QStringLiteral("cmbAdapter"));
    cmbAdapter->setToolTip(QStringLiteral("A USB serial adapter, by the name that stays the same when it is plugged in again"));
    cmbAdapter->addItem(QStringLiteral("No adapter: the Comm port above"));
    bool chosenListed = m_state.chosenAdapter.isEmpty();
    const QVector<SerialAdapter> adapters = listAdapters(adapterFolder);
    for (const SerialAdapter &a : adapters) {
        cmbAdapter->addItem(QStringLiteral("%1 (%2)").arg(QFileInfo(a.link).fileName(), a.device), a.link);
        chosenListed = chosenListed || a.link == m_state.chosenAdapter;
    }
    // The chosen adapter stays on the list while it is unplugged, so that
    // the dialog shows what the receiver waits for.
    if (!chosenListed)
        cmbAdapter->addItem(QStringLiteral("%1 (not plugged in)").arg(QFileInfo(m_state.chosenAdapter).fileName()),
                            m_state.chosenAdapter);

    lblDevice = new QLabel(central);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    lblDevice->setWordWrap(true);

    cmdCancel = namedButton(central, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"),
                            QStringLiteral("Does not change the Comm Port setting"));
    cmdApply = namedButton(central, QStringLiteral("cmdApply"), QStringLiteral("Apply"),
                           QStringLiteral("Enters the Comm Port selection"));
    cmdApply->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("Comm port:"), central));
    layout->addWidget(cmbPort);
    layout->addWidget(new QLabel(QStringLiteral("Serial adapter:"), central));
    layout->addWidget(cmbAdapter);
    layout->addWidget(lblDevice);
    layout->addLayout(buttons);

    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileClose = addFileClose(file, static_cast<QWidget *>(this), &QWidget::close);

    // Cancel, File > Close and the window's close control all leave
    // everything as it was; the navigator gives the main screen back.
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdApply, &QPushButton::clicked, this, &CommPortDialog::apply);
    connect(cmbPort, &QComboBox::currentIndexChanged, this, &CommPortDialog::showDevice);
    connect(cmbAdapter, &QComboBox::currentIndexChanged, this, &CommPortDialog::showDevice);

    // A port outside 1 to 16 has no item; the list then starts at Comm 1.
    const int current = m_state.intCommPort - 1;
    cmbPort->setCurrentIndex(current >= 0 && current < kCommPortCount ? current : 0);
    cmbAdapter->setCurrentIndex(qMax(0, cmbAdapter->findData(m_state.chosenAdapter)));
    showDevice();
}

void CommPortDialog::showDevice()
{
    const QString adapter = cmbAdapter->currentData().toString();
    // With an adapter chosen the Comm port is not used.
    cmbPort->setEnabled(adapter.isEmpty());
    QString text = adapter.isEmpty() ? commPortDescription(cmbPort->currentIndex() + 1) : adapterDescription(adapter);
    if (!m_state.portOverride.isEmpty())
        text += QStringLiteral("\nThis run listens on %1 until a port is applied.").arg(m_state.portOverride);
    lblDevice->setText(text);
}

void CommPortDialog::apply()
{
    const QString adapter = cmbAdapter->currentData().toString();
    const QStringList failures = adapter.isEmpty() ? applyCommPort(m_state, m_receiver, cmbPort->currentIndex() + 1)
                                                   : applyAdapter(m_state, m_receiver, adapter);
    for (const QString &failure : failures)
        m_prompts.inform(failure, Prompts::Icon::Warning);
    close();
}

} // namespace gt
