#pragma once

#include <QString>

namespace gt {

// What a listed line says about the entrance: the operator's eye goes to
// refusals first, so lists mark them apart. Read from the line's own status
// column, never stored beside it, so the text stays the one source.
enum class RowStatus {
    None,    // not a record: the incorrect-data line, a no-results line
    Valid,
    Refused, // NOT VALID
    Off,
    Unknown, // a status character the panel is not meant to send
};

// From a record line (59 characters, or 51 with a one-character status).
RowStatus recordLineStatus(const QString &recordLine);
// From a display line (68 characters, or 60 with a one-character status).
RowStatus displayLineStatus(const QString &displayLine);
// The same for a record line held as bytes, as stored files are read.
RowStatus recordBytesStatus(const char *line, qsizetype length);

// Refusals and unknown statuses are what an operator must look at.
inline bool needsAttention(RowStatus s) { return s == RowStatus::Refused || s == RowStatus::Unknown; }

} // namespace gt
