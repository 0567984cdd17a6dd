#pragma once

#include "AlarmRule.h"

#include <QDialog>
#include <QFrame>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace gt {

class Prompts;

namespace alarm {

class AlarmMonitor;

// The banner over the main list: the newest alarm not yet acknowledged, how
// many there are, and the button that acknowledges them all. Hidden while
// there is none. It only reads the monitor, so intake never waits on it.
class AlarmBanner : public QFrame
{
    Q_OBJECT
public:
    AlarmBanner(AlarmMonitor &monitor, QWidget *parent = nullptr);

    QLabel *lblAlert = nullptr;
    QPushButton *cmdAlertAck = nullptr;

    // The banner's text for these alarms, oldest first.
    static QString bannerText(const QStringList &active);

protected:
    void changeEvent(QEvent *event) override;

private:
    void update();
    void applyColours();

    AlarmMonitor &m_monitor;
};

// Setup > Alarms: the limits and the window, and the alarm turned off. Not
// modal: records keep arriving and the main screen stays in use.
class AlarmsDialog : public QDialog
{
    Q_OBJECT
public:
    AlarmsDialog(AlarmMonitor &monitor, Prompts &prompts, QWidget *parent = nullptr);

    QCheckBox *chkAlarmOn = nullptr;
    QSpinBox *txtCardRefusals = nullptr;
    QSpinBox *txtEntryRefusals = nullptr;
    QSpinBox *txtWindowMinutes = nullptr;
    QLabel *lblProblems = nullptr;
    QPushButton *cmdApply = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void apply();

    AlarmMonitor &m_monitor;
    Prompts &m_prompts;
};

} // namespace alarm
} // namespace gt
