#include "StoredFiles.h"

#include "Paths.h"
#include "RecordLine.h"
#include "Settings.h"
#include "State.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace gt::stored {

namespace {

QString samePathForm(const QString &path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// Read-only files are cleared and deleted too, as the operator asked for it;
// the write permission lets autosave go on appending to a cleared file.
void makeWritable(QFile &file)
{
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

} // namespace

QStringList listFiles(const QString &dataDir)
{
    return QDir(recordsDirPath(dataDir))
        .entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString filePath(const QString &dataDir, const QString &name)
{
    return QDir::toNativeSeparators(QDir(recordsDirPath(dataDir)).filePath(name));
}

bool isAutosaveFile(const GatetallyState &state, const QString &name)
{
    // Whole paths are compared: a file of the same name in another folder is
    // not the one autosave writes to.
    return !name.isEmpty() && samePathForm(filePath(state.dataDir, name)) == samePathForm(state.strAutosaveFile);
}

QString autosaveEntry(const GatetallyState &state, const QStringList &names)
{
    for (const QString &name : names) {
        if (isAutosaveFile(state, name))
            return name;
    }
    return QString();
}

QString checkCommand(const QStringList &names, const QString &selected)
{
    if (names.isEmpty())
        return QStringLiteral("No records have been saved yet");
    if (selected.isEmpty())
        return QStringLiteral("Please select a record");
    return QString();
}

DeleteCase deleteCase(const GatetallyState &state, const QString &name)
{
    if (!isAutosaveFile(state, name))
        return DeleteCase::Other;
    return state.blnAutosave ? DeleteCase::AutosaveOn : DeleteCase::AutosaveOff;
}

QString deleteQuestion(DeleteCase which, const QString &name)
{
    if (which == DeleteCase::AutosaveOn)
        return QStringLiteral("Records are currently being autosaved to ") + name
            + QStringLiteral(".  Deleting this file will require disabling autosave. "
                             "Do you want to disable autosave and delete ")
            + name + QStringLiteral("?");
    return QStringLiteral("Are you sure you want to delete the file ") + name + QStringLiteral("?");
}

QString clearQuestion() { return QStringLiteral("Are you sure?"); }

QString clearedMessage() { return QStringLiteral("The file has been cleared"); }

QString clearFailureMessage(const QString &name, const QString &reason)
{
    return QStringLiteral("The records file %1 could not be cleared:\r\n%2").arg(name, reason);
}

QString deleteFailureMessage(const QString &name, const QString &reason)
{
    return QStringLiteral("The records file %1 could not be deleted:\r\n%2").arg(name, reason);
}

QString fileChangedMessage(const QString &name, const QString &reason)
{
    return QStringLiteral("The records file %1 has changed since it was opened:\r\n%2").arg(name, reason);
}

QString fileShortenedReason()
{
    return QStringLiteral("It is shorter now; the lines past its new end are shown empty or cut short.");
}

QString fileReplacedReason()
{
    return QStringLiteral("It has been replaced; the list shows it as it was when it was opened.");
}

bool checkReadable(const QString &path, QString *error)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    *error = file.errorString();
    return false;
}

bool clearFile(const QString &path, qint64 asked, QString *error)
{
    QFile file(path);
    // ExistingOnly: a file that has gone is told, not made anew.
    const QIODevice::OpenMode mode = QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly;
    if (!file.open(mode) && file.exists()) {
        makeWritable(file);
        file.open(mode);
    }
    if (!file.isOpen()) {
        *error = file.errorString();
        return false;
    }
    // What came after the question (a few lines at most) is moved to the
    // front; a file shorter than when asked was replaced meanwhile and is
    // emptied whole.
    QByteArray kept;
    if (file.size() > asked && file.seek(asked))
        kept = file.readAll();
    if (!file.resize(0) || !file.seek(0) || (!kept.isEmpty() && file.write(kept) != kept.size())) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool removeFile(const QString &path, QString *error)
{
    QFile file(path);
    if (file.remove())
        return true;
    if (file.exists()) {
        makeWritable(file);
        if (file.remove())
            return true;
    }
    *error = file.errorString();
    return false;
}

bool forgetAutosaveFile(GatetallyState &state, bool turnOff, QString *error)
{
    const QString fallback = defaultAutosaveFile(state.dataDir);
    if (turnOff)
        state.setAutosave(false);
    // Records held while the display is full went into the file just
    // deleted: they are in no file now, and are written as they enter the
    // display if autosave is on again by then.
    for (DisplayStore::Held &held : state.strRecords.held())
        held.autosaved = false;
    SettingsChange change;
    change.autosaveFile = fallback;
    if (turnOff)
        change.autosave = false;
    const bool written = rewriteSettings(state, change, error);
    state.setListTitle(QStringLiteral("Quorvel Gatetally"));
    state.setAutosaveFile(fallback);
    return written;
}

} // namespace gt::stored
