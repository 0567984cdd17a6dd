#include "RecordsFile.h"

#include "Clock.h"
#include "RecordLine.h"

namespace gt::records {

namespace {
QString stamp(const QDateTime &when) { return formatDate(when.date()) + QStringLiteral(", ") + formatTime(when.time()); }
} // namespace

QString columnHeaderLine()
{
    return QStringLiteral("    DATE         TIME     ENTRY   STATUS     CODE    NUMBER");
}

QString listingHeaderLine()
{
    return QStringLiteral("    DATE         TIME          ENTRY       STATUS     CODE    NUMBER");
}

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

bool isRecordLine(const QString &line)
{
    return line.size() == kRecordLineLength && !line.endsWith(QLatin1String("NUMBER"));
}

} // namespace gt::records
