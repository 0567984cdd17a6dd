#pragma once

#include <QDateTime>
#include <QString>

namespace gt {

// The one place that asks the PC for the date and time. Tests pin it so that
// every stamped line can be compared byte for byte.
class Clock
{
public:
    QDateTime now() const;
    void setFixed(const QDateTime &when);
    void advance(qint64 seconds);
    void useSystemTime();
    bool isFixed() const { return m_fixed.isValid(); }

private:
    QDateTime m_fixed;
};

// "m/d/yyyy": no leading zeros, four-digit year.
QString formatDate(const QDate &date);
// "h:mm:ss AM": 12-hour clock, no leading zero on the hour. Built by hand so
// that the locale can never change the AM/PM words.
QString formatTime(const QTime &time);

} // namespace gt
