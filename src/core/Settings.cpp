#include "Settings.h"

#include "Paths.h"
#include "State.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace gt {

namespace {

const QString kAutosaveOn = QStringLiteral("autosave=T");
const QString kAutosaveOff = QStringLiteral("autosave=F");
const QString kPortPrefix = QStringLiteral("CommPort=");
constexpr int kNameLines = 100;

// Reads setup.txt. A file holding NUL bytes is not a settings file at all
// (a binary file saved over it), and is treated like a missing one.
bool readSetup(const QString &path, QStringList *lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.contains('\0'))
        return false;
    *lines = splitTextLines(bytes);
    return lines->size() >= 3;
}

int portFromLine(const QString &line)
{
    if (!line.startsWith(kPortPrefix))
        return 1;
    int value = 0;
    const QString rest = line.mid(kPortPrefix.size());
    for (QChar c : rest) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 16)
            break;
    }
    return (value >= 1 && value <= 16) ? value : 1;
}

bool writeSetup(const GatetallyState &state, const QString &l1, const QString &l2, const QString &l3, QString *error)
{
    QStringList lines{l1, l2, l3};
    for (int i = 0; i < kNameLines; ++i)
        lines.append(state.strEntryNames.value(i));
    QSaveFile file(setupFilePath(state.dataDir));
    // Unbuffered, so that a short write (a disk filling up) shows in the
    // count that write() returns: a buffered QSaveFile can commit a
    // truncated file without reporting it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = encodeTextLines(lines);
    const qint64 count = file.write(bytes);
    if (count != bytes.size() || !file.commit()) {
        if (error)
            *error = count >= 0 && count < bytes.size() ? shortWriteReason() : file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace

QString commPortLine(int port) { return kPortPrefix + QString::number(port); }

SettingsLoad loadSettings(GatetallyState &state, QString *error)
{
    state.intCommPort = 1;
    // Listings printed before any Save As still need a title.
    state.strListTitle = QStringLiteral("Quorvel Gatetally");
    QStringList lines;
    if (readSetup(setupFilePath(state.dataDir), &lines)) {
        state.strSetupLine1 = lines.at(0);
        state.strSetupLine2 = lines.at(1);
        state.strAutosaveFile = lines.at(2);
        for (int i = 0; i < kNameLines && 3 + i < lines.size(); ++i)
            state.strEntryNames[i] = lines.at(3 + i);
        state.intCommPort = portFromLine(state.strSetupLine1);
        state.blnAutosave = !state.strSetupLine2.endsWith(QLatin1Char('F'));
        return SettingsLoad::Read;
    }

    state.strSetupLine1 = commPortLine(1);
    state.strSetupLine2 = kAutosaveOff;
    state.strAutosaveFile = defaultAutosaveFile(state.dataDir);
    state.blnAutosave = false;
    QString reason;
    bool ok = QDir().mkpath(state.dataDir.isEmpty() ? QStringLiteral(".") : state.dataDir)
        && writeSetup(state, state.strSetupLine1, state.strSetupLine2, state.strAutosaveFile, &reason);
    if (!QDir().mkpath(recordsDirPath(state.dataDir))) {
        ok = false;
        if (reason.isEmpty())
            reason = QStringLiteral("the Records folder could not be created");
    }
    if (!ok && error)
        *error = reason.isEmpty() ? QStringLiteral("the data folder could not be created") : reason;
    return SettingsLoad::Defaults;
}

bool rereadSettingsLines(GatetallyState &state)
{
    QStringList lines;
    if (!readSetup(setupFilePath(state.dataDir), &lines))
        return false;
    state.strSetupLine1 = lines.at(0);
    state.strSetupLine2 = lines.at(1);
    state.setAutosaveFile(lines.at(2));
    return true;
}

bool rewriteSettings(GatetallyState &state, const SettingsChange &change, QString *error)
{
    QString l1 = state.strSetupLine1;
    QString l2 = state.strSetupLine2;
    QString l3 = state.strAutosaveFile;
    QStringList lines;
    if (readSetup(setupFilePath(state.dataDir), &lines)) {
        l1 = lines.at(0);
        l2 = lines.at(1);
        l3 = lines.at(2);
    }
    if (change.commPort)
        l1 = commPortLine(*change.commPort);
    if (change.autosave)
        l2 = *change.autosave ? kAutosaveOn : kAutosaveOff;
    if (change.autosaveFile)
        l3 = *change.autosaveFile;
    state.strSetupLine1 = l1;
    state.strSetupLine2 = l2;
    return writeSetup(state, l1, l2, l3, error);
}

} // namespace gt
