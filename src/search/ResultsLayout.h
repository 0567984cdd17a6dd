#pragma once

#include "State.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace gt::search {

// The search-results report: a stamp, the criteria of the search, the listing
// header, then the results as display lines. The results screens save it and
// gatetally-search prints it.

// The lines before the results (everything up to the empty line under the
// listing header), stamped with `savedAt`.
QStringList resultsReportHead(const SearchCriteria &criteria, const QDateTime &savedAt);

// The criteria lines of a report or listing, each after `indent` spaces:
// From and To for a timed search, then each detail criterion that was given.
QStringList criteriaLines(const SearchCriteria &criteria, int indent);

// What a results list shows when the search found nothing.
QString noResultsLine();

// The whole report over the lines of a results list; an empty list gives
// the no-results line.
QStringList resultsReport(const SearchCriteria &criteria, const QStringList &listLines, const QDateTime &savedAt);

} // namespace gt::search
