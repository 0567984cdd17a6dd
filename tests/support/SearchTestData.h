#pragma once

#include "RecordLine.h"
#include "SearchCriteria.h"

#include <QDateTime>

namespace gt::test {

// Entries written compactly as "key=value;key=value": fm fd fy fh fn (From
// month, day, year, hour, minute), tm td ty th tn (To), fac st card ep, and
// fpm / tpm for PM. Unnamed fields stay empty; AM is the default.
inline void applyEntries(search::Entries &e, const QString &fields)
{
    // In the order of the fields on the screens.
    static const QStringList keys{"fm", "fd", "fy", "fh", "fn", "tm", "td", "ty", "th", "tn", "fac", "st", "card",
                                  "ep"};
    for (const QString &part : fields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = part.section(QLatin1Char('='), 0, 0);
        if (key == QLatin1String("fpm") || key == QLatin1String("tpm"))
            (key == QLatin1String("fpm") ? e.fromAM : e.toAM) = false;
        else if (keys.contains(key))
            e.text(search::textFields().at(keys.indexOf(key))) = part.section(QLatin1Char('='), 1);
        else
            qFatal("unknown entries key %s", qPrintable(key));
    }
}

inline search::Entries entries(const QString &fields)
{
    search::Entries e;
    applyEntries(e, fields);
    return e;
}

// The criteria record, field by field: details, times, AM/PM words, dates;
// written and read as "entry|status|facility|card|from time|to time|from
// AM/PM|to AM/PM|from date|to date".
inline QList<QString *> criteriaFields(SearchCriteria &c)
{
    return {&c.strCritEntryPoint, &c.strCritStatus, &c.strCritFacility,
            &c.strCritCardKeyless, &c.strFromTime, &c.strToTime, &c.strFromAMPM, &c.strToAMPM, &c.strFromDate,
            &c.strToDate};
}

inline QString criteriaText(SearchCriteria c)
{
    QStringList parts;
    for (const QString *part : criteriaFields(c))
        parts << *part;
    return parts.join(QLatin1Char('|'));
}

inline SearchCriteria criteriaFrom(const QString &text)
{
    SearchCriteria c;
    const QStringList parts = text.split(QLatin1Char('|'));
    const QList<QString *> fields = criteriaFields(c);
    for (int i = 0; i < fields.size(); ++i)
        *fields[i] = parts.value(i);
    return c;
}

// A record line as the receiver builds it: "3/7/2006 10:30:45 AM" with a
// panel message such as "1 V 123 012345".
inline QString recordAt(const QString &when, const QString &message)
{
    const QDateTime t = QDateTime::fromString(when, QStringLiteral("M/d/yyyy h:mm:ss AP"));
    if (!t.isValid())
        qFatal("bad time %s", qPrintable(when));
    return buildRecordLine(message, t);
}

} // namespace gt::test
