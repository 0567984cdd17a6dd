#include "AlarmWidgets.h"

#include "AlarmMonitor.h"
#include "AlarmSettingsFile.h"
#include "NamedWidgets.h"
#include "Prompts.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace gt::alarm {

AlarmBanner::AlarmBanner(AlarmMonitor &monitor, QWidget *parent) : QFrame(parent), m_monitor(monitor)
{
    setObjectName(QStringLiteral("fraAlert"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    lblAlert = namedLabel(this, QStringLiteral("lblAlert"), QString());
    lblAlert->setWordWrap(true);
    lblAlert->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = lblAlert->font();
    bold.setBold(true);
    lblAlert->setFont(bold);
    cmdAlertAck = namedButton(this, QStringLiteral("cmdAlertAck"), QStringLiteral("Acknowledge"),
                              QStringLiteral("Acknowledges the alarms and hides this banner"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 4, 4);
    layout->addWidget(lblAlert, 1);
    layout->addWidget(cmdAlertAck, 0, Qt::AlignVCenter);
    connect(cmdAlertAck, &QPushButton::clicked, &m_monitor, &AlarmMonitor::acknowledge);
    connect(&m_monitor, &AlarmMonitor::activeChanged, this, &AlarmBanner::update);
    applyColours();
    update();
}

QString AlarmBanner::bannerText(const QStringList &active)
{
    if (active.isEmpty())
        return QString();
    if (active.size() == 1)
        return active.last();
    return QStringLiteral("%1  (%2 alarms not acknowledged)").arg(active.last()).arg(active.size());
}

void AlarmBanner::update()
{
    lblAlert->setText(bannerText(m_monitor.active()));
    setVisible(!m_monitor.active().isEmpty());
}

void AlarmBanner::applyColours()
{
    // A strong band on either palette: dark red with white text on a light
    // one, a lighter red with black text on a dark one.
    const bool dark = parentWidget() ? parentWidget()->palette().color(QPalette::Window).lightness() < 128
                                     : palette().color(QPalette::Window).lightness() < 128;
    QPalette p = palette();
    p.setColor(QPalette::Window, dark ? QColor(0xff, 0x8a, 0x80) : QColor(0xa0, 0x10, 0x10));
    p.setColor(QPalette::WindowText, dark ? Qt::black : Qt::white);
    setPalette(p);
    lblAlert->setPalette(p);
}

void AlarmBanner::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        applyColours();
    QFrame::changeEvent(event);
}

namespace {

QSpinBox *namedSpin(QWidget *parent, const QString &name, int max, const QString &tip)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(1, max);
    box->setToolTip(tip);
    return box;
}

} // namespace

AlarmsDialog::AlarmsDialog(AlarmMonitor &monitor, Prompts &prompts, QWidget *parent)
    : QDialog(parent), m_monitor(monitor), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmAlarms"));
    setWindowTitle(QStringLiteral("Alarms"));
    chkAlarmOn = new QCheckBox(QStringLiteral("Alarm on repeated refusals"), this);
    chkAlarmOn->setObjectName(QStringLiteral("chkAlarmOn"));
    txtCardRefusals = namedSpin(this, QStringLiteral("txtCardRefusals"), kMaxRefusals,
                                QStringLiteral("Refusals of one card that raise the alarm"));
    txtEntryRefusals = namedSpin(this, QStringLiteral("txtEntryRefusals"), kMaxRefusals,
                                 QStringLiteral("Refusals at one entry point that raise the alarm"));
    txtWindowMinutes = namedSpin(this, QStringLiteral("txtWindowMinutes"), kMaxWindowMinutes,
                                 QStringLiteral("Within how many minutes the refusals are counted"));
    txtWindowMinutes->setSuffix(QStringLiteral(" min"));
    lblProblems = namedLabel(this, QStringLiteral("lblProblems"), monitor.settingsProblems().join(QLatin1Char('\n')));
    lblProblems->setWordWrap(true);
    lblProblems->setVisible(!monitor.settingsProblems().isEmpty());
    cmdApply = namedButton(this, QStringLiteral("cmdApply"), QStringLiteral("Apply"),
                           QStringLiteral("Keeps these settings in alarms.ini"));
    cmdCancel = namedButton(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"),
                            QStringLiteral("Closes without changing the settings"));
    cmdApply->setDefault(true);

    const AlarmSettings &s = monitor.settings();
    chkAlarmOn->setChecked(s.enabled);
    txtCardRefusals->setValue(s.cardRefusals);
    txtEntryRefusals->setValue(s.entryRefusals);
    txtWindowMinutes->setValue(s.windowMinutes);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Refusals of one card:"), txtCardRefusals);
    form->addRow(QStringLiteral("Refusals at one entry point:"), txtEntryRefusals);
    form->addRow(QStringLiteral("Within:"), txtWindowMinutes);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdCancel);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(chkAlarmOn);
    outer->addLayout(form);
    outer->addWidget(lblProblems);
    outer->addLayout(buttons);
    for (QSpinBox *box : {txtCardRefusals, txtEntryRefusals, txtWindowMinutes})
        connect(chkAlarmOn, &QCheckBox::toggled, box, &QWidget::setEnabled);
    for (QSpinBox *box : {txtCardRefusals, txtEntryRefusals, txtWindowMinutes})
        box->setEnabled(s.enabled);
    connect(cmdApply, &QPushButton::clicked, this, &AlarmsDialog::apply);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AlarmsDialog::apply()
{
    AlarmSettings s;
    s.enabled = chkAlarmOn->isChecked();
    s.cardRefusals = txtCardRefusals->value();
    s.entryRefusals = txtEntryRefusals->value();
    s.windowMinutes = txtWindowMinutes->value();
    QString error;
    if (!m_monitor.applySettings(s, &error)) {
        m_prompts.inform(error, Prompts::Icon::Warning);
        return;
    }
    accept();
}

} // namespace gt::alarm
