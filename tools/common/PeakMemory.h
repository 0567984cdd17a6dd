#pragma once

#include <QByteArray>
#include <QFile>

namespace gt::bench {

// This process's peak resident memory so far, in KiB (-1 when unknown).
inline long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace gt::bench
