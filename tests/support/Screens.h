#pragma once

#include <QAction>
#include <QTest>
#include <QWidget>

namespace gt::test {

// A menu item of a screen, found the way an operator knows it: by its name.
inline QAction *findAction(const QWidget *screen, const QString &objectName)
{
    QAction *action = screen->findChild<QAction *>(objectName);
    if (!action)
        qWarning("no menu item %s", qPrintable(objectName));
    return action;
}

} // namespace gt::test

#include "ScreenFlow.h"

#include <QList>

namespace gt::test {

// A screen flow that only notes what was asked of it; a screen handing over
// closes as it would in the program.
struct RecordingFlow : ScreenFlow
{
    QList<Screen> opened;
    QList<Screen> present; // the screens has() reports

    bool has(Screen screen) const override { return present.contains(screen); }
    void open(Screen screen, QWidget *from) override
    {
        opened.append(screen);
        if (from)
            from->close();
    }
};

} // namespace gt::test
