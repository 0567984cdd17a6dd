#include "RunLocks.h"

#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace gt {

namespace {

// Takes the lock at path; on a lock held by a live program, its process id.
bool take(std::unique_ptr<QLockFile> &lock, const QString &path, qint64 *owner)
{
    auto file = std::make_unique<QLockFile>(path);
    // Only a dead owner makes a lock stale: a program that runs for weeks
    // keeps its lock however old the file is.
    file->setStaleLockTime(0);
    if (file->tryLock(0)) {
        lock = std::move(file);
        return true;
    }
    if (file->error() != QLockFile::LockFailedError)
        return true;
    QString host;
    QString app;
    *owner = 0;
    file->getLockInfo(owner, &host, &app);
    return false;
}

} // namespace

RunLocks::RunLocks() = default;
RunLocks::~RunLocks() = default;

QString RunLocks::folderRefusal(qint64 pid)
{
    return QStringLiteral("Gatetally is already running on this data folder (process %1).").arg(pid);
}

QString RunLocks::deviceRefusal(const QString &device, qint64 pid)
{
    return QStringLiteral("Gatetally is already running on the serial device %1 (process %2).").arg(device).arg(pid);
}

QString RunLocks::deviceLockPath(const QString &device)
{
    const QFileInfo info(device);
    QString name = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("gatetally-device%1.lock").arg(name));
}

QString RunLocks::lockDataFolder(const QString &dataDir)
{
    // Made here when this is the first start: the lock goes in before the
    // settings do.
    makeOwnerFolder(dataDir);
    qint64 owner = 0;
    if (take(m_folder, QDir(dataDir).filePath(QStringLiteral("gatetally.lock")), &owner))
        return QString();
    return folderRefusal(owner);
}

QString RunLocks::lockDevice(const QString &device)
{
    qint64 owner = 0;
    if (device.isEmpty() || take(m_device, deviceLockPath(device), &owner))
        return QString();
    return deviceRefusal(device, owner);
}

} // namespace gt
