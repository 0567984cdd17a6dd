#pragma once

#include "Paths.h"

#include <QString>

namespace gt {

// How the program tells the operator that a records file could not be
// written: the file's name and the system's reason.
inline QString writeFailureMessage(const QString &fileName, const QString &reason)
{
    return QStringLiteral("The records file %1 could not be written:\r\n%2").arg(fileName, reason);
}

// Why a save onto the file that autosave is appending to is refused: the
// save would replace the records in it, and autosave would go on after them.
inline QString autosaveFileRefusal(const QString &fileName)
{
    return QStringLiteral("The file %1 is the records file that autosave is writing to:\r\n"
                          "saving here would replace the records in it. Nothing was written;\r\n"
                          "please choose another name.")
        .arg(fileName);
}

// How the program tells the operator that a records file could not be read.
inline QString readFailureMessage(const QString &fileName, const QString &reason)
{
    return QStringLiteral("The records file %1 could not be read:\r\n%2").arg(fileName, reason);
}

// How the program tells the operator that setup.txt could not be rewritten.
inline QString settingsWriteFailureMessage(const QString &dataDir, const QString &reason)
{
    return QStringLiteral("The settings file %1 could not be written:\r\n%2").arg(setupFilePath(dataDir), reason);
}

// Told at start when setup.txt, an 8-bit (Latin-1) file, cannot name the
// records files of the data folder.
inline QString dataFolderNotLatin1Message(const QString &dataDir)
{
    return QStringLiteral("The data folder %1 has characters that setup.txt cannot hold (it is an 8-bit,\r\n"
                          "Latin-1 file): the records file in use cannot be remembered from one start to\r\n"
                          "the next. Please give Gatetally a data folder whose path has none of them.")
        .arg(dataDir);
}

} // namespace gt
