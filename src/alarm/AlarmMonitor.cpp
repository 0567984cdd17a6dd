#include "AlarmMonitor.h"

#include "AlarmSettingsFile.h"
#include "RowStatus.h"
#include "State.h"
#include "TextFile.h"

#include <QFileInfo>

namespace gt::alarm {

AlarmMonitor::AlarmMonitor(GatetallyState &state, QObject *parent) : QObject(parent), m_state(state)
{
    m_rule.setSettings(loadAlarmSettings(alarmsIniPath(state.dataDir), &m_problems));
    connect(&m_state.strRecords, &DisplayStore::taken, this, &AlarmMonitor::note);
    // What arrived before the main screen was made: on the display (where an
    // incorrect-data row shows no status) and waiting for room.
    const QStringList &shown = m_state.strRecords.displayLines();
    const QStringList &records = m_state.strRecords.recordLines();
    for (qsizetype row = 0; row < records.size(); ++row)
        note(records.at(row), displayLineStatus(shown.at(row)) == RowStatus::None);
    for (const DisplayStore::Held &h : m_state.strRecords.held())
        note(h.recordLine, h.incorrect);
}

void AlarmMonitor::note(const QString &recordLine, bool incorrect)
{
    // A copy shares the string: cheap, and safe from a Clear that comes
    // before the event loop gets to it.
    m_pending.emplace_back(recordLine, incorrect);
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &AlarmMonitor::process, Qt::QueuedConnection);
}

void AlarmMonitor::process()
{
    m_scheduled = false;
    std::vector<std::pair<QString, bool>> rows;
    rows.swap(m_pending);
    QStringList logLines;
    QStringList texts;
    for (const auto &[record, incorrect] : rows) {
        Refusal refusal;
        if (!readRefusal(record, incorrect, &refusal))
            continue;
        for (const Alarm &a : m_rule.take(refusal)) {
            const QString text = alarmText(a, m_state.strDisplayMode, m_state.strEntryNames);
            texts.append(text);
            logLines.append(alarmLogLine(a, text));
        }
    }
    if (texts.isEmpty())
        return;
    QString error;
    const QString log = alarmsLogPath(m_state.dataDir);
    if (!appendTextLines(log, logLines, &error))
        Q_EMIT problem(QStringLiteral("The alarm could not be written to %1: %2").arg(log, error));
    m_active.append(texts);
    for (const QString &t : std::as_const(texts))
        Q_EMIT raised(t);
    Q_EMIT activeChanged();
}

bool AlarmMonitor::applySettings(const AlarmSettings &settings, QString *error)
{
    if (!saveAlarmSettings(alarmsIniPath(m_state.dataDir), settings, error))
        return false;
    m_problems.clear();
    m_rule.setSettings(settings);
    if (!settings.enabled && !m_active.isEmpty()) {
        m_active.clear();
        Q_EMIT activeChanged();
    }
    return true;
}

void AlarmMonitor::acknowledge()
{
    if (m_active.isEmpty())
        return;
    m_active.clear();
    Q_EMIT activeChanged();
}

} // namespace gt::alarm
