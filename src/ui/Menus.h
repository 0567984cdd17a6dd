#pragma once

#include "ScreenFlow.h"

#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace gt {

class GatetallyState;

// A menu and a menu item carrying the object names that tests find them by.
QMenu *addNamedMenu(QMenuBar *bar, const QString &objectName, const QString &caption);
QAction *addNamedItem(QMenu *menu, const QString &objectName, const QString &caption);

// Connects a command to opening a screen; it is enabled only when the flow
// has that screen. `from` hands over (closes) as ScreenFlow::open says.
void openOnTrigger(QAction *action, ScreenFlow &flow, Screen screen, QWidget *from = nullptr);

// The Help menu that several screens share: About, then Help, which sets the
// help topic of the screen before the viewer opens.
struct HelpMenu
{
    QAction *mnuHelpAbout = nullptr;
    QAction *mnuHelpHelp = nullptr;
};
HelpMenu addHelpMenu(QMenuBar *bar, ScreenFlow &flow, GatetallyState &state, const QString &helpTopic);

// File > Close of the secondary screens, calling `close` of the screen.
template <typename Screen_, typename Slot>
QAction *addFileClose(QMenu *file, Screen_ *screen, Slot close);

} // namespace gt

#include <QAction>
#include <QMenu>

namespace gt {
template <typename Screen_, typename Slot>
QAction *addFileClose(QMenu *file, Screen_ *screen, Slot close)
{
    QAction *action = addNamedItem(file, QStringLiteral("mnuFileClose"), QStringLiteral("&Close"));
    QObject::connect(action, &QAction::triggered, screen, close);
    return action;
}
} // namespace gt
