#include "Matching.h"

#include "RecordLayout.h"

#include <QDate>

namespace gt::search {

namespace {

// constData() rather than utf16(): the latter is out of line and may copy.
const char16_t *units(const QString &text) { return reinterpret_cast<const char16_t *>(text.constData()); }

bool isSpace(char16_t c) { return c == u' '; }
bool isSpace(char c) { return c == ' '; }
char16_t unit(char16_t c) { return c; }
char16_t unit(char c) { return char16_t(static_cast<unsigned char>(c)); }

// The columns [from, from + width) of a line, clipped to its length and with
// spaces trimmed at both ends.
template <typename Ch>
void trimmedSpan(const Ch *line, qsizetype length, qsizetype from, qsizetype width, qsizetype *b, qsizetype *e)
{
    *b = qMin(from, length);
    *e = qMin(from + width, length);
    while (*b < *e && isSpace(line[*b]))
        ++*b;
    while (*e > *b && isSpace(line[*e - 1]))
        --*e;
}

// Those columns compared with the criterion.
template <typename Ch>
bool columnEquals(const Ch *line, qsizetype length, qsizetype from, qsizetype width, const QString &criterion)
{
    qsizetype b, e;
    trimmedSpan(line, length, from, width, &b, &e);
    if (e - b != criterion.size())
        return false;
    const char16_t *c = units(criterion);
    for (qsizetype i = 0; b < e; ++b, ++i) {
        if (unit(line[b]) != c[i])
            return false;
    }
    return true;
}

// Reads up to `maxDigits` digits at line[*pos]; -1 when there are none.
template <typename Ch>
int readNumber(const Ch *p, qsizetype end, qsizetype *pos, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (*pos < end && digits < maxDigits && unit(p[*pos]) >= u'0' && unit(p[*pos]) <= u'9') {
        value = value * 10 + (unit(p[*pos]) - u'0');
        ++*pos;
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

// "m/d/yyyy" in the date columns.
template <typename Ch>
bool parseDate(const Ch *line, qsizetype length, qint64 *julian)
{
    qsizetype pos, end;
    trimmedSpan(line, length, kDateColumn, kDateWidth, &pos, &end);
    const int month = readNumber(line, end, &pos, 2);
    if (month < 0 || pos >= end || unit(line[pos]) != u'/')
        return false;
    ++pos;
    const int day = readNumber(line, end, &pos, 2);
    if (day < 0 || pos >= end || unit(line[pos]) != u'/')
        return false;
    ++pos;
    const qsizetype yearStart = pos;
    const int year = readNumber(line, end, &pos, 4);
    if (pos != end || pos - yearStart != 4 || !QDate::isValid(year, month, day))
        return false;
    *julian = QDate(year, month, day).toJulianDay();
    return true;
}

// "h:mm:ss AM" in the time columns.
template <typename Ch>
bool parseTime(const Ch *line, qsizetype length, int *second)
{
    qsizetype pos, end;
    trimmedSpan(line, length, kTimeColumn, kTimeWidth, &pos, &end);
    const int h = readNumber(line, end, &pos, 2);
    if (h < 1 || h > 12 || pos >= end || unit(line[pos]) != u':')
        return false;
    ++pos;
    qsizetype start = pos;
    const int m = readNumber(line, end, &pos, 2);
    if (pos - start != 2 || m > 59 || pos >= end || unit(line[pos]) != u':')
        return false;
    ++pos;
    start = pos;
    const int s = readNumber(line, end, &pos, 2);
    if (pos - start != 2 || s > 59 || end - pos != 3 || unit(line[pos]) != u' ' || unit(line[pos + 2]) != u'M')
        return false;
    const char16_t half = unit(line[pos + 1]);
    if (half != u'A' && half != u'P')
        return false;
    *second = secondsOfDay(h, m, s, half == u'P');
    return true;
}

template <typename Ch>
bool matchLine(const Matcher &m, const Ch *line, qsizetype length)
{
    if (length == 0)
        return false;
    if (!m.card.isEmpty()
        && !columnEquals(line, length, qMax<qsizetype>(0, length - kCardWidth), kCardWidth, m.card))
        return false;
    if (!m.facility.isEmpty() && !columnEquals(line, length, kFacilityColumn, kFacilityWidth, m.facility))
        return false;
    if (!m.status.isEmpty() && !columnEquals(line, length, kStatusColumn, kStatusWidth, m.status))
        return false;
    if (!m.entryPoint.isEmpty() && !columnEquals(line, length, kEntryColumn, kEntryWidth, m.entryPoint))
        return false;
    if (!m.timed)
        return true;
    qint64 day;
    if (!parseDate(line, length, &day) || day < m.fromDay || day > m.toDay)
        return false;
    // The time is read even on the days strictly inside the range, so that a
    // line whose time cannot be read is never taken for one in range.
    int second;
    if (!parseTime(line, length, &second))
        return false;
    if (day == m.fromDay && second < m.fromSecond)
        return false;
    if (day == m.toDay && second > m.toSecond)
        return false;
    return true;
}

} // namespace

int secondsOfDay(int hour12, int minute, int second, bool pm)
{
    return ((hour12 % 12) + (pm ? 12 : 0)) * 3600 + minute * 60 + second;
}

bool Matcher::matches(const QString &line) const
{
    return matchLine(*this, units(line), line.size());
}

bool Matcher::matches(const char *line, qsizetype length) const { return matchLine(*this, line, length); }

QByteArray Matcher::requiredText() const
{
    // A kept line's card column, trimmed, equals the card criterion, so the
    // line holds its bytes. A criterion that 8-bit text cannot hold, or one
    // that would reach across a line end, gives no such text.
    for (const QChar c : card) {
        if (c.unicode() > 0xff || c == QLatin1Char('\n'))
            return QByteArray();
    }
    return card.toLatin1();
}

bool Matcher::readDate(const QString &line, qint64 *day) { return parseDate(units(line), line.size(), day); }

bool Matcher::readTime(const QString &line, int *second) { return parseTime(units(line), line.size(), second); }

QStringList findMatches(const Matcher &matcher, const QStringList &source)
{
    QStringList kept;
    for (const QString &line : source) {
        if (matcher.matches(line))
            kept.append(line);
    }
    return kept;
}

} // namespace gt::search
