#pragma once

#include <QStringList>
#include <cstdio>

namespace gt::search {

// gatetally-search: the record search over any records file, from the command
// line. It prints the search-results report to `output`, with the same CR LF
// line ends as a saved report, so that its output can be kept as one; what
// went wrong goes to `err`. `arguments` starts with the program's name.
//
// Returns the exit status: 0 done, 1 a file could not be read or the report
// could not be written whole, 2 the criteria or the command line were refused.
int runSearchCommand(const QStringList &arguments, std::FILE *output, std::FILE *err);

} // namespace gt::search
