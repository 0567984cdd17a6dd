#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace gt {

// The XDG autostart entry that starts Gatetally when its user logs in to a
// desktop: $XDG_CONFIG_HOME/autostart/gatetally.desktop (~/.config when the
// variable is unset). The desktop reads it at the next login; nothing else
// is registered anywhere, so removing the file undoes it entirely.
namespace autostart {

// Where the entry lives for the current user, as the desktop looks for it.
QString entryPath();
bool isEnabled();

// The entry that runs `command` (the program and its arguments), UTF-8 with
// LF line ends as desktop entries are.
QByteArray entryContents(const QStringList &command);

// Writes the entry (its folder made if need be) or removes it. On failure
// *error gets the system's reason.
bool enable(const QStringList &command, QString *error = nullptr);
bool disable(QString *error = nullptr);

// What the operator is told when either fails: the file and the reason.
QString enableFailureMessage(const QString &path, const QString &reason);
QString disableFailureMessage(const QString &path, const QString &reason);

} // namespace autostart
} // namespace gt
