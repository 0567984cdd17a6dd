#include "CsvRecords.h"

#include "Matching.h"
#include "RecordLayout.h"

#include <QDate>

namespace gt::search {

namespace {

const QLatin1Char kComma(',');

// The date as YYYY-MM-DD; an unreadable one as it stands.
QString isoDate(const QString &line)
{
    qint64 day;
    if (!Matcher::readDate(line, &day))
        return line.mid(kDateColumn, kDateWidth).trimmed();
    return QDate::fromJulianDay(day).toString(Qt::ISODate);
}

// The time as HH:MM:SS on the 24-hour clock; an unreadable one as it stands.
QString time24(const QString &line)
{
    int second;
    if (!Matcher::readTime(line, &second))
        return line.mid(kTimeColumn, kTimeWidth).trimmed();
    return QStringLiteral("%1:%2:%3")
        .arg(second / 3600, 2, 10, QLatin1Char('0'))
        .arg(second / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(second % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString csvField(const QString &text)
{
    for (QChar c : text) {
        if (c == kComma || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            QString quoted = text;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    }
    return text;
}

QString csvHeaderRow(CsvColumns columns)
{
    QStringList names;
    if (columns.file)
        names << QStringLiteral("file");
    names << QStringLiteral("date") << QStringLiteral("time") << QStringLiteral("entry");
    if (columns.entryName)
        names << QStringLiteral("entry_name");
    names << QStringLiteral("status") << QStringLiteral("facility") << QStringLiteral("card");
    return names.join(kComma);
}

QString csvRecordRow(const QString &line, CsvColumns columns, const QString &file, const QStringList &entryNames)
{
    // The status word is as long as it is ("X" alone for a status character
    // the panel has no word for, and the line is that much shorter), so the
    // fields after it are read from the end of the line.
    const qsizetype cardColumn = qMax<qsizetype>(0, line.size() - kCardWidth);
    const qsizetype facilityColumn = qMax<qsizetype>(0, cardColumn - kGapWidth - kFacilityWidth);
    const QChar entry = line.size() > kEntryColumn ? line.at(kEntryColumn) : QLatin1Char(' ');

    QStringList fields;
    if (columns.file)
        fields << file;
    fields << isoDate(line) << time24(line) << QString(entry).trimmed();
    if (columns.entryName) {
        // Entry points 1 to 9 have names; any other character has none.
        const int index = entry >= QLatin1Char('1') && entry <= QLatin1Char('9') ? entry.unicode() - '1' : -1;
        fields << (index >= 0 ? entryNames.value(index) : QString());
    }
    fields << line.mid(kStatusColumn, qMax<qsizetype>(0, facilityColumn - kStatusColumn)).trimmed()
           << line.mid(facilityColumn, kFacilityWidth).trimmed() << line.mid(cardColumn).trimmed();

    for (QString &f : fields)
        f = csvField(f);
    return fields.join(kComma);
}

} // namespace gt::search
