#include "Listing.h"

#include "Clock.h"
#include "Paths.h"
#include "RecordsFile.h"
#include "ResultsLayout.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>

namespace gt::results {

namespace {
// Listings of records stand this far in from the printable area's edge.
const QString kBodyIndent(9, QLatin1Char(' '));

QString spaces(int n) { return QString(n, QLatin1Char(' ')); }

void add(Listing &l, const QString &text, int pointSize = 10, bool bold = false)
{
    l.lines.append({text, pointSize, bold});
}

void addEmpty(Listing &l, int count)
{
    for (int i = 0; i < count; ++i)
        add(l, QString());
}

// Six empty lines, the title, two empty lines and the printed-at line.
Listing titled(const QString &title, int centre, int stampIndent, const QString &label, const QDateTime &printedAt)
{
    Listing l;
    addEmpty(l, 6);
    add(l, titleLine(title, centre), 16, true);
    addEmpty(l, 2);
    add(l, spaces(stampIndent) + label + formatDate(printedAt.date()) + QStringLiteral("  ")
               + formatTime(printedAt.time()));
    return l;
}

// Two empty lines, the bold listing header over the body's columns, one empty line.
void addListingHeader(Listing &l)
{
    addEmpty(l, 2);
    add(l, kBodyIndent + records::listingHeaderLine(), 10, true);
    addEmpty(l, 1);
}

void addBody(Listing &l, const QStringList &lines)
{
    l.lines.reserve(l.lines.size() + lines.size());
    for (const QString &line : lines)
        add(l, kBodyIndent + line);
}
} // namespace

QString titleLine(const QString &title, int centre)
{
    // N = centre - length / 2 in halves, so that rounding stays exact.
    const int twice = 2 * centre - int(title.size());
    int n = 0;
    if (twice > 0) {
        n = twice / 2;
        if (twice % 2 != 0 && n % 2 != 0)
            ++n; // x.5 goes to the even neighbour
    }
    return spaces(n) + title;
}

Listing mainScreenListing(const QString &title, const QStringList &displayLines, const QDateTime &printedAt)
{
    Listing l = titled(title, 27, 26, QStringLiteral("Records printed "), printedAt);
    l.highestQuality = true;
    addListingHeader(l);
    addBody(l, displayLines);
    return l;
}

namespace {
Listing resultsHead(ResultsOf of, const QString &title, const SearchCriteria &criteria, const QDateTime &printedAt)
{
    Listing l = titled(title, 24, 9, QStringLiteral("Search results printed "), printedAt);
    l.highestQuality = of == ResultsOf::StoredFile;
    addEmpty(l, 1);
    add(l, spaces(14) + QStringLiteral("Search Criteria:"));
    addEmpty(l, 1);
    for (const QString &line : search::criteriaLines(criteria, 14))
        add(l, line);
    addListingHeader(l);
    return l;
}
} // namespace

Listing resultsListing(ResultsOf of, const QString &title, const SearchCriteria &criteria, const QStringList &listLines,
                       const QDateTime &printedAt)
{
    Listing l = resultsHead(of, title, criteria, printedAt);
    addBody(l, listLines);
    return l;
}

Listing resultsListing(ResultsOf of, const QString &title, const SearchCriteria &criteria, const ResultLines &list,
                       const QDateTime &printedAt)
{
    Listing l = resultsHead(of, title, criteria, printedAt);
    // Each line made as it is drawn: a million results are never all text at once.
    l.body = [list](const Listing::Visit &visit, QString *) {
        for (int i = 0; i < list.count(); ++i) {
            if (!visit({kBodyIndent + list.line(i)}))
                break;
        }
        return true;
    };
    return l;
}

QList<ListingLine> Listing::allLines(QString *problem) const
{
    QList<ListingLine> all = lines;
    if (body)
        body([&all](const ListingLine &line) { all.append(line); return true; }, problem);
    return all;
}

Listing fileContentsListing(const QString &path, const QString &title, const QDateTime &printedAt, QString *error)
{
    const auto unreadable = [path](const QString &reason) {
        return QStringLiteral("The file %1 could not be read for printing:\r\n%2").arg(QDir::toNativeSeparators(path), reason);
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = unreadable(file.errorString());
        return Listing();
    }
    Listing l = titled(title, 24, 26, QStringLiteral("Records printed "), printedAt);
    l.highestQuality = true;
    addEmpty(l, 1);
    // Read again as it is drawn, a block at a time: a year's file is never
    // whole in memory.
    l.body = [path, unreadable](const Listing::Visit &visit, QString *problem) {
        QString why;
        if (forEachTextLine(path, [&visit](const QString &line) { return visit({kBodyIndent + line}); }, &why))
            return true;
        if (problem)
            *problem = unreadable(why);
        return false;
    };
    return l;
}

QString fileContentsTitle(const QString &dataDir, const QString &path)
{
    const QString name = recordsFileName(dataDir, path);
    return name.left(qMax<qsizetype>(0, name.size() - 4));
}

Listing helpListing(const QString &text)
{
    Listing l;
    l.face = Listing::Face::Arial;
    l.highestQuality = true;
    addEmpty(l, 6);
    // CR LF, LF and CR all end a line; a break at the very end starts no
    // further line.
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (normal.endsWith(QLatin1Char('\n')))
        normal.chop(1);
    if (!text.isEmpty()) {
        for (const QString &line : normal.split(QLatin1Char('\n')))
            add(l, line);
    }
    return l;
}

} // namespace gt::results
