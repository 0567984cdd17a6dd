#pragma once

#include "ScreenFlow.h"
#include "ScriptedPrompts.h"
#include "State.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QList>
#include <QTemporaryDir>
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

// Controls as a screen has them, as "name|caption|tooltip" entries joined by
// ';': for each name given (the screen's own name stands for the screen), its
// text, title or window title, and its tooltip when it is a widget. A caption
// given as "*" is not read (a field whose text depends on the day). Compared
// with the entries themselves, so that a mismatch shows as the one entry.
inline QStringList controlTexts(const QWidget *screen, const QString &entries)
{
    QStringList out;
    for (const QString &entry : entries.split(QLatin1Char(';'))) {
        const QStringList p = entry.split(QLatin1Char('|'));
        const QObject *o = p[0] == screen->objectName() ? screen : screen->findChild<QObject *>(p[0]);
        if (!o) {
            out << p[0] + QStringLiteral(" is missing");
            continue;
        }
        const char *caption = o->property("text").isValid()    ? "text"
                              : o->property("title").isValid() ? "title"
                                                               : "windowTitle";
        out << p[0] + '|' + (p.value(1) == QLatin1String("*") ? p[1] : o->property(caption).toString()) + '|'
                + (o->isWidgetType() ? o->property("toolTip").toString() : QString());
    }
    return out;
}

// The rows of a list as the operator reads them.
inline QStringList rowTexts(const QAbstractItemView *view)
{
    QStringList rows;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        rows << view->model()->index(row, 0).data().toString();
    return rows;
}

// A screen flow that only notes what was asked of it; a screen handing over
// closes as it would in the program.
struct RecordingFlow : ScreenFlow
{
    QList<Screen> opened;
    void open(Screen screen, QWidget *from) override
    {
        opened.append(screen);
        if (from)
            from->close();
    }
};

// One screen at a time on a state of its own in a temporary data folder, its
// boxes answered from a script and its hand-overs noted.
struct ScreenDesk
{
    QTemporaryDir dir;
    GatetallyState state{dir.path()};
    ScriptedPrompts prompts;
    RecordingFlow flow;

    // A screen made with `args` before the state, prompts and flow, deleted on
    // closing as the navigator's screens are.
    template<class S, class... Args>
    S *open(Args... args)
    {
        auto *s = new S(args..., state, prompts, flow);
        s->setAttribute(Qt::WA_DeleteOnClose);
        return s;
    }
};

} // namespace gt::test
