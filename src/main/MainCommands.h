#pragma once

#include "Settings.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace gt {

class GatetallyState;
class Prompts;

// The main screen's file commands: autosave on and off, Save, Save As, Clear
// and Exit. Widget-free, so that every rule and every question can be checked
// without a window; the screen connects its controls to the slots and
// follows the signals.
class MainCommands : public QObject
{
    Q_OBJECT
public:
    MainCommands(GatetallyState &state, Prompts &prompts, QObject *parent = nullptr);

    // Set when turning autosave on cleared the display; read and reset by
    // Save As, and reset whenever the main screen loads.
    bool blnClearCheck = false;

    // Closes the serial port before the program ends; may stay empty when
    // there is no port (tests, a run without a receiver).
    std::function<void()> closePort;

    // Whether Exit has been confirmed and the program is now only waiting for
    // the exit timer.
    bool isExiting() const { return m_exiting; }

    // Exact texts of the questions and refusals, for the tests as much as
    // for the code.
    static QString clearDisplayQuestion();
    static QString differentFileQuestion(const QString &fileName);
    static QString saveRefusal();
    static QString saveAsRefusal();
    static QString overwriteQuestion();
    static QString overwriteTitle();
    static QString clearQuestion();
    static QString exitQuestion(bool autosaveOn);
    // Put before the Exit question while records wait for the disk.
    static QString notWrittenNote(int count, const QString &fileName);
    static QString latin1Refusal(const QString &path);
    // Added to a write failure that kept autosave from starting.
    static QString autosaveNotStarted();

public Q_SLOTS:
    void turnAutosaveOn();
    void turnAutosaveOff();
    void save();
    void saveAs();
    void clear();
    void exit();
    // Exit as confirmed, without the question: the desktop session ends.
    void exitWithoutAsking();

Q_SIGNALS:
    // Exit is confirmed, the marker written and the port closed: the exit
    // timer may now run.
    void exitConfirmed();

private:
    // The Save dialog over the Records folder; empty when cancelled.
    QString chooseFile();
    // The save header and the record line of every displayed row.
    QStringList savedLines() const;
    bool writeRecords(const QString &path, const QStringList &lines, bool replace, const QString &more = QString());
    bool writeMarker(const QString &path, const QStringList &lines, const QString &more = QString());
    void rewriteSettingsOrTell(const SettingsChange &change);
    // The confirmed Exit: the marker, the disk, the port, the exit timer.
    void finishExit();
    // Asks whether to clear a display that holds records.
    bool askClearing();
    // Turning on did not go through: autosave off, file as it was.
    void abandonAutosave(const QString &file);

    GatetallyState &m_state;
    Prompts &m_prompts;
    bool m_exiting = false;
};

} // namespace gt
