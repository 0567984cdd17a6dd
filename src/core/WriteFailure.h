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

// How the program tells the operator that setup.txt could not be rewritten.
inline QString settingsWriteFailureMessage(const QString &dataDir, const QString &reason)
{
    return QStringLiteral("The settings file %1 could not be written:\r\n%2").arg(setupFilePath(dataDir), reason);
}

} // namespace gt
