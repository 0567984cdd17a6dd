#include "Menus.h"

#include "State.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace gt {

QMenu *addNamedMenu(QMenuBar *bar, const QString &objectName, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(objectName);
    return menu;
}

QAction *addNamedItem(QMenu *menu, const QString &objectName, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(objectName);
    return action;
}

void openOnTrigger(QAction *action, ScreenFlow &flow, Screen screen, QWidget *from)
{
    // The action belongs to a menu of `from`, so `from` outlives it.
    QObject::connect(action, &QAction::triggered, action, [&flow, screen, from] { flow.open(screen, from); });
}

HelpMenu addHelpMenu(QMenuBar *bar, ScreenFlow &flow, GatetallyState &state, const QString &helpTopic)
{
    QMenu *help = addNamedMenu(bar, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    HelpMenu m;
    m.mnuHelpAbout = addNamedItem(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About"));
    openOnTrigger(m.mnuHelpAbout, flow, Screen::About);
    m.mnuHelpHelp = addNamedItem(help, QStringLiteral("mnuHelpHelp"), QStringLiteral("&Help"));
    QObject::connect(m.mnuHelpHelp, &QAction::triggered, m.mnuHelpHelp, [&flow, &state, helpTopic] {
        state.strHelpTopic = helpTopic;
        flow.open(Screen::Help);
    });
    return m;
}

} // namespace gt
