#pragma once

#include "ScreenFlow.h"

#include <QMainWindow>

class QAction;
class QListWidget;
class QPushButton;

namespace gt {

class GatetallyState;
class Prompts;

// frmViewRecords ("Records Management"): the stored records files and what
// can be done with one of them: open it, search it, clear it, delete it.
// The rules live in StoredFiles; this class asks the questions and moves
// between the list and the rules.
class RecordsScreen : public QMainWindow
{
    Q_OBJECT
public:
    RecordsScreen(GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent = nullptr);

    // Lists the Records folder as it is now and selects the autosave file
    // when it is listed.
    void load();
    // The file name of the selected entry; empty when none is.
    QString selectedFile() const;

    void openFile();
    // Opens the screen over the selected file once it passes the checks and
    // can be read (the file contents, its activity).
    void openSelected(Screen screen);
    void searchFile();
    void clearFile();
    void deleteFile();

    QListWidget *filRecords = nullptr;
    QPushButton *cmdOpen = nullptr, *cmdRecordsSearch = nullptr, *cmdClear = nullptr;
    QPushButton *cmdDelete = nullptr, *cmdBack = nullptr;
    QPushButton *cmdActivity = nullptr;
    QAction *mnuFileClose = nullptr, *mnuHelpAbout = nullptr, *mnuHelpHelp = nullptr;

private:
    // The checks every command starts with; the selected file's name, or
    // empty when the command must end.
    QString checkedFile();
    // Tells a failure and lists the folder again, since the file may be gone.
    void tellAndReload(const QString &message);

    GatetallyState &m_state;
    Prompts &m_prompts;
    ScreenFlow &m_flow;
};

} // namespace gt
