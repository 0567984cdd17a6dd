#pragma once

#include "RecordLayout.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace gt {

// Records the main display can hold; the capacity messages quote this figure.
constexpr int kDisplayCapacity = 32500;
// How display lines show the entry point: its number, or its name.
enum class DisplayMode { Number, Name };
inline constexpr DisplayMode kNumberMode = DisplayMode::Number;
inline constexpr DisplayMode kNameMode = DisplayMode::Name;

// The status column for one status character of a panel message: the three
// known words padded to 9, anything else by itself (the line is then shorter).
QString statusField(QChar statusChar);
QString statusField(const QString &statusChar);

// Date and time columns: "m/d/yyyy" right-aligned in 10, "h:mm:ss AM"
// right-aligned in 11.
QString dateField(const QDate &date);
QString timeField(const QTime &time);

// Builds the stored record line from the text of one panel message (its
// carriage return already removed) and the moment it was taken. Only the
// first 14 characters are used. Control characters that a noisy line may
// carry are stored as '?', so that a record can never break the line
// structure of a records file.
QString buildRecordLine(const QString &message, const QDateTime &when);

// What the main list shows for a message of the wrong length.
QString incorrectDataLine(const QString &recordLine);

// Centres a name of up to 10 characters in a 12-character field.
QString centreName(const QString &name);

// Display line (68 characters) for a record line, with the entry point column
// in number form or, in "Name" mode, as the centred name of that entry point.
// An entry point character that has no names entry (0 or a non-digit) is
// shown in number form. The status and what follows keep their record-line
// spacing.
QString MakeDisplayLine(const QString &recordLine, DisplayMode displayMode, const QStringList &entryNames);

// Turns a display line back into a record line, looking names up in
// entryNames (first exact match wins).
QString MakeRecordLine(const QString &displayLine, const QStringList &entryNames);

} // namespace gt
