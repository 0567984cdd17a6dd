#pragma once

#include "AutosaveWriter.h"
#include "Clock.h"
#include "DisplayStore.h"
#include "RecordLine.h"
#include "SearchResults.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace gt {

// Announces changes of the shared state that more than one screen shows, so
// that a screen follows them without knowing who made the change (deleting
// the records file in use from the records management screen resets the
// main screen's header and autosave choice, for instance).
class StateNotices : public QObject
{
    Q_OBJECT
Q_SIGNALS:
    void autosaveChanged(bool on);
    void recordsFileChanged(const QString &path);
    void listTitleChanged(const QString &title);
    void displayModeChanged();
};

// The last search's criteria, kept for Refine this Search, the results file
// and printed listings.
struct SearchCriteria
{
    QString strCritEntryPoint;
    QString strCritStatus;
    QString strCritFacility;
    QString strCritCardKeyless;
    QString strFromTime;
    QString strToTime;
    QString strFromAMPM;
    QString strToAMPM;
    QString strFromDate;
    QString strToDate;
};

// Program-wide state, owned by the application and handed to every screen.
// Tests make a fresh one per case.
class GatetallyState
{
public:
    explicit GatetallyState(const QString &dataDir = QString());
    GatetallyState(const GatetallyState &) = delete;
    GatetallyState &operator=(const GatetallyState &) = delete;

    // Where setup.txt and the Records folder live.
    QString dataDir;
    Clock clock;

    // Settings (setup.txt).
    QStringList strEntryNames; // 101 entries; entry i names entry point i+1
    int intCommPort = 1;
    QString strSetupLine1;
    QString strSetupLine2;
    QString strAutosaveFile;
    bool blnAutosave = false;

    // Appends the autosaved records (the receiver) and the autosave markers
    // (the main screen's commands), in the one order they happened.
    AutosaveWriter autosaveWriter;

    QString strListTitle;
    DisplayMode strDisplayMode = DisplayMode::Number;

    // Writers of the announced variables go through these, so that every
    // change is told; reading the variables directly is fine.
    StateNotices notices;
    void setAutosave(bool on);
    void setAutosaveFile(const QString &path);
    void setListTitle(const QString &title);
    void setDisplayMode(DisplayMode mode);
    bool blnAutosaveFull = false;

    // The records on the main display; it is also the list's model.
    DisplayStore strRecords;
    int intRecordCount() const { return strRecords.count(); }

    QString strReceiveBuffer;
    QString strRecordLine;

    // A device named on the command line, used instead of "Comm N" until the
    // operator applies a port in the comm port dialog.
    QString portOverride;
    // The stable name (/dev/serial/by-id/...) of the serial adapter chosen in
    // the comm port dialog, used instead of "Comm N"; empty when none is.
    QString chosenAdapter;

    // Search.
    SearchCriteria criteria;
    bool blnRefine = false;
    SearchResults strResults;
    int intResultCount() const { return int(strResults.size()); }
    // The stored records file that the stored-file search reads, by its
    // path: its lines stay in the file, never all in memory.
    QString strStoredRecords;

    QString strOpenFile;
    QString strHelpTopic;
};

} // namespace gt
