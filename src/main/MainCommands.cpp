#include "MainCommands.h"

#include "Paths.h"
#include "Prompts.h"
#include "RecordsFile.h"
#include "State.h"
#include "TextFile.h"
#include "WriteFailure.h"

namespace gt {

MainCommands::MainCommands(GatetallyState &state, Prompts &prompts, QObject *parent)
    : QObject(parent), m_state(state), m_prompts(prompts)
{
}

QString MainCommands::clearDisplayQuestion() { return QStringLiteral("Would you like to clear the display?"); }

QString MainCommands::differentFileQuestion(const QString &fileName)
{
    return QStringLiteral("Autosave was previously saving records to %1.\r\n"
                          "Would you like to start saving records to a different file?")
        .arg(fileName);
}

QString MainCommands::saveRefusal()
{
    return QStringLiteral("Autosave is currently on. To manually save these records, autosave should be turned off.");
}

QString MainCommands::saveAsRefusal()
{
    return QStringLiteral("Autosave is currently on. To manually save these records\r\nautosave should be turned off.");
}

QString MainCommands::overwriteQuestion() { return QStringLiteral("Do you want to overwrite the existing file? "); }

QString MainCommands::overwriteTitle() { return QStringLiteral("Existing File"); }

QString MainCommands::clearQuestion()
{
    return QStringLiteral("   This will permanently erase\r\nany unsaved records. Continue?");
}

QString MainCommands::exitQuestion(bool autosaveOn)
{
    if (autosaveOn)
        return QStringLiteral("Autosave is currently on. Exiting now will stop the\r\n"
                              "Quorvel Gatetally from saving any more records.\r\n"
                              "Are you sure you want to exit?");
    return QStringLiteral("Exiting will permanently erase any unsaved records.\r\nAre you sure you want to exit?");
}

QString MainCommands::chooseFile()
{
    const QString path = m_prompts.saveFileName(textFileDialog(recordsDirPath(m_state.dataDir)));
    // A blank name is no choice at all: never fall back on an earlier one.
    return path.trimmed().isEmpty() ? QString() : path;
}

QStringList MainCommands::savedLines() const
{
    // The receiver's own record line of each row, not one rebuilt from the
    // displayed text: a name shown for two entry points, an empty name or an
    // incorrect-data row cannot be turned back into the right record.
    return records::saveHeader(m_state.clock.now().date()) + m_state.strRecords.recordLines();
}

bool MainCommands::writeRecords(const QString &path, const QStringList &lines, bool replace)
{
    QString reason;
    const bool ok = replace ? replaceTextLines(path, lines, &reason) : appendTextLines(path, lines, &reason);
    if (!ok)
        m_prompts.inform(writeFailureMessage(recordsFileName(m_state.dataDir, path), reason), Prompts::Icon::Warning);
    return ok;
}

void MainCommands::rewriteSettingsOrTell(const SettingsChange &change)
{
    QString reason;
    if (!rewriteSettings(m_state, change, &reason))
        m_prompts.inform(settingsWriteFailureMessage(m_state.dataDir, reason),
                         Prompts::Icon::Warning);
}

bool MainCommands::offerClearing()
{
    if (m_state.intRecordCount() == 0 || !m_prompts.askYesNo(clearDisplayQuestion()))
        return false;
    m_state.strRecords.clear();
    return true;
}

void MainCommands::turnAutosaveOn()
{
    if (m_state.blnAutosave)
        return;
    // Set before any question: the receiver reads it for every record.
    m_state.setAutosave(true);
    m_state.blnAutosaveFull = false;

    if (offerClearing())
        blnClearCheck = true;

    rereadSettingsLines(m_state);
    bool newFile = false;
    if (isDefaultRecordsFile(m_state.strAutosaveFile)
        || m_prompts.askYesNo(differentFileQuestion(recordsFileName(m_state.dataDir, m_state.strAutosaveFile)))) {
        const QString path = chooseFile();
        if (path.isEmpty()) {
            // The operator backed out: autosave stays off and nothing is
            // written anywhere.
            m_state.setAutosave(false);
            return;
        }
        m_state.setAutosaveFile(path);
        newFile = true;
    }

    const QDateTime now = m_state.clock.now();
    if (newFile)
        writeRecords(m_state.strAutosaveFile, records::autosaveHeader(now), true);
    else
        writeRecords(m_state.strAutosaveFile, records::resumeMarker(now), false);

    SettingsChange change;
    change.autosave = true;
    change.autosaveFile = m_state.strAutosaveFile;
    rewriteSettingsOrTell(change);
}

void MainCommands::turnAutosaveOff()
{
    if (!m_state.blnAutosave)
        return;
    m_state.setAutosave(false);
    const bool wasFull = m_state.blnAutosaveFull;
    m_state.blnAutosaveFull = false;

    rereadSettingsLines(m_state);
    if (wasFull) {
        // The capacity message told the operator a new file would be asked
        // for; a cancelled dialog keeps the current one.
        const QString path = chooseFile();
        if (!path.isEmpty())
            m_state.setAutosaveFile(path);
    }

    SettingsChange change;
    change.autosave = false;
    change.autosaveFile = m_state.strAutosaveFile;
    rewriteSettingsOrTell(change);

    writeRecords(m_state.strAutosaveFile, records::stopMarker(m_state.clock.now()), false);
}

void MainCommands::save()
{
    if (m_state.blnAutosave) {
        m_prompts.inform(saveRefusal());
        return;
    }
    if (isDefaultRecordsFile(m_state.strAutosaveFile)) {
        saveAs();
        return;
    }
    const Prompts::Button answer = m_prompts.message(overwriteQuestion(), Prompts::Icon::Question,
                                                     Prompts::Yes | Prompts::No | Prompts::Cancel, overwriteTitle());
    if (answer != Prompts::Yes && answer != Prompts::No)
        return;
    if (!writeRecords(m_state.strAutosaveFile, savedLines(), answer == Prompts::Yes))
        return;
    offerClearing();
}

void MainCommands::saveAs()
{
    if (m_state.blnAutosave) {
        m_prompts.inform(saveAsRefusal());
        return;
    }
    const QString path = chooseFile();
    if (path.isEmpty())
        return;
    // The file is written before it becomes the records file in use, so a
    // file that cannot be made is never named in the header or setup.txt.
    if (!writeRecords(path, savedLines(), true))
        return;

    m_state.setAutosaveFile(path);
    m_state.setListTitle(recordsFileTitle(m_state.dataDir, path));
    SettingsChange change;
    change.autosaveFile = path;
    rewriteSettingsOrTell(change);

    // Only a display that turning autosave on has cleared is offered for
    // clearing again; otherwise Save As leaves it alone.
    if (blnClearCheck && offerClearing())
        blnClearCheck = false;
}

void MainCommands::clear()
{
    // With autosave on every record is already in the file.
    if (!m_state.blnAutosave && !m_prompts.askYesNo(clearQuestion()))
        return;
    m_state.strRecords.clear();
}

void MainCommands::exit()
{
    // A second request between the confirmation and the exit timer's tick
    // (the close control pressed again) must not ask or mark twice.
    if (m_exiting)
        return;
    if (!m_prompts.askYesNo(exitQuestion(m_state.blnAutosave)))
        return;
    // Told when it fails, but the program still ends: the operator asked to go.
    if (m_state.blnAutosave)
        writeRecords(m_state.strAutosaveFile, records::exitMarker(m_state.clock.now()), false);
    m_exiting = true;
    // No record may arrive between the marker and the end.
    if (closePort)
        closePort();
    Q_EMIT exitConfirmed();
}

} // namespace gt
