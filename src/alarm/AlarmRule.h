#pragma once

#include "RecordLine.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

namespace gt::alarm {

// What the operator chose in Setup > Alarms (alarms.ini).
struct AlarmSettings
{
    bool enabled = true;
    int cardRefusals = 3;  // one card refused this many times ...
    int entryRefusals = 5; // ... or one entry point refusing this many times ...
    int windowMinutes = 5; // ... within this many minutes raises an alarm

    bool operator==(const AlarmSettings &o) const
    {
        return enabled == o.enabled && cardRefusals == o.cardRefusals && entryRefusals == o.entryRefusals
            && windowMinutes == o.windowMinutes;
    }
};

// One NOT VALID record, as the rule needs it.
struct Refusal
{
    QDateTime when;
    QChar entry;
    QString facility;
    QString card;
};

// A refusal read from a record line; false for any other record (valid,
// off, one made of a message of the wrong length, a line whose stamp cannot
// be read).
bool readRefusal(const QString &recordLine, bool incorrect, Refusal *refusal);

struct Alarm
{
    enum class Kind { Card, Entry };
    Kind kind = Kind::Card;
    QString facility, card; // Card
    QChar entry;            // Entry
    QList<QChar> entries;   // Card: the entry points it was refused at, in order of first refusal
    int count = 0;
    QDateTime since;        // the first refusal counted
    QDateTime at;           // the refusal that raised it
};

// The alarm as one line for the banner, the status area and the log. Entry
// points are named as the display names them at this moment.
QString alarmText(const Alarm &alarm, DisplayMode mode, const QStringList &entryNames);

// The line alarms.log keeps for an alarm: when it was raised, then its text.
QString alarmLogLine(const Alarm &alarm, const QString &text);

// Counts refusals per card and per entry point over a sliding window and
// says when one reaches its limit. Fed in arrival order. Once an alarm is
// raised, that card's (or entry point's) count starts again from nothing, so
// the next alarm for it needs as many fresh refusals.
class AlarmRule
{
public:
    explicit AlarmRule(const AlarmSettings &settings = AlarmSettings()) : m_settings(settings) {}

    const AlarmSettings &settings() const { return m_settings; }
    // New limits start the counts again.
    void setSettings(const AlarmSettings &settings);

    // The alarms this refusal raises: none, one, or a card's and an entry
    // point's together.
    QList<Alarm> take(const Refusal &refusal);
    // Forgets every count.
    void reset();

private:
    // Drops what fell out of the window before `now`; a clock set back
    // makes the older refusals meaningless, so they go too.
    void expire(std::deque<Refusal> &window, const QDateTime &now) const;

    AlarmSettings m_settings;
    QHash<QString, std::deque<Refusal>> m_cards;
    QHash<QChar, std::deque<Refusal>> m_entries;
};

} // namespace gt::alarm
