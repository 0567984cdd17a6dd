#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace gt::records {

// Line kinds of a records file. Every text is exact: readers and people's
// own scripts look for these lines.
QString columnHeaderLine();                    // 59 characters, over record lines
QString listingHeaderLine();                   // 68 characters, over display lines
QString savedLine(const QDate &date);          // " Saved 3/7/2006"
QString autosaveStartedLine(const QDateTime &when);
QString autosaveResumedLine(const QDateTime &when);
QString interruptionLine();
QString autosaveDisabledLine(const QDateTime &when);
QString softwareExitedLine(const QDateTime &when);

// Blocks, each written in one go by one operation.
QStringList autosaveHeader(const QDateTime &when);
QStringList resumeMarker(const QDateTime &when);
QStringList signOnMarker(const QDateTime &when);
QStringList stopMarker(const QDateTime &when);
QStringList exitMarker(const QDateTime &when);
QStringList saveHeader(const QDate &date);

} // namespace gt::records
