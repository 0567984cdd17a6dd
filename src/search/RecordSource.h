#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace gt::search {

// The record lines of a records file, in file order: the lines of exactly 59
// characters that are not the column header. Blank lines, markers and lines
// of any other length are left out. Every line of the file is read, however
// many there are.
bool loadRecordLines(const QString &path, QStringList *lines, QString *error = nullptr);

// The same lines, handed one by one to `visit` as 8-bit text without making
// a string of each, for searching files too big to hold as lists. The file
// is read in large blocks; `visit` sees each line without its line end.
bool scanRecordLines(const QString &path, const std::function<void(const char *, qsizetype)> &visit,
                     QString *error = nullptr);

// Whether one line of 8-bit text (without its line end) is a record line.
bool isRecordLine(const char *line, qsizetype length);

} // namespace gt::search
