#include "ResultsLayout.h"

#include "Clock.h"
#include "RecordsFile.h"

namespace gt::search {

namespace {
const QString kIndent(5, QLatin1Char(' '));

// A time criterion in its no-time form begins with the AM/PM word; the test
// looks at those two characters and nothing else.
bool isTimeRange(const QString &time)
{
    const QString head = time.left(2);
    return head != QLatin1String("AM") && head != QLatin1String("PM");
}
} // namespace

QStringList criteriaLines(const SearchCriteria &c, int indent)
{
    const QString in(indent, QLatin1Char(' '));
    QStringList lines;
    if (isTimeRange(c.strFromTime) || isTimeRange(c.strToTime)) {
        lines << in + QStringLiteral("From: ") + c.strFromTime;
        lines << in + QStringLiteral("To:   ") + c.strToTime;
    }
    if (!c.strCritEntryPoint.isEmpty())
        lines << in + QStringLiteral("Entry Point:  ") + c.strCritEntryPoint;
    if (!c.strCritStatus.isEmpty())
        lines << in + QStringLiteral("Status:  ") + c.strCritStatus;
    if (!c.strCritFacility.isEmpty())
        lines << in + QStringLiteral("Facility Code:  ") + c.strCritFacility;
    if (!c.strCritCardKeyless.isEmpty())
        lines << in + QStringLiteral("Card/Keyless Number:  ") + c.strCritCardKeyless;
    return lines;
}

QStringList resultsReportHead(const SearchCriteria &c, const QDateTime &savedAt)
{
    QStringList lines;
    lines << QString()
          << QStringLiteral("Search results saved ") + formatDate(savedAt.date()) + QStringLiteral("  ")
                 + formatTime(savedAt.time())
          << QString() << kIndent + QStringLiteral("Search Criteria:") << QString();
    lines << criteriaLines(c, int(kIndent.size()));
    lines << QString() << records::listingHeaderLine() << QString();
    return lines;
}

QString noResultsLine() { return QString(10, QLatin1Char(' ')) + QStringLiteral("There were no results for this search"); }

QStringList resultsReport(const SearchCriteria &criteria, const QStringList &listLines, const QDateTime &savedAt)
{
    QStringList lines = resultsReportHead(criteria, savedAt);
    if (listLines.isEmpty())
        lines << noResultsLine();
    else
        lines << listLines;
    return lines;
}

} // namespace gt::search
