#pragma once

#include "AutosaveWriter.h"
#include "Clock.h"
#include "DisplayStore.h"

#include <QString>
#include <QStringList>

namespace gt {

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
    QString strDisplayMode = QStringLiteral("Number");
    bool blnAutosaveFull = false;

    // The records on the main display; it is also the list's model.
    DisplayStore strRecords;
    int intRecordCount() const { return strRecords.count(); }

    QString strReceiveBuffer;
    QString strRecordLine;

    // A device named on the command line, used instead of "Comm N" until the
    // operator applies a port in the comm port dialog.
    QString portOverride;

    // Search.
    SearchCriteria criteria;
    bool blnRefine = false;
    QStringList strResults;
    int intResultCount() const { return int(strResults.size()); }
    QStringList strStoredRecords;

    QString strOpenFile;
    QString strHelpTopic;
};

} // namespace gt
