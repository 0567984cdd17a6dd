#pragma once

#include "RecordLine.h"
#include "SearchEngine.h"

#include <QDateTime>
#include <QStringList>

namespace gt::test {

// Entries written compactly as "key=value;key=value": fm fd fy fh fn (From
// month, day, year, hour, minute), tm td ty th tn (To), fac st card ep, and
// fpm / tpm for PM. Unnamed fields stay empty; AM is the default.
inline void applyEntries(search::Entries &e, const QString &spec)
{
    using search::Field;
    static const QList<QPair<QString, Field>> keys{
        {QStringLiteral("fm"), Field::FromMonth}, {QStringLiteral("fd"), Field::FromDay},
        {QStringLiteral("fy"), Field::FromYear},  {QStringLiteral("fh"), Field::FromHour},
        {QStringLiteral("fn"), Field::FromMin},   {QStringLiteral("tm"), Field::ToMonth},
        {QStringLiteral("td"), Field::ToDay},     {QStringLiteral("ty"), Field::ToYear},
        {QStringLiteral("th"), Field::ToHour},    {QStringLiteral("tn"), Field::ToMin},
        {QStringLiteral("fac"), Field::Facility}, {QStringLiteral("st"), Field::Status},
        {QStringLiteral("card"), Field::CardKeyless}, {QStringLiteral("ep"), Field::EntryPoint}};
    for (const QString &part : spec.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = part.section(QLatin1Char('='), 0, 0);
        const QString value = part.section(QLatin1Char('='), 1);
        if (key == QLatin1String("fpm")) {
            e.fromAM = false;
            continue;
        }
        if (key == QLatin1String("tpm")) {
            e.toAM = false;
            continue;
        }
        bool known = false;
        for (const auto &k : keys) {
            if (k.first == key) {
                e.text(k.second) = value;
                known = true;
            }
        }
        if (!known)
            qFatal("unknown entries key %s", qPrintable(key));
    }
}

inline search::Entries entries(const QString &spec)
{
    search::Entries e;
    applyEntries(e, spec);
    return e;
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
