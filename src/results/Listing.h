#pragma once

#include "ResultLines.h"
#include "State.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace gt::results {

// A printed listing as plain data: every line as it goes to paper, with its
// size and weight. Built without widgets (so every line can be checked) and
// put on paper by printListing (ListingPrinter.h).
//
// Five listings exist, one builder each:
//   mainScreenListing    File > Print of the main screen
//   resultsListing       File > Print of the two results screens
//   fileContentsListing  File > Print of the file contents screen
//   helpListing          File > Print of the help viewer
struct ListingLine
{
    QString text;
    int pointSize = 10;
    bool bold = false;
};

struct Listing
{
    // Courier: a fixed-pitch face, columns kept to the character. Arial: a
    // proportional sans-serif face for running text.
    enum class Face { Courier, Arial };

    Face face = Face::Courier;
    bool highestQuality = false; // print at the printer's highest resolution
    QList<ListingLine> lines;

    // The lines after `lines` of a listing too big to hold whole (a stored
    // file, a million results): each call hands them to `visit` one by one
    // from the first, as they are drawn, and stops when `visit` says false.
    // False when they cannot be had, with the message in *problem.
    using Visit = std::function<bool(const ListingLine &line)>;
    std::function<bool(const Visit &visit, QString *problem)> body;

    // Every line, those of the body too.
    QList<ListingLine> allLines(QString *problem = nullptr) const;
};

// The title line: the title after N spaces, N = centre - length / 2 rounded
// to the nearest whole number, halves to the even one; never fewer than 0.
QString titleLine(const QString &title, int centre);

// The main screen's list as displayed, under `title` (strListTitle).
Listing mainScreenListing(const QString &title, const QStringList &displayLines, const QDateTime &printedAt);

// A results list with the criteria of its search. The stored-file twin
// prints at the highest quality, the displayed-records twin at the
// printer's default. `listLines` are the lines of the list as shown (the
// no-results line when the search found nothing).
enum class ResultsOf { DisplayedRecords, StoredFile };
Listing resultsListing(ResultsOf of, const QString &title, const SearchCriteria &criteria, const QStringList &listLines,
                       const QDateTime &printedAt);
// The same over the lines of a results screen, each made as it is printed.
Listing resultsListing(ResultsOf of, const QString &title, const SearchCriteria &criteria, const ResultLines &list,
                       const QDateTime &printedAt);

// A stored file, read afresh from disk, every line as stored. A file that
// cannot be read (or no longer exists: it is not made again) gives an empty
// listing and the message to show in *error.
Listing fileContentsListing(const QString &path, const QString &title, const QDateTime &printedAt, QString *error);
// The title of that listing: the file's name within the Records folder (or
// its bare name elsewhere) without its last four characters (".txt").
QString fileContentsTitle(const QString &dataDir, const QString &path);

// A help text as it stands, its own line breaks giving the lines: no title,
// no stamp, no indent.
Listing helpListing(const QString &text);

} // namespace gt::results
