#pragma once

#include "RecordLine.h"
#include "State.h"

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
