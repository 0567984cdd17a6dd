#include "CsvRecords.h"

#include "Matching.h"
#include "RecordLayout.h"

#include <QDate>

namespace gt::search {

namespace {

const QLatin1Char kComma(',');

bool needsQuotes(QStringView text)
{
    for (QChar c : text) {
        if (c == kComma || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    }
    return false;
}

// A number as it stands (a sign, digits, at most one point): a spreadsheet
// reads it as that number and nothing more.
bool isNumber(QStringView text)
{
    qsizetype i = text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')) ? 1 : 0;
    bool digit = false, point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('.') && !point)
            point = true;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = true;
        else
            return false;
    }
    return digit;
}

// A spreadsheet takes a cell that begins with one of these as a formula (a
// tab or carriage return first hides one): an entry point's name such as
// "=HYPERLINK(...)" would run when the file is opened. Such a cell gets a
// leading apostrophe, which shows it as the text it is. Numbers stay as
// they are.
bool mayRunAsFormula(QStringView text)
{
    if (text.isEmpty() || isNumber(text))
        return false;
    const QChar c = text.front();
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('@')
        || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

// One field and the comma after it. Rows are built in place, field by field,
// because a search may write tens of thousands of them.
void appendField(QString &row, QStringView text)
{
    const bool quoted = needsQuotes(text);
    if (quoted)
        row += QLatin1Char('"');
    if (mayRunAsFormula(text))
        row += QLatin1Char('\'');
    if (quoted) {
        for (QChar c : text) {
            if (c == QLatin1Char('"'))
                row += c;
            row += c;
        }
        row += QLatin1Char('"');
    } else {
        row += text;
    }
    row += kComma;
}

// A number with leading zeros to `width` digits.
void appendNumber(QString &row, int value, int width)
{
    char digits[12];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 11);
    for (int i = n; i < width; ++i)
        row += QLatin1Char('0');
    while (n > 0)
        row += QLatin1Char(digits[--n]);
}

// The date as YYYY-MM-DD; an unreadable one as it stands.
void appendDate(QString &row, const QString &line)
{
    qint64 day;
    if (!Matcher::readDate(line, &day)) {
        appendField(row, QStringView(line).mid(kDateColumn, kDateWidth).trimmed());
        return;
    }
    const QDate date = QDate::fromJulianDay(day);
    appendNumber(row, date.year(), 4);
    row += QLatin1Char('-');
    appendNumber(row, date.month(), 2);
    row += QLatin1Char('-');
    appendNumber(row, date.day(), 2);
    row += kComma;
}

// The time as HH:MM:SS on the 24-hour clock; an unreadable one as it stands.
void appendTime(QString &row, const QString &line)
{
    int second;
    if (!Matcher::readTime(line, &second)) {
        appendField(row, QStringView(line).mid(kTimeColumn, kTimeWidth).trimmed());
        return;
    }
    appendNumber(row, second / 3600, 2);
    row += QLatin1Char(':');
    appendNumber(row, second / 60 % 60, 2);
    row += QLatin1Char(':');
    appendNumber(row, second % 60, 2);
    row += kComma;
}

} // namespace

QString csvField(const QString &text)
{
    QString field;
    appendField(field, text);
    field.chop(1);
    return field;
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
    const QStringView text(line);
    const qsizetype cardColumn = qMax<qsizetype>(0, text.size() - kCardWidth);
    const qsizetype facilityColumn = qMax<qsizetype>(0, cardColumn - kGapWidth - kFacilityWidth);
    const QChar entry = text.size() > kEntryColumn ? text.at(kEntryColumn) : QLatin1Char(' ');

    QString row;
    row.reserve(file.size() + kRecordLineLength + 16);
    if (columns.file)
        appendField(row, file);
    appendDate(row, line);
    appendTime(row, line);
    appendField(row, QStringView(&entry, 1).trimmed());
    if (columns.entryName) {
        // Entry points 1 to 9 have names; any other character has none.
        const int index = entry >= QLatin1Char('1') && entry <= QLatin1Char('9') ? entry.unicode() - '1' : -1;
        appendField(row, index >= 0 && index < entryNames.size() ? QStringView(entryNames.at(index)) : QStringView());
    }
    appendField(row, text.mid(kStatusColumn, qMax<qsizetype>(0, facilityColumn - kStatusColumn)).trimmed());
    appendField(row, text.mid(facilityColumn, kFacilityWidth).trimmed());
    appendField(row, text.mid(cardColumn).trimmed());
    row.chop(1); // the comma after the last field
    return row;
}

} // namespace gt::search
