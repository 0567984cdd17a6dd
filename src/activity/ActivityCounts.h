#pragma once

#include "RowStatus.h"

#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

namespace gt::activity {

struct StatusCounts
{
    int valid = 0, notValid = 0, off = 0, other = 0;
    int total() const { return valid + notValid + off + other; }
    void add(RowStatus status);
    bool operator==(const StatusCounts &o) const
    {
        return valid == o.valid && notValid == o.notValid && off == o.off && other == o.other;
    }
};

// Records per hour over 24 clock hours and per entry point, each split by
// status. The hours end with the hour of `end` (the PC's clock for the
// display, the newest record for a stored file); the entry points count
// every record given.
struct ActivityCounts
{
    QDateTime firstHour;              // start of the oldest of the 24 hours
    std::array<StatusCounts, 24> hours{};
    QMap<QChar, StatusCounts> entries; // entry point character, in order
    int records = 0;                  // records counted
};

// Gathers counts from record lines, one at a time, in any order.
class ActivityCounter
{
public:
    // A record line and its status. Lines whose stamp cannot be read count
    // for their entry point but in no hour.
    void add(const QString &recordLine, RowStatus status);
    void add(const char *recordLine, qsizetype length);
    // The counts with the 24 hours ending with the hour of `end`; an invalid
    // `end` means the hour of the newest record.
    ActivityCounts result(const QDateTime &end = QDateTime()) const;

private:
    void add(qint64 hour, QChar entry, RowStatus status);

    QHash<qint64, StatusCounts> m_hours; // hours since the start of the Julian calendar
    QMap<QChar, StatusCounts> m_entries;
    qint64 m_newest = -1;
    int m_records = 0;
};

// The display as the live view counts it: the record lines of the rows,
// with the status the display line shows (an incorrect-data row is left out).
ActivityCounts countDisplay(const QStringList &recordLines, const QStringList &displayLines, const QDateTime &now);
// A stored records file, read as bytes; false with the reason in *error.
bool countFile(const QString &path, ActivityCounts *counts, QString *error);

// The text gatetally-search --histogram prints: a heading row, then one row
// an hour (oldest first) or an entry point.
enum class Histogram { Hour, Entry };
QStringList histogramText(const ActivityCounts &counts, Histogram kind);

} // namespace gt::activity
