#pragma once

#include <QString>
#include <QStringList>

namespace gt::help {

// The help text file of a help topic word ("Main", "Search", "Results",
// "SavedSearch", "SavedResults", "ViewRecords"; exact, case included), or
// an empty string for any other word.
QString helpFileName(const QString &topic);

// Where the help texts are looked for: beside the executable (the build
// tree, or a copy of the program kept in one folder), then the data folder
// of an installed program, found relative to the executable. Never the
// operator's data folder: the texts are part of the program, not its data.
QStringList helpFolders(const QString &executableDir);

// The help text of a topic, read whole from the first folder that has its
// file: 8-bit text, its line ends made plain line breaks. An unknown topic
// or a missing or unreadable file gives an empty text; the viewer then
// shows an empty window, as it always has.
QString readHelpText(const QString &topic, const QStringList &folders);

} // namespace gt::help
