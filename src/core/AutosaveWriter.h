#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;

namespace gt {

// Writes the autosaved records to the records file in use. An access log is
// evidence, so a record is never dropped on the way:
// - a record whose append fails waits, in order, and goes into the file
//   before any newer one as soon as an append succeeds again;
// - while the operator is choosing the file that autosave is to use, records
//   are held and go to the file finally chosen, right after its header;
// - what was written reaches the disk itself within a second (fdatasync at
//   most once a second while records arrive).
class AutosaveWriter : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSyncIntervalMs = 1000;

    explicit AutosaveWriter(QObject *parent = nullptr);

    // One record line for the file at path; records still waiting go first.
    void append(const QString &path, const QString &recordLine);
    // A block of marker lines, after any record still waiting. A failure is
    // for the caller to tell; the records stay waiting.
    bool appendBlock(const QString &path, const QStringList &lines, QString *reason);

    // Records from now on are held until release() or dropHeld().
    void hold();
    bool isHolding() const { return m_holding; }
    // The held records go to path (whose header is already written).
    void release(const QString &path);
    // The held records are written nowhere (autosave did not start).
    void dropHeld();

    // Records whose append failed and that are in no file yet.
    int waitingCount() const { return int(m_waiting.size()); }

    // Puts everything written so far on the disk now (Exit).
    void sync();
    // The benchmark measures the cost of syncing by turning it off.
    void setSyncEnabled(bool on) { m_syncEnabled = on; }

Q_SIGNALS:
    // Records could not be written: once, when writing starts to fail.
    void failed(const QString &path, const QString &reason);
    // Writing works again; lateCount records were written late.
    void recovered(const QString &path, int lateCount);
    // The last count records handed in were held and then written nowhere.
    void heldDropped(int count);
    // The system could not put the file on the disk: once, until a sync
    // works again.
    void syncFailed(const QString &path, const QString &reason);

private:
    bool write(const QString &path, const QStringList &lines, bool records, QString *reason);
    void written(const QString &path);
    void syncTick();
    void syncNow(const QString &path);

    QStringList m_waiting;
    QStringList m_held;
    bool m_holding = false;
    bool m_failing = false;
    bool m_syncEnabled = true;
    bool m_syncFailing = false;
    // A file written since its last sync.
    QString m_dirty;
    QTimer *m_syncTimer;
};

} // namespace gt
