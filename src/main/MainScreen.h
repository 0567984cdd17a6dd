#pragma once

#include <QMainWindow>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QTimer;

namespace gt {

class GatetallyState;
class MainCommands;
class Navigator;
class Prompts;

// frmMain: the live list of records, the record count, the autosave and
// names choices, and the commands that lead everywhere else. The rules behind
// the commands live outside this class; it only wires widgets to them.
class MainScreen : public QMainWindow
{
    Q_OBJECT
public:
    MainScreen(GatetallyState &state, Prompts &prompts, Navigator &navigator, QWidget *parent = nullptr);

    // The screen's load: names box, autosave buttons and header from the state.
    void load();

    // Header caption rule: the plain title while no records file is chosen.
    void updateHeader();
    // Sets the count box from the number of displayed records.
    void updateCount();
    // Selects optOn or optOff to match blnAutosave without running a command.
    void showAutosaveState();

    // A message shown on the screen itself, for conditions the operator should
    // see without a box per occurrence (a lost serial line, demo mode).
    void setStatusText(const QString &text, bool warning);

    QAction *action(const QString &objectName) const;

    // Connects autosave, Save, Save As, Clear and Exit (buttons, menu items,
    // the close control and the exit timer) to their commands and enables them.
    void attachCommands(MainCommands *commands);

    // Closes the window for good, at the end of the program.
    void closeForExit();

    QListView *lstMain = nullptr;
    QLineEdit *txtNumber = nullptr;
    QLabel *lblMainHeader = nullptr;
    QCheckBox *chkNames = nullptr;
    QRadioButton *optOn = nullptr;
    QRadioButton *optOff = nullptr;
    QPushButton *cmdExit = nullptr;
    QPushButton *cmdRecordsSearch = nullptr;
    QPushButton *cmdClear = nullptr;
    QTimer *Timer1 = nullptr;
    QLabel *lblStatus = nullptr;

    bool blnClearCheck = false;

Q_SIGNALS:
    // The exit timer has ticked: the program should now end.
    void exitTimerTicked();
    // The operator asked to close the window by its close control.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();

    GatetallyState &m_state;
    Prompts &m_prompts;
    Navigator &m_navigator;
    bool m_closing = false;
};

} // namespace gt
