#include "ActivityCounts.h"

#include "Matching.h"
#include "RecordLayout.h"
#include "RecordLine.h"
#include "RecordSource.h"

namespace gt::activity {

void StatusCounts::add(RowStatus status)
{
    switch (status) {
    case RowStatus::Valid:
        ++valid;
        break;
    case RowStatus::Refused:
        ++notValid;
        break;
    case RowStatus::Off:
        ++off;
        break;
    case RowStatus::Unknown:
    case RowStatus::None:
        ++other;
        break;
    }
}

namespace {

qint64 hourOf(const QString &stamp)
{
    qint64 day;
    int second;
    if (!search::Matcher::readDate(stamp, &day) || !search::Matcher::readTime(stamp, &second))
        return -1;
    return day * 24 + second / 3600;
}

QDateTime startOfHour(qint64 hour)
{
    return QDateTime(QDate::fromJulianDay(hour / 24), QTime(int(hour % 24), 0));
}

} // namespace

void ActivityCounter::add(qint64 hour, QChar entry, RowStatus status)
{
    ++m_records;
    m_entries[entry].add(status);
    if (hour < 0)
        return;
    m_hours[hour].add(status);
    m_newest = qMax(m_newest, hour);
}

void ActivityCounter::add(const QString &recordLine, RowStatus status)
{
    add(hourOf(recordLine.left(kStampWidth)), recordLine.size() > kEntryColumn ? recordLine.at(kEntryColumn) : QChar(),
        status);
}

void ActivityCounter::add(const char *recordLine, qsizetype length)
{
    // Only the stamp becomes a string; the rest is read from the bytes.
    add(hourOf(QString::fromLatin1(recordLine, qMin<qsizetype>(length, kStampWidth))),
        length > kEntryColumn ? QChar::fromLatin1(recordLine[kEntryColumn]) : QChar(),
        recordBytesStatus(recordLine, length));
}

ActivityCounts ActivityCounter::result(const QDateTime &end) const
{
    ActivityCounts c;
    c.entries = m_entries;
    c.records = m_records;
    const qint64 last = end.isValid() ? end.date().toJulianDay() * 24 + end.time().hour() : m_newest;
    if (last < 0)
        return c;
    c.firstHour = startOfHour(last - 23);
    for (int i = 0; i < 24; ++i)
        c.hours[i] = m_hours.value(last - 23 + i);
    return c;
}

ActivityCounts countDisplay(const QStringList &recordLines, const QStringList &displayLines, const QDateTime &now)
{
    ActivityCounter counter;
    for (qsizetype i = 0; i < recordLines.size() && i < displayLines.size(); ++i) {
        const RowStatus status = displayLineStatus(displayLines.at(i));
        if (status != RowStatus::None)
            counter.add(recordLines.at(i), status);
    }
    return counter.result(now);
}

bool countFile(const QString &path, ActivityCounts *counts, QString *error)
{
    ActivityCounter counter;
    if (!search::scanRecordLines(path, [&](const char *line, qsizetype length) { counter.add(line, length); }, error))
        return false;
    *counts = counter.result();
    return true;
}

QStringList histogramText(const ActivityCounts &counts, Histogram kind)
{
    auto row = [](const QString &label, const StatusCounts &s) {
        return label.leftJustified(24) + QString::number(s.valid).rightJustified(7)
            + QString::number(s.notValid).rightJustified(11) + QString::number(s.off).rightJustified(7)
            + QString::number(s.other).rightJustified(7);
    };
    QStringList out;
    out << QStringLiteral("%1  VALID  NOT VALID    OFF  OTHER")
               .arg(kind == Histogram::Hour ? QStringLiteral("HOUR").leftJustified(22)
                                            : QStringLiteral("ENTRY POINT").leftJustified(22));
    if (kind == Histogram::Hour) {
        if (!counts.firstHour.isValid())
            return out;
        for (int i = 0; i < 24; ++i) {
            const QDateTime h = counts.firstHour.addSecs(3600 * i);
            out << row(dateField(h.date()).trimmed() + QLatin1Char(' ') + timeField(h.time()).trimmed(), counts.hours[i]);
        }
    } else {
        for (auto it = counts.entries.cbegin(); it != counts.entries.cend(); ++it)
            out << row(QString(it.key()), it.value());
    }
    return out;
}

} // namespace gt::activity
