#include "SearchCriteria.h"

#include <QDate>

namespace gt::search {

namespace {

const QString kAM = QStringLiteral("AM");
const QString kPM = QStringLiteral("PM");

// The value of a text made only of digits, or -1 when it is empty, has
// anything else in it, or is too long to mean a date or time part.
int digitsValue(const QString &text)
{
    if (text.isEmpty() || text.size() > 4)
        return -1;
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

bool validMonth(const QString &month)
{
    const int m = digitsValue(month);
    return m >= 1 && m <= 12;
}

bool validYear(const QString &year) { return year.size() == 4 && digitsValue(year) >= 1; }

// A day is judged against its year when the year can be read; otherwise the
// longest that month can be, and the year check that follows has its say.
bool validDay(const QString &day, const QString &month, const QString &year)
{
    const int d = digitsValue(day);
    if (d < 1 || !validMonth(month))
        return d >= 1 && d <= 31;
    const int y = validYear(year) ? digitsValue(year) : 2000;
    return QDate::isValid(y, digitsValue(month), d);
}

bool validClock(const QString &hour, const QString &minute)
{
    const int h = digitsValue(hour);
    const int m = digitsValue(minute);
    return h >= 1 && h <= 12 && m >= 0 && m <= 59;
}

qint64 julianDay(const QString &month, const QString &day, const QString &year)
{
    return QDate(digitsValue(year), digitsValue(month), digitsValue(day)).toJulianDay();
}

// One failed check: its message, and the focus it asks for.
struct Stop
{
    QString message;
    Field focus = Field::None;
};

// One row of a screen (From or To) and the messages that name its fields.
struct Row
{
    QString &month, &day, &year, &hour, &minute;
    bool from;

    Stop hourMissing() const
    {
        return from ? Stop{msg::startingHour(), Field::FromHour} : Stop{msg::endingHour(), Field::ToHour};
    }

    // An hour without minutes means the full hour; one minute digit is padded.
    void completeMinute()
    {
        if (!hour.isEmpty() && minute.isEmpty())
            minute = QStringLiteral("00");
        if (minute.size() == 1)
            minute.prepend(QLatin1Char('0'));
    }

    // Month, day and year must make a real date; a bad year is emptied.
    Stop checkDate()
    {
        if (!validMonth(month))
            return from ? Stop{msg::startingMonth(), Field::FromMonth} : Stop{msg::endingMonth(), Field::ToMonth};
        if (!validDay(day, month, year))
            return from ? Stop{msg::startingDay(), Field::FromDay} : Stop{msg::endingDay(), Field::ToDay};
        if (!validYear(year)) {
            year.clear();
            return from ? Stop{msg::startingYear(), Field::FromYear} : Stop{msg::endingYear(), Field::ToYear};
        }
        return {};
    }

    // A time that cannot be on a 12-hour clock has no sensible reading.
    bool badClock() const { return !hour.isEmpty() && !validClock(hour, minute); }
};

Row fromRow(Entries &e) { return {e.fromMonth, e.fromDay, e.fromYear, e.fromHour, e.fromMin, true}; }
Row toRow(Entries &e) { return {e.toMonth, e.toDay, e.toYear, e.toHour, e.toMin, false}; }

// The completeness checks of the displayed-records screen, which always
// wants both dates.
Stop checkDisplayedRows(Entries &e)
{
    Row from = fromRow(e), to = toRow(e);
    if (!from.minute.isEmpty() && from.hour.isEmpty())
        return from.hourMissing();
    if (!to.minute.isEmpty() && to.hour.isEmpty())
        return to.hourMissing();
    from.completeMinute();
    to.completeMinute();
    for (Row *row : {&from, &to}) {
        const Stop stop = row->checkDate();
        if (!stop.message.isEmpty())
            return stop;
    }
    // A bad hour, or a range with only one end timed, asks for that row's hour.
    if (from.badClock() || (from.hour.isEmpty() && !to.hour.isEmpty()))
        return from.hourMissing();
    if (to.badClock() || (to.hour.isEmpty() && !from.hour.isEmpty()))
        return to.hourMissing();
    return {};
}

// The stored-file screen presets the years, so it only checks the rows when
// the operator has started on the From row; then it wants both ends timed.
Stop checkStoredRows(Entries &e)
{
    Row from = fromRow(e), to = toRow(e);
    if (from.hour.isEmpty() && from.minute.isEmpty() && from.month.isEmpty() && from.day.isEmpty()) {
        // A To time alone would be a range without a start.
        if (!to.hour.isEmpty() || !to.minute.isEmpty())
            return from.hourMissing();
        return {};
    }
    for (Row *row : {&from, &to}) {
        if (row->hour.isEmpty())
            return row->hourMissing();
        row->completeMinute();
        const Stop stop = row->checkDate();
        if (!stop.message.isEmpty())
            return stop;
    }
    if (from.badClock())
        return from.hourMissing();
    if (to.badClock())
        return to.hourMissing();
    return {};
}

QString dateText(const QString &month, const QString &day, const QString &year)
{
    return month + QLatin1Char('/') + day + QLatin1Char('/') + year;
}

} // namespace

namespace msg {
QString facilityDigits() { return QStringLiteral("Please enter three digits for the facility code"); }
QString startingHour() { return QStringLiteral("Please enter the starting hour for this search"); }
QString endingHour() { return QStringLiteral("Please enter the ending hour for this search"); }
QString startingMonth() { return QStringLiteral("Please enter the starting month for this search"); }
QString endingMonth() { return QStringLiteral("Please enter the ending month for this search"); }
QString startingDay() { return QStringLiteral("Please enter the starting day for this search"); }
QString endingDay() { return QStringLiteral("Please enter the ending day for this search"); }
QString startingYear() { return QStringLiteral("Please enter four digits for the starting year for this search"); }
QString endingYear() { return QStringLiteral("Please enter four digits for the ending year for this search"); }
QString enterCriteria() { return QStringLiteral("Please enter search criteria"); }
QString fromBeforeTo()
{
    return QStringLiteral("The time and date listed in the From row must be earlier than the time and date listed "
                          "in the To row");
}
} // namespace msg

const QList<Field> &textFields()
{
    static const QList<Field> fields{Field::FromMonth, Field::FromDay,    Field::FromYear,    Field::FromHour,
                                     Field::FromMin,   Field::ToMonth,    Field::ToDay,       Field::ToYear,
                                     Field::ToHour,    Field::ToMin,      Field::Facility,    Field::Status,
                                     Field::CardKeyless, Field::EntryPoint};
    return fields;
}

QString &Entries::text(Field field)
{
    return const_cast<QString &>(static_cast<const Entries *>(this)->text(field));
}

const QString &Entries::text(Field field) const
{
    switch (field) {
    case Field::FromMonth: return fromMonth;
    case Field::FromDay: return fromDay;
    case Field::FromYear: return fromYear;
    case Field::FromHour: return fromHour;
    case Field::FromMin: return fromMin;
    case Field::ToMonth: return toMonth;
    case Field::ToDay: return toDay;
    case Field::ToYear: return toYear;
    case Field::ToHour: return toHour;
    case Field::ToMin: return toMin;
    case Field::Facility: return facility;
    case Field::Status: return status;
    case Field::CardKeyless: return cardKeyless;
    case Field::EntryPoint: return entryPoint;
    case Field::None: break;
    }
    static const QString none;
    return none;
}

bool Entries::operator==(const Entries &other) const
{
    for (Field f : textFields()) {
        if (text(f) != other.text(f))
            return false;
    }
    return fromAM == other.fromAM && toAM == other.toAM;
}

Outcome checkSearch(Twin twin, const Entries &entries, const SearchCriteria &previous)
{
    Outcome out;
    out.entries = entries;
    out.criteria = previous;
    Entries &e = out.entries;
    SearchCriteria &c = out.criteria;

    // The details are recorded before any check, so a stopped search still
    // leaves them as typed.
    c.strCritEntryPoint = e.entryPoint;
    c.strCritStatus = e.status;
    c.strCritFacility = e.facility;
    c.strCritCardKeyless = e.cardKeyless;

    if (!e.facility.isEmpty() && e.facility.size() != 3) {
        e.facility.clear();
        out.message = msg::facilityDigits();
        out.focus = Field::Facility;
        return out;
    }

    const Stop rows = twin == Twin::Displayed ? checkDisplayedRows(e) : checkStoredRows(e);
    if (!rows.message.isEmpty()) {
        out.message = rows.message;
        out.focus = rows.focus;
        return out;
    }

    c.strFromDate = dateText(e.fromMonth, e.fromDay, e.fromYear);
    c.strToDate = dateText(e.toMonth, e.toDay, e.toYear);

    Matcher &m = out.matcher;
    m.card = e.cardKeyless;
    m.facility = e.facility;
    m.status = e.status;
    m.entryPoint = e.entryPoint;
    out.resultsReplaced = true;

    c.strFromAMPM = e.fromAM ? kAM : kPM;
    c.strToAMPM = e.toAM ? kAM : kPM;

    if (e.fromHour.isEmpty() && e.fromMin.isEmpty() && e.toHour.isEmpty() && e.toMin.isEmpty()) {
        c.strFromTime = c.strFromAMPM + QLatin1Char(' ') + c.strFromDate;
        c.strToTime = c.strToAMPM + QLatin1Char(' ') + c.strToDate;
        if (m.card.isEmpty() && m.facility.isEmpty() && m.status.isEmpty() && m.entryPoint.isEmpty())
            out.message = msg::enterCriteria();
        return out;
    }

    c.strFromTime = e.fromHour + QLatin1Char(':') + e.fromMin + QStringLiteral(":00 ") + c.strFromAMPM;
    c.strToTime = e.toHour + QLatin1Char(':') + e.toMin + QStringLiteral(":00 ") + c.strToAMPM;
    const qint64 fromDay = julianDay(e.fromMonth, e.fromDay, e.fromYear);
    const qint64 toDay = julianDay(e.toMonth, e.toDay, e.toYear);
    const int fromSecond = secondsOfDay(digitsValue(e.fromHour), digitsValue(e.fromMin), 0, !e.fromAM);
    const int toSecond = secondsOfDay(digitsValue(e.toHour), digitsValue(e.toMin), 0, !e.toAM);
    if (fromDay > toDay || (fromDay == toDay && fromSecond >= toSecond)) {
        out.message = msg::fromBeforeTo();
        out.focus = Field::FromHour;
        return out;
    }
    m.timed = true;
    m.fromDay = fromDay;
    m.toDay = toDay;
    m.fromSecond = fromSecond;
    m.toSecond = toSecond;
    return out;
}

Outcome runSearch(Twin twin, const Entries &entries, const SearchCriteria &previous, const QStringList &source)
{
    Outcome out = checkSearch(twin, entries, previous);
    // A search stopped by its last checks has already narrowed the lines by
    // the details; the lines are left that way, as the state shows.
    if (out.resultsReplaced)
        out.results = findMatches(out.matcher, source);
    return out;
}

Entries freshEntries(Twin twin, const QDate &today)
{
    Entries e;
    if (twin == Twin::Displayed) {
        e.fromMonth = e.toMonth = QString::number(today.month());
        e.fromDay = e.toDay = QString::number(today.day());
        e.fromYear = e.toYear = QString::number(today.year());
    } else {
        e.fromYear = e.toYear = QString::number(today.year());
    }
    return e;
}

namespace {
void restoreRow(const QString &time, const QString &ampm, const QString &date, QString &month, QString &day,
                QString &year, QString &hour, QString &minute, bool &am)
{
    if (!time.startsWith(kAM) && !time.startsWith(kPM)) {
        if (time.mid(2, 1) == QLatin1String(":")) {
            hour = time.left(2);
            minute = time.mid(3, 2);
        } else {
            hour = time.left(1);
            minute = time.mid(2, 2);
        }
    }
    am = ampm == kAM;
    year = date.right(4);
    switch (date.size()) {
    case 8:
        month = date.mid(0, 1);
        day = date.mid(2, 1);
        break;
    case 9:
        if (date.mid(2, 1) == QLatin1String("/")) {
            month = date.mid(0, 2);
            day = date.mid(3, 1);
        } else if (date.mid(1, 1) == QLatin1String("/")) {
            month = date.mid(0, 1);
            day = date.mid(2, 2);
        }
        break;
    case 10:
        month = date.mid(0, 2);
        day = date.mid(3, 2);
        break;
    default:
        break;
    }
}
} // namespace

Entries restoredEntries(const SearchCriteria &c)
{
    Entries e;
    restoreRow(c.strFromTime, c.strFromAMPM, c.strFromDate, e.fromMonth, e.fromDay, e.fromYear, e.fromHour, e.fromMin,
               e.fromAM);
    restoreRow(c.strToTime, c.strToAMPM, c.strToDate, e.toMonth, e.toDay, e.toYear, e.toHour, e.toMin, e.toAM);
    e.entryPoint = c.strCritEntryPoint;
    e.status = c.strCritStatus;
    e.facility = c.strCritFacility;
    e.cardKeyless = c.strCritCardKeyless;
    return e;
}

void forgetCriteria(SearchCriteria &c)
{
    c.strFromTime.clear();
    c.strToTime.clear();
    c.strFromAMPM.clear();
    c.strToAMPM.clear();
    c.strCritEntryPoint.clear();
    c.strCritStatus.clear();
    c.strCritFacility.clear();
    c.strCritCardKeyless.clear();
}

} // namespace gt::search
