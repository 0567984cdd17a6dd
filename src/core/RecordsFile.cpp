#include "RecordsFile.h"

#include "Clock.h"
#include "RecordLayout.h"

namespace gt::records {

namespace {
QString stamp(const QDateTime &when) { return formatDate(when.date()) + QStringLiteral(", ") + formatTime(when.time()); }
} // namespace

QString columnHeaderLine() { return QString::fromLatin1(kColumnHeaderLine); }

QString listingHeaderLine() { return QString::fromLatin1(kListingHeaderLine); }

QString savedLine(const QDate &date) { return QStringLiteral(" Saved ") + formatDate(date); }

QString autosaveStartedLine(const QDateTime &when) { return QStringLiteral(" Autosave started ") + stamp(when); }

QString autosaveResumedLine(const QDateTime &when)
{
    return QStringLiteral(" Autosave started ") + formatDate(when.date()) + QStringLiteral("  ") + formatTime(when.time());
}

QString interruptionLine() { return QStringLiteral(" Possible interruption in records"); }

QString autosaveDisabledLine(const QDateTime &when) { return QStringLiteral(" Autosave was disabled ") + stamp(when); }

QString softwareExitedLine(const QDateTime &when) { return QStringLiteral(" Software was exited ") + stamp(when); }

QStringList autosaveHeader(const QDateTime &when)
{
    return {QString(), autosaveStartedLine(when), QString(), columnHeaderLine(), QString()};
}

QStringList resumeMarker(const QDateTime &when) { return {QString(), autosaveResumedLine(when), QString()}; }

QStringList signOnMarker(const QDateTime &when) { return {autosaveStartedLine(when), QString()}; }

QStringList stopMarker(const QDateTime &when) { return {QString(), interruptionLine(), autosaveDisabledLine(when)}; }

QStringList exitMarker(const QDateTime &when)
{
    return {QString(), interruptionLine(), softwareExitedLine(when), QString()};
}

QStringList saveHeader(const QDate &date) { return {QString(), savedLine(date), QString(), columnHeaderLine(), QString()}; }

} // namespace gt::records
