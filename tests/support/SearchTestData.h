#pragma once

#include "RecordLine.h"
#include "SearchCriteria.h"

#include <QDateTime>

namespace gt::test {

// The criteria record on one line, field by field, so that two compare and
// print whole when they differ.
inline QString criteriaText(const SearchCriteria &c)
{
    return QStringList{c.strCritEntryPoint, c.strCritStatus, c.strCritFacility, c.strCritCardKeyless, c.strFromTime,
                       c.strToTime, c.strFromAMPM, c.strToAMPM, c.strFromDate, c.strToDate}
        .join(QLatin1Char('|'));
}

// The From and To dates as typed into their month, day and year fields
// ("3/7/2006"; "//2006" leaves month and day empty), with the other fields.
inline search::Entries on(const QString &from, const QString &to, search::Entries e)
{
    const QStringList f = from.split(QLatin1Char('/')), t = to.split(QLatin1Char('/'));
    e.fromMonth = f.value(0), e.fromDay = f.value(1), e.fromYear = f.value(2);
    e.toMonth = t.value(0), e.toDay = t.value(1), e.toYear = t.value(2);
    return e;
}

// A screen's fields in their order, then the AM/PM choices, on one line.
inline QString entriesText(const search::Entries &e)
{
    QStringList out;
    for (search::Field f : search::textFields())
        out << e.text(f);
    return (out << (e.fromAM ? "AM" : "PM") << (e.toAM ? "AM" : "PM")).join(QLatin1Char(','));
}

// A record line as the receiver builds it from "3/7/2006 10:30:45 AM" and a
// panel message such as "1 V 123 012345".
inline QString recordAt(const QString &when, const QString &message)
{
    return buildRecordLine(message, QDateTime::fromString(when, QStringLiteral("M/d/yyyy h:mm:ss AP")));
}

} // namespace gt::test
