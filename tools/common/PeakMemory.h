#pragma once

#include <QByteArray>
#include <QFile>

namespace gt::bench {

// A figure of this process's /proc/self/status in KiB ("VmHWM:"), -1 when unknown.
inline long statusKiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// This process's peak resident memory so far, in KiB (-1 when unknown).
inline long peakKiB() { return statusKiB("VmHWM:"); }

// The process's own memory now, in KiB: anonymous pages, not the pages of
// files or libraries it has mapped.
inline long anonKiB() { return statusKiB("RssAnon:"); }

} // namespace gt::bench
