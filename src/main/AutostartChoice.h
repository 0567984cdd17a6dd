#pragma once

#include <QString>
#include <QStringList>

class QAction;
class QMenu;

namespace gt {

class Prompts;

// The command an autostart entry runs: this very program, on this data
// folder, so that a run started at login keeps the records where this one
// does.
QStringList autostartCommand(const QString &dataDir);

// Setup > Start at Login: a checkable item that writes or removes the
// autostart entry, checked whenever the menu opens as the entry now stands
// (someone may have removed the file meanwhile). A failure is told with the
// file's name and the reason, and the check goes back to what is true.
void bindAutostartChoice(QAction *action, QMenu *menu, Prompts &prompts, const QString &dataDir);

} // namespace gt
