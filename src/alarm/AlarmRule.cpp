#include "AlarmRule.h"

#include "Matching.h"
#include "RowStatus.h"

namespace gt::alarm {

bool readRefusal(const QString &recordLine, bool incorrect, Refusal *refusal)
{
    if (incorrect || recordLineStatus(recordLine) != RowStatus::Refused)
        return false;
    qint64 day;
    int second;
    if (!search::Matcher::readDate(recordLine, &day) || !search::Matcher::readTime(recordLine, &second))
        return false;
    refusal->when = QDateTime(QDate::fromJulianDay(day), QTime(0, 0).addSecs(second));
    refusal->entry = recordLine.at(kEntryColumn);
    refusal->facility = recordLine.mid(kFacilityColumn, kFacilityWidth);
    refusal->card = recordLine.mid(kCardColumn, kCardWidth);
    return true;
}

namespace {

QString entryName(QChar entry, DisplayMode mode, const QStringList &entryNames)
{
    const int n = entry.digitValue();
    if (mode == DisplayMode::Name && n >= 1 && n <= entryNames.size()) {
        const QString name = entryNames.at(n - 1).trimmed();
        if (!name.isEmpty())
            return name;
    }
    return QString(entry);
}

QString stampText(const QDateTime &when, const QDateTime &reference)
{
    const QString time = timeField(when.time()).trimmed();
    if (when.date() == reference.date())
        return time;
    return dateField(when.date()).trimmed() + QLatin1Char(' ') + time;
}

} // namespace

QString alarmText(const Alarm &alarm, DisplayMode mode, const QStringList &entryNames)
{
    const QString since = stampText(alarm.since, alarm.at);
    if (alarm.kind == Alarm::Kind::Entry)
        return QStringLiteral("Alarm: entry point %1 refused %2 times since %3")
            .arg(entryName(alarm.entry, mode, entryNames))
            .arg(alarm.count)
            .arg(since);
    QStringList at;
    for (QChar e : alarm.entries)
        at << entryName(e, mode, entryNames);
    return QStringLiteral("Alarm: card %1 (facility %2) refused %3 times since %4 at %5 %6")
        .arg(alarm.card.trimmed(), alarm.facility.trimmed())
        .arg(alarm.count)
        .arg(since, at.size() == 1 ? QStringLiteral("entry point") : QStringLiteral("entry points"),
             at.join(QStringLiteral(", ")));
}

QString alarmLogLine(const Alarm &alarm, const QString &text)
{
    return dateField(alarm.at.date()).trimmed() + QLatin1Char(' ') + timeField(alarm.at.time()).trimmed()
        + QStringLiteral("  ") + text;
}

void AlarmRule::setSettings(const AlarmSettings &settings)
{
    m_settings = settings;
    reset();
}

void AlarmRule::reset()
{
    m_cards.clear();
    m_entries.clear();
}

void AlarmRule::expire(std::deque<Refusal> &window, const QDateTime &now) const
{
    if (!window.empty() && window.back().when > now)
        window.clear();
    const qint64 span = qint64(m_settings.windowMinutes) * 60;
    while (!window.empty() && window.front().when.secsTo(now) > span)
        window.pop_front();
}

QList<Alarm> AlarmRule::take(const Refusal &refusal)
{
    QList<Alarm> raised;
    if (!m_settings.enabled)
        return raised;

    std::deque<Refusal> &card = m_cards[refusal.facility + QLatin1Char(' ') + refusal.card];
    expire(card, refusal.when);
    card.push_back(refusal);
    if (int(card.size()) >= m_settings.cardRefusals) {
        Alarm a;
        a.kind = Alarm::Kind::Card;
        a.facility = refusal.facility;
        a.card = refusal.card;
        for (const Refusal &r : card) {
            if (!a.entries.contains(r.entry))
                a.entries.append(r.entry);
        }
        a.count = int(card.size());
        a.since = card.front().when;
        a.at = refusal.when;
        raised.append(a);
        card.clear();
    }

    std::deque<Refusal> &entry = m_entries[refusal.entry];
    expire(entry, refusal.when);
    entry.push_back(refusal);
    if (int(entry.size()) >= m_settings.entryRefusals) {
        Alarm a;
        a.kind = Alarm::Kind::Entry;
        a.entry = refusal.entry;
        a.count = int(entry.size());
        a.since = entry.front().when;
        a.at = refusal.when;
        raised.append(a);
        entry.clear();
    }
    return raised;
}

} // namespace gt::alarm
