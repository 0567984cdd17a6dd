#include "RowStatus.h"

#include "RecordLayout.h"

#include <cstring>

namespace gt {

namespace {

// A record whose status character was none of V, N, F has that one
// character in place of the 9-character word, so the line is 8 shorter.
constexpr int kShortStatusShrink = kStatusWidth - 1;

RowStatus statusAt(const char *field, qsizetype available)
{
    if (available < kStatusWidth)
        return RowStatus::None;
    if (std::memcmp(field, "VALID    ", kStatusWidth) == 0)
        return RowStatus::Valid;
    if (std::memcmp(field, "NOT VALID", kStatusWidth) == 0)
        return RowStatus::Refused;
    if (std::memcmp(field, "OFF      ", kStatusWidth) == 0)
        return RowStatus::Off;
    return RowStatus::None;
}

RowStatus fromLine(const QString &line, int fullLength, int statusColumn)
{
    if (line.size() == fullLength) {
        const QByteArray field = line.mid(statusColumn, kStatusWidth).toLatin1();
        return statusAt(field.constData(), field.size());
    }
    if (line.size() == fullLength - kShortStatusShrink && line.at(statusColumn - 1) == QLatin1Char(' ')
        && line.at(statusColumn) != QLatin1Char(' ') && line.at(statusColumn + 1) == QLatin1Char(' '))
        return RowStatus::Unknown;
    return RowStatus::None;
}

} // namespace

RowStatus recordLineStatus(const QString &recordLine)
{
    return fromLine(recordLine, kRecordLineLength, kStatusColumn);
}

RowStatus displayLineStatus(const QString &displayLine)
{
    return fromLine(displayLine, kDisplayLineLength, kDisplayStatusColumn);
}

RowStatus recordBytesStatus(const char *line, qsizetype length)
{
    if (length != kRecordLineLength)
        return RowStatus::None;
    return statusAt(line + kStatusColumn, length - kStatusColumn);
}

} // namespace gt
