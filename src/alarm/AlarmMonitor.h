#pragma once

#include "AlarmRule.h"

#include <QObject>
#include <QStringList>

#include <utility>
#include <vector>

namespace gt {

class GatetallyState;

namespace alarm {

// Watches the records as the receiver takes them and raises the alarms of
// the rule: each one is kept until acknowledged, told by a signal and
// appended to alarms.log. It never shows a box and never holds up intake:
// a record is only noted when it arrives, and the rule and the log run
// from the event loop afterwards.
class AlarmMonitor : public QObject
{
    Q_OBJECT
public:
    // Reads alarms.ini from the state's data folder and takes in the records
    // already taken (on the display and waiting for room).
    explicit AlarmMonitor(GatetallyState &state, QObject *parent = nullptr);

    const AlarmSettings &settings() const { return m_rule.settings(); }
    // What was wrong in alarms.ini when it was read.
    const QStringList &settingsProblems() const { return m_problems; }
    // Setup > Alarms: keeps them in alarms.ini and uses them from now on.
    bool applySettings(const AlarmSettings &settings, QString *error);

    // The texts of the alarms not yet acknowledged, oldest first.
    const QStringList &active() const { return m_active; }
    void acknowledge();

Q_SIGNALS:
    void raised(const QString &text);
    void activeChanged();
    // Something the operator must be told (alarms.log cannot be written).
    void problem(const QString &text);

private:
    void note(const QString &recordLine, bool incorrect);
    void process();

    GatetallyState &m_state;
    AlarmRule m_rule;
    QStringList m_problems;
    QStringList m_active;
    std::vector<std::pair<QString, bool>> m_pending; // record line, incorrect
    bool m_scheduled = false;
};

} // namespace alarm
} // namespace gt
