#include "MainCommands.h"

#include "Paths.h"
#include "Prompts.h"
#include "RecordsFile.h"
#include "State.h"
#include "TextFile.h"
#include "WriteFailure.h"

#include <QFileInfo>

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

QString MainCommands::notWrittenNote(int count, const QString &fileName)
{
    return QStringLiteral("%1 record(s) could not be written to the records file %2.\r\n"
                          "They are on the display only: answer No to save them elsewhere first.\r\n\r\n")
        .arg(QString::number(count), fileName);
}

QString MainCommands::latin1Refusal(const QString &path)
{
    return QStringLiteral("The name %1 cannot be used.\r\n"
                          "setup.txt keeps the records file's name in 8-bit (Latin-1) characters, and this\r\n"
                          "name has characters outside them. Nothing was written; please choose another name.")
        .arg(path);
}

QString MainCommands::autosaveNotStarted() { return QStringLiteral("\r\n\r\nAutosave stays off."); }

QString MainCommands::chooseFile()
{
    const QString path = m_prompts.saveFileName(textFileDialog(recordsDirPath(m_state.dataDir)));
    // A blank name is no choice at all: never fall back on an earlier one.
    if (path.trimmed().isEmpty())
        return QString();
    // setup.txt could not name it again: the next turning-on would make a
    // file of another name.
    if (!fitsLatin1(path)) {
        // The bare name when that is what cannot be held, else the whole path.
        const QString name = QFileInfo(path).fileName();
        m_prompts.inform(latin1Refusal(fitsLatin1(name) ? path : recordsFileName(m_state.dataDir, path)),
                         Prompts::Icon::Warning);
        return QString();
    }
    return path;
}

QStringList MainCommands::savedLines() const
{
    // The receiver's own record line of each row, not one rebuilt from the
    // displayed text: a name shown for two entry points, an empty name or an
    // incorrect-data row cannot be turned back into the right record.
    // Records held back while the display is full are the display's too:
    // they follow its rows, in the order they arrived.
    return records::saveHeader(m_state.clock.now().date()) + m_state.strRecords.allRecordLines();
}

bool MainCommands::writeRecords(const QString &path, const QStringList &lines, bool replace, const QString &more)
{
    QString reason;
    const bool ok = replace ? replaceTextLines(path, lines, &reason) : appendTextLines(path, lines, &reason);
    if (!ok)
        m_prompts.inform(writeFailureMessage(recordsFileName(m_state.dataDir, path), reason) + more,
                         Prompts::Icon::Warning);
    return ok;
}

bool MainCommands::writeMarker(const QString &path, const QStringList &lines, const QString &more)
{
    // Through the autosave writer, so that records still waiting for the
    // disk go in before the marker.
    QString reason;
    const bool ok = m_state.autosaveWriter.appendBlock(path, lines, &reason);
    if (!ok)
        m_prompts.inform(writeFailureMessage(recordsFileName(m_state.dataDir, path), reason) + more,
                         Prompts::Icon::Warning);
    return ok;
}

void MainCommands::rewriteSettingsOrTell(const SettingsChange &change)
{
    QString reason;
    if (!rewriteSettings(m_state, change, &reason))
        m_prompts.inform(settingsWriteFailureMessage(m_state.dataDir, reason),
                         Prompts::Icon::Warning);
}

bool MainCommands::askClearing()
{
    return m_state.intRecordCount() != 0 && m_prompts.askYesNo(clearDisplayQuestion());
}

void MainCommands::turnAutosaveOn()
{
    if (m_state.blnAutosave)
        return;
    // Set before any question: the receiver reads it for every record. The
    // records that arrive while the operator answers are held for the file
    // finally chosen.
    m_state.setAutosave(true);
    m_state.blnAutosaveFull = false;
    m_state.autosaveWriter.hold();

    // Only the rows shown when the question is asked are cleared, and only
    // once the file is settled; later rows are in the new file.
    const int shown = m_state.intRecordCount();
    const bool clearing = askClearing();

    rereadSettingsLines(m_state);
    const QString before = m_state.strAutosaveFile;
    bool newFile = false;
    if (isDefaultRecordsFile(m_state.strAutosaveFile)
        || m_prompts.askYesNo(differentFileQuestion(recordsFileName(m_state.dataDir, m_state.strAutosaveFile)))) {
        const QString path = chooseFile();
        if (path.isEmpty()) {
            // The operator backed out: autosave stays off, nothing is
            // written anywhere and the display stays as it was.
            abandonAutosave(before);
            return;
        }
        m_state.setAutosaveFile(path);
        newFile = true;
    }

    const QDateTime now = m_state.clock.now();
    const bool started = newFile
        ? writeRecords(m_state.strAutosaveFile, records::autosaveHeader(now), true, autosaveNotStarted())
        : writeMarker(m_state.strAutosaveFile, records::resumeMarker(now), autosaveNotStarted());
    if (!started) {
        // No file behind it: autosave is not on, and setup.txt keeps what
        // it said.
        abandonAutosave(before);
        return;
    }
    m_state.autosaveWriter.release(m_state.strAutosaveFile);
    if (clearing) {
        m_state.strRecords.removeFirst(shown);
        blnClearCheck = true;
    } else {
        // Kept on the display, in no file: Clear must still ask about them.
        m_state.strRecords.setUnfiledCount(shown);
    }

    SettingsChange change;
    change.autosave = true;
    change.autosaveFile = m_state.strAutosaveFile;
    rewriteSettingsOrTell(change);
}

void MainCommands::abandonAutosave(const QString &file)
{
    m_state.setAutosave(false);
    m_state.autosaveWriter.dropHeld();
    m_state.setAutosaveFile(file);
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

    writeMarker(m_state.strAutosaveFile, records::stopMarker(m_state.clock.now()));
    m_state.autosaveWriter.sync();
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
    const int written = m_state.intRecordCount();
    if (!writeRecords(m_state.strAutosaveFile, savedLines(), answer == Prompts::Yes))
        return;
    // Rows that arrive while the question is open are in no file: they stay.
    if (askClearing())
        m_state.strRecords.removeFirst(written);
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
    const int written = m_state.intRecordCount();
    if (!writeRecords(path, savedLines(), true))
        return;

    m_state.setAutosaveFile(path);
    m_state.setListTitle(recordsFileTitle(m_state.dataDir, path));
    SettingsChange change;
    change.autosaveFile = path;
    rewriteSettingsOrTell(change);

    // Only a display that turning autosave on has cleared is offered for
    // clearing again; otherwise Save As leaves it alone.
    if (blnClearCheck && askClearing()) {
        m_state.strRecords.removeFirst(written);
        blnClearCheck = false;
    }
}

void MainCommands::clear()
{
    // With autosave on every record is already in the file, but for rows
    // kept from before it was turned on. Only the rows shown when asked are
    // cleared: those that arrive while the question is open stay.
    const int shown = m_state.intRecordCount();
    const bool ask = !m_state.blnAutosave || m_state.strRecords.unfiledCount() > 0;
    if (ask && !m_prompts.askYesNo(clearQuestion()))
        return;
    m_state.strRecords.removeFirst(shown);
}

void MainCommands::exit()
{
    // A second request between the confirmation and the exit timer's tick
    // (the close control pressed again) must not ask or mark twice.
    if (m_exiting)
        return;
    QString question = exitQuestion(m_state.blnAutosave);
    if (const int waiting = m_state.autosaveWriter.waitingCount())
        question.prepend(notWrittenNote(waiting, recordsFileName(m_state.dataDir, m_state.strAutosaveFile)));
    // The session may have ended while the question was open.
    if (!m_prompts.askYesNo(question) || m_exiting)
        return;
    finishExit();
}

void MainCommands::exitWithoutAsking()
{
    if (!m_exiting)
        finishExit();
}

void MainCommands::finishExit()
{
    // Set first: a failure box below runs the event loop, in which another
    // request to end must not mark the file a second time.
    m_exiting = true;
    // Told when it fails, but the program still ends: the operator asked to go.
    if (m_state.blnAutosave)
        writeMarker(m_state.strAutosaveFile, records::exitMarker(m_state.clock.now()));
    m_state.autosaveWriter.sync();
    // No record may arrive between the marker and the end.
    if (closePort)
        closePort();
    Q_EMIT exitConfirmed();
}

} // namespace gt
