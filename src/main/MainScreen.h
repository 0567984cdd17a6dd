#pragma once

#include <QMainWindow>

class QAction;
class QBoxLayout;
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
namespace alarm {
class AlarmMonitor;
}
class Prompts;
class ScreenFlow;

// frmMain: the live list of records, the record count, the autosave and
// names choices, and the commands that lead everywhere else. The rules behind
// the commands live outside this class; it only wires widgets to them.
class MainScreen : public QMainWindow
{
    Q_OBJECT
public:
    MainScreen(GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent = nullptr);

    // Autosave, Save, Save As, Clear and Exit.
    MainCommands *commands() const { return m_commands; }

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
    // The alarm banner over the list and its acknowledge button.
    QLabel *lblAlert = nullptr;
    QPushButton *cmdAlertAck = nullptr;
    // The last alarm (or alarm problem), kept in the status bar below the list.
    QLabel *lblAlertLine = nullptr;

    // Repeated refusals, watched from the first record on.
    alarm::AlarmMonitor *alarms() const { return m_alarms; }

    QAction *mnuFileOpen = nullptr, *mnuFileSave = nullptr, *mnuFileSaveAs = nullptr;
    QAction *mnuFileSearch = nullptr, *mnuFileClear = nullptr, *mnuFileDelete = nullptr;
    QAction *mnuFilePrint = nullptr, *mnuFileExit = nullptr;
    QAction *mnuEditDelete = nullptr, *mnuEditSearch = nullptr;
    QAction *mnuSetupCommPort = nullptr, *mnuSetupEntrypoints = nullptr;
    // Checkable: whether Gatetally starts when this user logs in.
    QAction *mnuSetupAutostart = nullptr;
    QAction *mnuHelpAbout = nullptr, *mnuHelpHelp = nullptr;
    QAction *mnuSetupAlarms = nullptr;
    QAction *mnuViewActivity = nullptr;

Q_SIGNALS:
    // The exit timer has ticked: the program should now end.
    void exitTimerTicked();
    // The operator asked to close the window by its close control.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void connectCommands();

    // File > Print: the display as it stands when printing starts.
    void print();
    // What the alarm adds to the screen: the banner, Setup > Alarms and a
    // line in the status bar for each alarm.
    void buildAlarm(QBoxLayout *over);
    void openAlarmSettings();

    GatetallyState &m_state;
    Prompts &m_prompts;
    ScreenFlow &m_flow;
    MainCommands *m_commands;
    alarm::AlarmMonitor *m_alarms = nullptr;
    bool m_closing = false;
};

} // namespace gt
