#include "Settings.h"

#include "Paths.h"
#include "State.h"
#include "TextFile.h"

#include <QFile>
#include <QFileInfo>

namespace gt {

namespace {

const QString kAutosaveOn = QStringLiteral("autosave=T");
const QString kAutosaveOff = QStringLiteral("autosave=F");
const QString kPortPrefix = QStringLiteral("CommPort=");
constexpr int kNameLines = 100;

// Reads setup.txt; *why says what makes a file that exists unreadable. A file
// holding NUL bytes is not a settings file at all (a binary file saved over
// it). Line ends may be CR LF, LF, or CR alone (as some old editors write).
bool readSetup(const QString &path, QStringList *lines, QString *why = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (why)
            *why = file.errorString();
        return false;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (why)
            *why = file.errorString();
        return false;
    }
    if (bytes.contains('\0')) {
        if (why)
            *why = QStringLiteral("it holds a NUL byte");
        return false;
    }
    if (bytes.contains('\r'))
        bytes.replace("\r\n", "\n").replace('\r', '\n');
    *lines = splitTextLines(bytes);
    if (lines->size() < 3) {
        if (why)
            *why = QStringLiteral("it has fewer than 3 lines");
        return false;
    }
    return true;
}

// A settings file that cannot be read is kept beside it before the defaults
// replace it: it may still hold the port, the records file and 100 names.
QString keepUnreadable(const QString &path, const QString &why)
{
    const QString kept = path + QStringLiteral(".unreadable");
    QString copied;
    QFile::remove(kept);
    QFile old(path);
    if (old.copy(kept))
        copied = QStringLiteral("The old file was kept as %1.").arg(kept);
    else
        copied = QStringLiteral("The old file could not be kept as %1 (%2).").arg(kept, old.errorString());
    return QStringLiteral("The settings file %1 could not be read (%2).\r\n"
                          "Gatetally is using the default settings: port 1, autosave off, "
                          "no records file chosen and no entry point names.\r\n%3")
        .arg(path, why, copied);
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
    return saveTextLines(setupFilePath(state.dataDir), lines, error);
}

} // namespace

QString commPortLine(int port) { return kPortPrefix + QString::number(port); }

SettingsLoad loadSettings(GatetallyState &state, QString *error, QString *notice)
{
    state.intCommPort = 1;
    // Listings printed before any Save As still need a title.
    state.strListTitle = QStringLiteral("Quorvel Gatetally");
    QStringList lines;
    QString why;
    const QString path = setupFilePath(state.dataDir);
    if (readSetup(path, &lines, &why)) {
        state.strSetupLine1 = lines.at(0);
        state.strSetupLine2 = lines.at(1);
        state.strAutosaveFile = lines.at(2);
        for (int i = 0; i < kNameLines && 3 + i < lines.size(); ++i)
            state.strEntryNames[i] = lines.at(3 + i);
        state.intCommPort = portFromLine(state.strSetupLine1);
        state.blnAutosave = !state.strSetupLine2.endsWith(QLatin1Char('F'));
        return SettingsLoad::Read;
    }

    // A missing file is a first start; one that is there but cannot be read
    // is kept, and the operator told.
    if (QFileInfo::exists(path)) {
        const QString told = keepUnreadable(path, why);
        if (notice)
            *notice = told;
    }
    state.strSetupLine1 = commPortLine(1);
    state.strSetupLine2 = kAutosaveOff;
    state.strAutosaveFile = defaultAutosaveFile(state.dataDir);
    state.blnAutosave = false;
    QString reason;
    bool ok = makeOwnerFolder(state.dataDir, &reason)
        && writeSetup(state, state.strSetupLine1, state.strSetupLine2, state.strAutosaveFile, &reason);
    QString records;
    if (!makeOwnerFolder(recordsDirPath(state.dataDir), &records)) {
        ok = false;
        if (reason.isEmpty())
            reason = records;
    }
    if (!ok && error)
        *error = reason;
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
