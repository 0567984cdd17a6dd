#include "NameRules.h"

#include "Settings.h"
#include "State.h"
#include "WriteFailure.h"

#include <QLocale>
#include <cmath>

namespace gt::names {

QString upperLimitMessage() { return QStringLiteral("UpperLimit!"); }
QString lowerLimitMessage() { return QStringLiteral("Lower Limit!"); }
QString tooHighMessage() { return QStringLiteral("Only 100 entrances allowed!"); }
QString invalidMessage() { return QStringLiteral("Invalid Entrance Number!"); }
QString tooLongMessage() { return QStringLiteral("Name Too Long!"); }
QString unstorableMessage()
{
    return QStringLiteral("An entry point name can only hold characters of the Latin-1 character set;\r\n"
                          "the others were left out.");
}

QString fileProblemMessage(const QString &dataDir, const QString &reason)
{
    return QStringLiteral("File Problem!\r\n") + settingsWriteFailureMessage(dataDir, reason);
}

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Appends the digits at `i` to `out`; returns how many there were.
int takeDigits(const QString &s, int &i, QString &out)
{
    int n = 0;
    for (; i < s.size() && isDigit(s.at(i)); ++i, ++n)
        out += s.at(i);
    return n;
}

// The whole number nearest to x, a half going to the even neighbour.
int roundHalfEven(double x)
{
    double whole = std::floor(x);
    const double fraction = x - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return int(whole);
}

QString numberText(double v) { return QString::number(v, 'g', 15); }

bool storable(QChar c)
{
    const char16_t u = c.unicode();
    return u <= 0xFF && u >= 0x20 && !(u >= 0x7F && u <= 0x9F);
}

} // namespace

double leadingNumber(const QString &text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c))
            s += c;
    }
    QString number;
    int i = 0;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        number += s.at(i++);
    int digits = takeDigits(s, i, number);
    if (i < s.size() && s.at(i) == QLatin1Char('.')) {
        number += s.at(i++);
        digits += takeDigits(s, i, number);
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it.
    if (i < s.size() && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
        int j = i + 1;
        QString exponent(QLatin1Char('e'));
        if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
            exponent += s.at(j++);
        if (takeDigits(s, j, exponent) > 0)
            number += exponent;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(number, &ok);
    // Too large a number comes back as infinity, too small a one as 0.
    return ok || std::isinf(v) ? v : 0.0;
}

QString NumberReading::message() const
{
    switch (kind) {
    case TooHigh: return tooHighMessage();
    case Invalid: return invalidMessage();
    case Empty:
    case EntryPoint: break;
    }
    return QString();
}

NumberReading readNumber(const QString &text)
{
    NumberReading r;
    if (text.isEmpty())
        return r;
    r.value = leadingNumber(text);
    if (r.value > kEntryPoints) {
        r.kind = NumberReading::TooHigh;
    } else if (r.value < 0.5) {
        // 0, text that is not a number, and anything whose row would lie
        // below the first entry point.
        r.kind = NumberReading::Invalid;
    } else {
        r.kind = NumberReading::EntryPoint;
        r.row = roundHalfEven(r.value - 1.0);
    }
    return r;
}

Step stepUp(const QString &numberText_)
{
    const double v = leadingNumber(numberText_);
    if (v == kEntryPoints)
        return {QString(), upperLimitMessage()};
    return {numberText(v + 1), QString()};
}

Step stepDown(const QString &numberText_)
{
    const double v = leadingNumber(numberText_);
    if (v == 1)
        return {QString(), lowerLimitMessage()};
    return {numberText(v - 1), QString()};
}

QString nextAfterApply(const QString &numberText_)
{
    const double v = leadingNumber(numberText_);
    return v < kEntryPoints ? numberText(v + 1) : numberText_;
}

NameFit fitName(const QString &text)
{
    NameFit fit;
    fit.text.reserve(text.size());
    for (QChar c : text) {
        if (storable(c))
            fit.text += c;
    }
    // One message per change: the box takes the fitted text, which is a
    // change of its own, so a text both refused and too long shows the two
    // messages in turn.
    if (fit.text.size() != text.size()) {
        fit.message = unstorableMessage();
    } else if (fit.text.size() > kNameLength) {
        fit.message = tooLongMessage();
        fit.text.truncate(kNameLength);
    }
    return fit;
}

bool storeName(GatetallyState &state, int row, const QString &name, QString *message)
{
    if (row < 0 || row >= kEntryPoints)
        return false;
    state.strEntryNames[row] = name;
    QString reason;
    if (rewriteSettings(state, SettingsChange{}, &reason))
        return true;
    if (message)
        *message = fileProblemMessage(state.dataDir, reason);
    return false;
}

} // namespace gt::names
