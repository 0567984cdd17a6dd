#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace gt {

// One program per data folder and per serial device: two programs appending
// to one records file interleave their lines and their markers, and two
// readers of one line each get half of every message. The locks are lock
// files with the owner's process id; one left by a killed program is taken
// over, since its process is gone.
class RunLocks
{
public:
    RunLocks();
    ~RunLocks();

    // Empty when the lock is taken (or cannot be made at all, a folder that
    // cannot be written to: the program still runs); else what to tell.
    QString lockDataFolder(const QString &dataDir);
    QString lockDevice(const QString &device);

    static QString folderRefusal(qint64 pid);
    static QString deviceRefusal(const QString &device, qint64 pid);

    // Where the lock of a device lives: one name for every path that leads
    // to it (a by-id link, the plain device).
    static QString deviceLockPath(const QString &device);

private:
    std::unique_ptr<QLockFile> m_folder;
    std::unique_ptr<QLockFile> m_device;
};

} // namespace gt
