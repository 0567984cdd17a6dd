#pragma once

#include "ResultLines.h"
#include "State.h"

#include <QDateTime>
#include <QString>

namespace gt::results {

// Writes the search-results report (the stamp, the criteria, the listing
// header and the lines of the results list) to `path`, replacing any file of
// that name. The report is written whole to a new file that then takes the
// old one's place, so a failed save leaves no half-written report behind
// and an older report of that name as it was. On failure *error gets the
// system's reason.
bool writeResultsReport(const QString &path, const SearchCriteria &criteria, const ResultLines &lines,
                        const QDateTime &savedAt, QString *error = nullptr);

// The message telling that the report could not be written.
QString resultsWriteFailureMessage(const QString &path, const QString &reason);

} // namespace gt::results
