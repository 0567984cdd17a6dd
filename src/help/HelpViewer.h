#pragma once

#include <QMainWindow>
#include <QStringList>

class QAction;
class QPlainTextEdit;

namespace gt {

class GatetallyState;
class Prompts;
class ScreenFlow;

// frmHelpFile ("R-2700 Help"): the help text of the screen whose Help
// command opened it. The text is read once, when the viewer opens; a viewer
// that is already open keeps its text when another screen asks for help.
class HelpViewer : public QMainWindow
{
    Q_OBJECT
public:
    // `folders` are searched in order for the help text file.
    HelpViewer(const GatetallyState &state, Prompts &prompts, ScreenFlow &flow, const QStringList &folders,
               QWidget *parent = nullptr);

    QPlainTextEdit *txtFileDisplay = nullptr;
    QAction *mnuFileClose = nullptr, *mnuFilePrint = nullptr;
    QAction *mnuHelpAbout = nullptr;
};

} // namespace gt
