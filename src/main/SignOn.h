#pragma once

#include "Settings.h"

#include <QWidget>

class QLabel;
class QTimer;

namespace gt {

class GatetallyState;

// What the sign-on load found; problem is set when something could not be
// written and the operator should be told.
struct SignOnResult
{
    SettingsLoad settings = SettingsLoad::Read;
    QString problem;
};

// The start of every run: numbers shown, settings read (or the default file
// made), and the sign-on marker appended when autosave is on.
SignOnResult signOnLoad(GatetallyState &state);

// frmSignOn: the title card shown for two seconds while the program starts.
class SignOnScreen : public QWidget
{
    Q_OBJECT
public:
    explicit SignOnScreen(QWidget *parent = nullptr);

    QTimer *tmrSignOn = nullptr;
    QLabel *lblVersion = nullptr;

Q_SIGNALS:
    void timerTicked();
};

} // namespace gt
