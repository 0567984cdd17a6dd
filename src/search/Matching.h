#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace gt::search {

// What a search keeps a record line for. Built once by the checks, then
// applied to every line; it reads the fixed columns of the record line.
class Matcher
{
public:
    QString card, facility, status, entryPoint; // empty: not a criterion
    bool timed = false;
    qint64 fromDay = 0, toDay = 0;              // Julian day numbers
    int fromSecond = 0, toSecond = 0;           // seconds after midnight

    bool matches(const QString &line) const;
    // The same test on a line of 8-bit (Latin-1) text, without converting it.
    bool matches(const char *line, qsizetype length) const;

    // Bytes that every line this matcher keeps holds somewhere (the card
    // number as 8-bit text), so that a file scan may skip the lines without
    // them; empty when there is no such text.
    QByteArray requiredText() const;

    // The date column read as a Julian day; false when it is not a real date.
    static bool readDate(const QString &line, qint64 *day);
    // The time column read as seconds after midnight; false when it is not a
    // time of the 12-hour clock.
    static bool readTime(const QString &line, int *second);
};

// The record lines of a source that a matcher keeps, in source order.
QStringList findMatches(const Matcher &matcher, const QStringList &source);

// A time on the 12-hour clock as seconds after midnight: 12 AM is the first
// hour of the day, 12 PM the noon hour.
int secondsOfDay(int hour12, int minute, int second, bool pm);

} // namespace gt::search
