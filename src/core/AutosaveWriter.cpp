#include "AutosaveWriter.h"

#include "TextFile.h"

#include <QTimer>

#include <utility>

namespace gt {

AutosaveWriter::AutosaveWriter(QObject *parent) : QObject(parent), m_syncTimer(new QTimer(this))
{
    m_syncTimer->setSingleShot(true);
    m_syncTimer->setInterval(kSyncIntervalMs);
    connect(m_syncTimer, &QTimer::timeout, this, &AutosaveWriter::syncTick);
}

void AutosaveWriter::append(const QString &path, const QString &recordLine)
{
    if (m_holding) {
        m_held.append(recordLine);
        return;
    }
    QString reason;
    write(path, {recordLine}, true, &reason);
}

bool AutosaveWriter::appendBlock(const QString &path, const QStringList &lines, QString *reason)
{
    return write(path, lines, false, reason);
}

bool AutosaveWriter::write(const QString &path, const QStringList &lines, bool records, QString *reason)
{
    // One append for the waiting records and the new lines: either all of
    // them are in the file, in order, or none is.
    const bool ok = m_waiting.isEmpty() ? appendTextLines(path, lines, reason)
                                        : appendTextLines(path, m_waiting + lines, reason);
    if (ok) {
        const int late = int(m_waiting.size());
        m_waiting.clear();
        written(path);
        if (m_failing) {
            m_failing = false;
            Q_EMIT recovered(path, late);
        }
        return true;
    }
    if (!records)
        return false;
    m_waiting.append(lines);
    // Told once per run of failures: a full disk would otherwise raise a box
    // for every record.
    if (!m_failing) {
        m_failing = true;
        Q_EMIT failed(path, *reason);
    }
    return false;
}

void AutosaveWriter::hold()
{
    m_holding = true;
}

void AutosaveWriter::release(const QString &path)
{
    m_holding = false;
    const QStringList held = std::exchange(m_held, {});
    // Records still waiting for the disk go in too: the file was just
    // written, so there may be room again.
    if (held.isEmpty() && m_waiting.isEmpty())
        return;
    QString reason;
    write(path, held, true, &reason);
}

void AutosaveWriter::dropHeld()
{
    m_holding = false;
    const int dropped = int(m_held.size());
    m_held.clear();
    if (dropped > 0)
        Q_EMIT heldDropped(dropped);
}

void AutosaveWriter::written(const QString &path)
{
    if (!m_syncEnabled)
        return;
    if (!m_dirty.isEmpty() && m_dirty != path)
        syncNow(m_dirty);
    m_dirty = path;
    // The first write after a quiet second goes to the disk at once; later
    // ones ride on the next tick, so a burst costs one sync a second.
    if (!m_syncTimer->isActive())
        syncTick();
}

void AutosaveWriter::syncTick()
{
    if (m_dirty.isEmpty())
        return;
    syncNow(std::exchange(m_dirty, QString()));
    m_syncTimer->start();
}

void AutosaveWriter::sync()
{
    m_syncTimer->stop();
    if (!m_dirty.isEmpty())
        syncNow(std::exchange(m_dirty, QString()));
}

void AutosaveWriter::syncNow(const QString &path)
{
    QString reason;
    if (syncTextFile(path, &reason)) {
        m_syncFailing = false;
        return;
    }
    if (!m_syncFailing) {
        m_syncFailing = true;
        Q_EMIT syncFailed(path, reason);
    }
}

} // namespace gt
