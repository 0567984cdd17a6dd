#pragma once

#include "NameRules.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gt {

class GatetallyState;
class Prompts;
class ScreenFlow;
class UpDownArrows;

// frmNames ("Entry Points"): the names of entry points 1 to 100, one at a
// time. The number box picks the entry point and shows its name from the
// program-wide table (the editor keeps no copy); Apply stores the name,
// rewrites setup.txt and moves on to the next number. The reading of the
// number box and the limits live in NameRules.
class NamesEditor : public QMainWindow
{
    Q_OBJECT
public:
    NamesEditor(GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent = nullptr);

    QLineEdit *txtNumber = nullptr;
    UpDownArrows *updNumber = nullptr;
    QLineEdit *txtName = nullptr;
    QLabel *lblNumber = nullptr;
    QLabel *lblName = nullptr;
    QPushButton *cmdApply = nullptr;
    QPushButton *cmdClose = nullptr;
    QAction *mnuFileClose = nullptr;
    QAction *mnuHelpAbout = nullptr, *mnuHelpHelp = nullptr;

protected:
    // The Up and Down keys in the number box act as the arrows.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void numberChanged(const QString &text);
    void nameChanged(const QString &text);
    // What an arrow asked for: a new number, or a message at a limit.
    void step(const names::Step &step);
    void apply();

    GatetallyState &m_state;
    Prompts &m_prompts;
};

} // namespace gt
