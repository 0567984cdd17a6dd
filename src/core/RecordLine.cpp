#include "RecordLine.h"

#include "Clock.h"

namespace gt {

namespace {
const QString kBlank = QStringLiteral(" ");

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

// Leading digits of a text, as a number: "12AB" is 12, "DOOR" is 0.
int leadingValue(const QString &text)
{
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit() || c.unicode() > '9')
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 100000)
            break;
    }
    return value;
}
} // namespace

QString statusField(QChar statusChar)
{
    switch (statusChar.unicode()) {
    case 'V':
        return QStringLiteral("VALID    ");
    case 'N':
        return QStringLiteral("NOT VALID");
    case 'F':
        return QStringLiteral("OFF      ");
    default:
        return QString(statusChar);
    }
}

QString statusField(const QString &statusChar)
{
    return statusChar.isEmpty() ? QString() : statusField(statusChar.at(0));
}

QString dateField(const QDate &date) { return formatDate(date).rightJustified(kDateWidth, QLatin1Char(' ')); }

QString timeField(const QTime &time) { return formatTime(time).rightJustified(kTimeWidth, QLatin1Char(' ')); }

QString buildRecordLine(const QString &message, const QDateTime &when)
{
    QString msg = message.left(14);
    for (QChar &c : msg) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char('?');
    }
    QString line;
    line.reserve(kRecordLineLength);
    // The panel message: entry point, status, facility code and card number
    // at 0, 2, 4-6 and its last six characters.
    line += dateField(when.date());
    line += blanks(kTimeColumn - kDateColumn - kDateWidth);
    line += timeField(when.time());
    line += blanks(kGapWidth);
    line += msg.mid(0, kEntryWidth);
    line += blanks(kGapWidth);
    line += statusField(msg.mid(2, 1));
    line += blanks(kGapWidth);
    line += msg.mid(4, kFacilityWidth);
    line += blanks(kGapWidth);
    line += msg.right(kCardWidth);
    return line;
}

QString incorrectDataLine(const QString &recordLine)
{
    return recordLine.left(kStampWidth) + blanks(kGapWidth) + QStringLiteral("RECEIVED INCORRECT DATA");
}

QString centreName(const QString &name)
{
    const int pad = (kNameFieldWidth - int(name.size())) / 2;
    QString field = blanks(qMax(pad, 0)) + name + blanks(qMax(pad, 0));
    if (field.size() == kNameFieldWidth - 1)
        field += kBlank;
    return field;
}

QString MakeDisplayLine(const QString &recordLine, DisplayMode displayMode, const QStringList &entryNames)
{
    const QChar entry = recordLine.size() > kEntryColumn ? recordLine.at(kEntryColumn) : QLatin1Char(' ');
    const QString head = recordLine.left(kStampWidth);
    // Everything from the status column on. For a well-formed line this is
    // its last 26 characters; a line with a one-character status is shorter,
    // and taking the last 26 there would repeat the entry point.
    const QString tail = recordLine.mid(kStatusColumn);
    if (displayMode != kNameMode || entry < QLatin1Char('1') || entry > QLatin1Char('9')) {
        constexpr int before = kDisplayNumberColumn - kDisplayEntryColumn;
        return head + blanks(before) + entry + blanks(kDisplayEntryWidth - before - 1) + tail;
    }
    const int index = entry.unicode() - '1';
    const QString name = index < entryNames.size() ? entryNames.at(index) : QString();
    return head + blanks(kNameMargin) + centreName(name) + blanks(kNameMargin) + tail;
}

QString MakeRecordLine(const QString &displayLine, const QStringList &entryNames)
{
    QString e = displayLine.mid(kDisplayEntryColumn, kDisplayEntryWidth).trimmed();
    if (leadingValue(e) == 0) {
        for (int i = 0; i < entryNames.size() && i <= 100; ++i) {
            if (entryNames.at(i) == e) {
                e = QString::number(i + 1);
                break;
            }
        }
    }
    return displayLine.left(kEntryColumn) + e + displayLine.right(kRecordLineLength - kEntryColumn - kEntryWidth);
}

} // namespace gt
