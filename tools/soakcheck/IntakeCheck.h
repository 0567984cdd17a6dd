#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace gt {

// What a run of the receiver kept, held against every byte the panel sent:
// each carriage return must be one record, in order, carrying what its
// message held (whatever its stamp).
struct IntakeCheck
{
    qsizetype messages = 0;  // carriage returns sent
    qsizetype malformed = 0; // of those, of the wrong length
    qsizetype pending = 0;   // bytes sent after the last carriage return
    qsizetype records = 0;   // record lines in the file
    int differing = 0;       // records whose content is not their message's
    int backwards = 0;       // stamps earlier than the one before
    int midnights = 0;       // stamps on a later day than the one before
    QStringList examples;    // the first few differences, for the reader

    // Every message is in the file, in order, and nothing else.
    bool whole() const { return records == messages && differing == 0; }
    // The file holds the first `records` messages exactly (a run cut short).
    bool prefix() const { return records <= messages && differing == 0; }
};

// The record lines of a records file's lines: every line that starts with a
// stamp, of whatever length.
QStringList stampedLines(const QStringList &fileLines);

IntakeCheck checkIntake(const QByteArray &sent, const QStringList &fileLines);

} // namespace gt
