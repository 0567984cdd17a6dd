#pragma once

#include <QString>
#include <QStringList>

namespace gt {
class GatetallyState;
}

namespace gt::stored {

// The rules of the records management screen, without widgets: which files
// it lists, what its commands check first, and what Clear and Delete do to
// the files and the settings.

// The *.txt files of the Records folder, by name, sorted as a file list
// shows them.
QStringList listFiles(const QString &dataDir);

// Full path of a listed file.
QString filePath(const QString &dataDir, const QString &name);

// Whether a listed file is the one autosave writes to.
bool isAutosaveFile(const GatetallyState &state, const QString &name);

// The listed file that is the autosave file, or empty when it is not listed.
QString autosaveEntry(const GatetallyState &state, const QStringList &names);

// The checks that come before Open, Search, Clear and Delete; empty when the
// command may go on, else the message to show.
QString checkCommand(const QStringList &names, const QString &selected);

enum class DeleteCase {
    AutosaveOn,  // the autosave file, while autosave writes to it
    AutosaveOff, // the autosave file, autosave off
    Other,
};
DeleteCase deleteCase(const GatetallyState &state, const QString &name);
QString deleteQuestion(DeleteCase which, const QString &name);

QString clearQuestion();
QString clearedMessage();

// What the operator is told when a file operation fails: the file's name
// and the system's reason.
QString clearFailureMessage(const QString &name, const QString &reason);
QString deleteFailureMessage(const QString &name, const QString &reason);
// A file shown on the file contents screen that changed under it.
QString fileChangedMessage(const QString &name, const QString &reason);
QString fileShortenedReason();
QString fileReplacedReason();

// Whether the file can be read now, with the system's reason when not.
bool checkReadable(const QString &path, QString *error);

// Empties a file, even a read-only one, of the `asked` bytes it held when
// the operator was asked: lines appended since (autosave goes on while the
// question is open) stay. A file that has vanished is not made anew:
// clearing it would hide that it is gone.
bool clearFile(const QString &path, qint64 asked, QString *error);

// Deletes a file, even a read-only one.
bool removeFile(const QString &path, QString *error);

// After the autosave file has been deleted: autosave off (when `turnOff`),
// the default records file and the plain listing title, in memory and in
// setup.txt. Memory follows even when setup.txt cannot be written, since
// the old file is gone; *error then tells why the file was not written.
bool forgetAutosaveFile(GatetallyState &state, bool turnOff, QString *error);

} // namespace gt::stored
