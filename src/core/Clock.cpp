#include "Clock.h"

namespace gt {

QDateTime Clock::now() const
{
    return m_fixed.isValid() ? m_fixed : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDateTime &when) { m_fixed = when; }

void Clock::advance(qint64 seconds)
{
    if (m_fixed.isValid())
        m_fixed = m_fixed.addSecs(seconds);
}

void Clock::useSystemTime() { m_fixed = QDateTime(); }

QString formatDate(const QDate &date)
{
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString formatTime(const QTime &time)
{
    const int h = time.hour();
    const int h12 = (h % 12 == 0) ? 12 : h % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(h12)
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(h < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

} // namespace gt
