#pragma once

// Where everything stands in the fixed-column lines this program handles: the
// record line kept in memory and in records files, the wider display line the
// lists show, and the header lines over each. Columns count from 0. The byte
// scanners of the search read these on every line, so they are constants the
// compiler can fold.

#include <QLatin1String>
#include <QString>

#include <cstring>

namespace gt {

// --- The record line ------------------------------------------------------

constexpr int kRecordLineLength = 59;

constexpr int kDateColumn = 0, kDateWidth = 10;      // "m/d/yyyy", right-aligned
constexpr int kTimeColumn = 13, kTimeWidth = 11;     // "h:mm:ss AM", right-aligned
constexpr int kEntryColumn = 28, kEntryWidth = 1;    // the panel's entry point character
constexpr int kStatusColumn = 33, kStatusWidth = 9;  // "VALID", "NOT VALID", "OFF", left-aligned
constexpr int kFacilityColumn = 46, kFacilityWidth = 3;
constexpr int kCardColumn = 53, kCardWidth = 6;      // the last six characters

// Date, gap and time: the part of the line that the display line and the
// incorrect-data line keep as it is.
constexpr int kStampWidth = kTimeColumn + kTimeWidth;
// The blanks between one column and the next.
constexpr int kGapWidth = 4;

static_assert(kStampWidth + kGapWidth == kEntryColumn);
static_assert(kEntryColumn + kEntryWidth + kGapWidth == kStatusColumn);
static_assert(kStatusColumn + kStatusWidth + kGapWidth == kFacilityColumn);
static_assert(kFacilityColumn + kFacilityWidth + kGapWidth == kCardColumn);
static_assert(kCardColumn + kCardWidth == kRecordLineLength);

// --- The display line -----------------------------------------------------

// The record line with its entry point column widened: the stamp, an
// 18-character entry point column, then the record line from its status on.
constexpr int kDisplayLineLength = 68;
constexpr int kDisplayEntryColumn = kStampWidth, kDisplayEntryWidth = 18;
// Number form: the entry point character alone at this column.
constexpr int kDisplayNumberColumn = 33;
// Name form: the name centred in a field of this width, with this many
// blanks on each side of the field.
constexpr int kNameFieldWidth = 12, kNameMargin = 3;
// Everything from the status column on moves right by this much.
constexpr int kDisplayShift = kDisplayEntryColumn + kDisplayEntryWidth - kStatusColumn;
constexpr int kDisplayStatusColumn = kStatusColumn + kDisplayShift;
constexpr int kDisplayFacilityColumn = kFacilityColumn + kDisplayShift;
constexpr int kDisplayCardColumn = kCardColumn + kDisplayShift;

static_assert(kNameMargin + kNameFieldWidth + kNameMargin == kDisplayEntryWidth);
static_assert(kRecordLineLength + kDisplayShift == kDisplayLineLength);

// --- Header lines ---------------------------------------------------------

// Over record lines in records files, as long as a record line.
constexpr char kColumnHeaderLine[] = "    DATE         TIME     ENTRY   STATUS     CODE    NUMBER";
// Over display lines in saved results and printed listings. Its words start
// at columns 4, 17, 31, 43, 54 and 62.
constexpr char kListingHeaderLine[] = "    DATE         TIME          ENTRY       STATUS     CODE    NUMBER";

static_assert(sizeof kColumnHeaderLine - 1 == kRecordLineLength);
static_assert(sizeof kListingHeaderLine - 1 == kDisplayLineLength);

// What a record line never ends with and the column header line does.
constexpr char kHeaderTail[] = "NUMBER";
constexpr int kHeaderTailLength = sizeof kHeaderTail - 1;

// --- What is a record line ------------------------------------------------

// A line of a records file that holds a record: exactly as long as a record
// line and not the column header (whose last six characters are "NUMBER").
// Blank lines, markers and lines of any other length are not.
inline bool isRecordLine(const char *line, qsizetype length)
{
    return length == kRecordLineLength
        && std::memcmp(line + length - kHeaderTailLength, kHeaderTail, kHeaderTailLength) != 0;
}

inline bool isRecordLine(const QString &line)
{
    return line.size() == kRecordLineLength && !line.endsWith(QLatin1String(kHeaderTail));
}

} // namespace gt
