#include "AutostartChoice.h"

#include "AutostartEntry.h"
#include "Prompts.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>

namespace gt {

QStringList autostartCommand(const QString &dataDir)
{
    return {QCoreApplication::applicationFilePath(), QStringLiteral("--data-dir"),
            QFileInfo(dataDir).absoluteFilePath()};
}

void bindAutostartChoice(QAction *action, QMenu *menu, Prompts &prompts, const QString &dataDir)
{
    action->setCheckable(true);
    action->setChecked(autostart::isEnabled());
    QObject::connect(menu, &QMenu::aboutToShow, action, [action] { action->setChecked(autostart::isEnabled()); });
    QObject::connect(action, &QAction::triggered, action, [action, &prompts, dataDir](bool checked) {
        QString reason;
        const bool done = checked ? autostart::enable(autostartCommand(dataDir), &reason) : autostart::disable(&reason);
        action->setChecked(autostart::isEnabled());
        if (!done) {
            const QString path = autostart::entryPath();
            prompts.inform(checked ? autostart::enableFailureMessage(path, reason)
                                   : autostart::disableFailureMessage(path, reason),
                           Prompts::Icon::Warning);
        }
    });
}

} // namespace gt
