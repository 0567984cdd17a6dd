#pragma once

#include <QString>
#include <QStringList>

namespace gt::search {

// Record lines as rows of comma-separated values for a spreadsheet: the date
// as YYYY-MM-DD, the time as HH:MM:SS on the 24-hour clock, the entry point,
// its name when names are asked for, the status word, the facility code and
// the card/keyless number. Fields are quoted as RFC 4180 asks; rows carry no
// line end (the caller ends each with CR LF). No cell runs as a formula
// (csvField below).

struct CsvColumns
{
    bool file = false;      // a first column naming the records file
    bool entryName = false; // the entry point's name after its number
};

// The header row: "date,time,entry,status,facility,card", with "file" first
// and "entry_name" after "entry" when those columns are asked for.
QString csvHeaderRow(CsvColumns columns);

// One row for a record line. `entryNames` holds the names of entry points 1
// and up (index 0 is entry point 1); `file` fills the file column. A date
// or time that cannot be read is given as it stands in the line.
QString csvRecordRow(const QString &recordLine, CsvColumns columns, const QString &file,
                     const QStringList &entryNames);

// One field: as it is, or between double quotes (inner quotes doubled) when
// it holds a comma, a double quote or a line break. Text that a spreadsheet
// would run as a formula (it begins with =, +, -, @, a tab or a carriage
// return, and is no number) starts with an apostrophe, inside the quotes.
QString csvField(const QString &text);

} // namespace gt::search
