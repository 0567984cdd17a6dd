#pragma once

#include "Matching.h"
#include "State.h"

#include <QString>
#include <QStringList>

namespace gt::search {

// The two search screens share one engine; they differ in where their lines
// come from and in how strictly the From and To rows must be filled.
enum class Twin { Displayed, Stored };

// The entry fields of a search screen, named after their controls.
enum class Field {
    None,
    FromMonth, FromDay, FromYear, FromHour, FromMin,
    ToMonth, ToDay, ToYear, ToHour, ToMin,
    Facility, Status, CardKeyless, EntryPoint,
};

// Every text field, in the screens' tab order.
const QList<Field> &textFields();

// The texts of one screen's fields and its two AM/PM choices.
struct Entries
{
    QString fromMonth, fromDay, fromYear, fromHour, fromMin;
    QString toMonth, toDay, toYear, toHour, toMin;
    QString facility, status, cardKeyless, entryPoint;
    bool fromAM = true;
    bool toAM = true;

    QString &text(Field field);
    const QString &text(Field field) const;
    bool operator==(const Entries &other) const;
};

struct Outcome
{
    Entries entries;           // the fields as the search left them ("00", "05", emptied)
    SearchCriteria criteria;   // the criteria record as far as the search got
    QString message;           // empty when the search succeeded
    Field focus = Field::None; // where the message puts the focus
    bool resultsReplaced = false;
    QStringList results;       // valid when resultsReplaced
    Matcher matcher;           // what the lines were held to

    bool succeeded() const { return message.isEmpty(); }
};

// The checks alone: the outcome carries the matcher instead of results.
// `resultsReplaced` tells whether the search got as far as narrowing the
// lines before it stopped (its matcher then holds only the details).
Outcome checkSearch(Twin twin, const Entries &entries, const SearchCriteria &previous);

// Checks, builds the criteria and finds the matching lines of the source.
Outcome runSearch(Twin twin, const Entries &entries, const SearchCriteria &previous, const QStringList &source);

// The messages of the checks, for the screens and the command line.
namespace msg {
QString facilityDigits();
QString startingHour();
QString endingHour();
QString startingMonth();
QString endingMonth();
QString startingDay();
QString endingDay();
QString startingYear();
QString endingYear();
QString enterCriteria();
QString fromBeforeTo();
} // namespace msg

// How a search screen fills its fields when it opens: fresh, or from the last
// search's criteria for Refine this Search.
Entries freshEntries(Twin twin, const QDate &today);
Entries restoredEntries(const SearchCriteria &criteria);
// A fresh opening forgets the last times, AM/PM words and details, but not the dates.
void forgetCriteria(SearchCriteria &criteria);

} // namespace gt::search
