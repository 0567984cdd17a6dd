#include "FieldRules.h"

namespace gt::search {

namespace {
const QString kDigitKey = QStringLiteral("This entry must be a number from 0 through 9");
const QString kTwoDigits = QStringLiteral("This entry cannot be more than two digits");

int value(const QString &text)
{
    int v = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        v = v * 10 + (c.unicode() - '0');
        if (v > 1000000)
            return v;
    }
    return v;
}

FieldRule twoDigits(int maxValue, const QString &rangeMessage, bool refuseDoubleZero)
{
    FieldRule r;
    r.keyMessage = kDigitKey;
    r.maxLength = 2;
    r.lengthMessage = kTwoDigits;
    r.maxValue = maxValue;
    r.rangeMessage = rangeMessage;
    r.refuseDoubleZero = refuseDoubleZero;
    return r;
}
} // namespace

bool FieldRule::acceptsKey(QChar key) const
{
    if (key.unicode() < 0x20 || key.unicode() == 0x7f)
        return true;
    return !digitsOnly || (key >= QLatin1Char('0') && key <= QLatin1Char('9'));
}

bool FieldRule::acceptsText(const QString &text) const
{
    for (QChar c : text) {
        if (!acceptsKey(c) || c.unicode() < 0x20)
            return false;
    }
    return true;
}

QString FieldRule::changeProblem(const QString &text) const
{
    if (maxLength >= 0 && text.size() > maxLength)
        return lengthMessage;
    if (maxValue >= 0 && !text.isEmpty() && value(text) > maxValue)
        return rangeMessage;
    if (refuseDoubleZero && text.size() == 2 && value(text) == 0)
        return rangeMessage;
    if (refuseLoneZero && text == QLatin1String("0"))
        return zeroMessage;
    return QString();
}

FieldRule fieldRule(Field field, Twin twin)
{
    switch (field) {
    case Field::FromHour:
    case Field::ToHour:
    case Field::FromMonth:
    case Field::ToMonth:
        return twoDigits(12, QStringLiteral("This entry must be from 1 through 12"), true);
    case Field::FromMin:
    case Field::ToMin:
        return twoDigits(59, QStringLiteral("This entry must be from 00 through 59"), false);
    case Field::FromDay:
    case Field::ToDay:
        return twoDigits(31, QStringLiteral("This entry must be from 1 through 31"), true);
    case Field::FromYear:
    case Field::ToYear: {
        FieldRule r;
        r.keyMessage = kDigitKey;
        return r;
    }
    case Field::EntryPoint: {
        FieldRule r;
        r.keyMessage = QStringLiteral("This entry must be a number from 1 through 9");
        r.maxLength = 1;
        r.lengthMessage = QStringLiteral("This entry cannot be more than one digit");
        r.refuseLoneZero = true;
        r.zeroMessage = QStringLiteral("0 cannot be assigned as an entry point number");
        return r;
    }
    case Field::Facility: {
        FieldRule r;
        r.maxLength = 3;
        if (twin == Twin::Displayed) {
            r.digitsOnly = false;
            r.lengthMessage = QStringLiteral("This entry cannot be more than three characters");
        } else {
            r.keyMessage = kDigitKey;
            r.lengthMessage = QStringLiteral("This entry cannot be more than three digits");
        }
        return r;
    }
    case Field::CardKeyless: {
        FieldRule r;
        r.keyMessage = kDigitKey;
        r.maxLength = 6;
        r.lengthMessage = QStringLiteral("This entry cannot be more than six digits");
        return r;
    }
    case Field::Status:
    case Field::None:
        break;
    }
    FieldRule any;
    any.digitsOnly = false;
    return any;
}

QString fieldTooltip(Field field, Twin twin)
{
    switch (field) {
    case Field::FromMonth:
    case Field::ToMonth:
    case Field::FromHour:
    case Field::ToHour:
        return QStringLiteral("1 to 12");
    case Field::FromDay:
    case Field::ToDay:
        return QStringLiteral("1 to 31");
    case Field::FromYear:
    case Field::ToYear:
        return QStringLiteral("4 digit year");
    case Field::FromMin:
    case Field::ToMin:
        return QStringLiteral("0 to 59");
    case Field::EntryPoint:
        return QStringLiteral("1 to 100");
    case Field::Facility:
        return QStringLiteral("3 digit number");
    case Field::CardKeyless:
        return twin == Twin::Displayed ? QStringLiteral("5 digit number") : QStringLiteral("5 digit code");
    case Field::Status:
        return QStringLiteral("Type of entrance record");
    case Field::None:
        break;
    }
    return QString();
}

} // namespace gt::search
