#include "AlarmMonitor.h"

#include "AlarmSettingsFile.h"
#include "State.h"
#include "TextFile.h"

#include <QFileInfo>

namespace gt::alarm {

AlarmMonitor::AlarmMonitor(GatetallyState &state, QObject *parent) : QObject(parent), m_state(state)
{
    m_rule.setSettings(loadAlarmSettings(alarmsIniPath(state.dataDir), &m_problems));
    connect(&m_state.strRecords, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { note(first, last); });
    if (m_state.strRecords.count() > 0)
        note(0, m_state.strRecords.count() - 1);
}

void AlarmMonitor::note(int first, int last)
{
    // Copies share the strings: cheap, and safe from a Clear that comes
    // before the event loop gets to them.
    const QStringList &shown = m_state.strRecords.displayLines();
    const QStringList &records = m_state.strRecords.recordLines();
    for (int row = first; row <= last; ++row)
        m_pending.emplace_back(shown.at(row), records.at(row));
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &AlarmMonitor::process, Qt::QueuedConnection);
}

void AlarmMonitor::process()
{
    m_scheduled = false;
    std::vector<std::pair<QString, QString>> rows;
    rows.swap(m_pending);
    QStringList logLines;
    QStringList texts;
    for (const auto &[shown, record] : rows) {
        Refusal refusal;
        if (!readRefusal(shown, record, &refusal))
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
