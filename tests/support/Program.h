#pragma once

#include "GatetallyApp.h"
#include "MainScreen.h"
#include "PseudoTerminal.h"
#include "ScriptedPrompts.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <memory>

namespace gt::test {

// The whole program on a data folder of its own, its boxes answered from a
// script. Options may be set before it is made.
struct Program
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    Options options;
    std::unique_ptr<GatetallyApp> app;

    Program() { options.dataDir = dir.path(); }

    // Made, with the clock held at `now` when one is given.
    GatetallyApp &make(const QDateTime &now = {})
    {
        app = std::make_unique<GatetallyApp>(options, prompts);
        if (now.isValid())
            app->state().clock.setFixed(now);
        return *app;
    }
    // Started as a run starts (settings, receiver, sign-on screen), then on
    // its main screen unless the sign-on screen is to stay.
    GatetallyApp &start(const QDateTime &now = {}, bool showMain = true)
    {
        make(now).start();
        if (showMain)
            app->showMainScreen();
        return *app;
    }
    MainScreen *main() const { return app->mainScreen(); }
};

// The whole program listening on a pseudo-terminal of its own, published as
// "panel" in its data folder: no test shares a line with another one, and
// Comm 1 may be held by a test program running beside it.
struct ProgramOnLine : Program
{
    panel::PseudoTerminal pty;

    ProgramOnLine() { options.port = dir.filePath(QStringLiteral("panel")); }
    bool plug() { return pty.open() && pty.link(options.port); }
};

} // namespace gt::test
