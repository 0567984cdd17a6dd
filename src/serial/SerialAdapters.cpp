#include "SerialAdapters.h"

#include "Paths.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace gt {

QString defaultAdapterFolder() { return QStringLiteral("/dev/serial/by-id"); }

QString adapterDevice(const QString &link)
{
    // The names are relative links (../../ttyUSB0); the canonical path is the
    // device itself, or empty when the link leads nowhere.
    return QFileInfo(link).canonicalFilePath();
}

QVector<SerialAdapter> listAdapters(const QString &folder)
{
    QVector<SerialAdapter> adapters;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        const QString link = dir.filePath(name);
        const QString device = adapterDevice(link);
        if (!device.isEmpty())
            adapters.append({link, device});
    }
    return adapters;
}

QString adapterFilePath(const QString &dataDir)
{
    return QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("adapter.txt")));
}

QString readAdapterChoice(const QString &dataDir, QString *unreadable)
{
    const QString path = adapterFilePath(dataDir);
    QStringList lines;
    QString reason;
    if (!readTextLines(path, &lines, &reason)) {
        // A missing file is no choice made; one that is there but cannot be
        // read may name an adapter that the operator expects to be used.
        if (unreadable && QFileInfo(path).exists())
            *unreadable = reason;
        return QString();
    }
    return lines.isEmpty() ? QString() : lines.first().trimmed();
}

bool writeAdapterChoice(const QString &dataDir, const QString &link, QString *error)
{
    const QString path = adapterFilePath(dataDir);
    if (link.isEmpty()) {
        QFile file(path);
        if (!file.exists() || file.remove())
            return true;
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!fitsLatin1(link)) {
        if (error)
            *error = QStringLiteral("the adapter's name has characters that an 8-bit (Latin-1) file cannot hold");
        return false;
    }
    return saveTextLines(path, {link}, error);
}

QString adapterFileUnreadableMessage(const QString &dataDir, const QString &reason, const QString &portName)
{
    return QStringLiteral("The adapter file %1 could not be read:\r\n%2\r\n"
                          "Gatetally listens on %3 instead and leaves the file as it is.")
        .arg(adapterFilePath(dataDir), reason, portName);
}

QString adapterFileFailureMessage(const QString &dataDir, const QString &reason)
{
    return QStringLiteral("The adapter file %1 could not be written:\r\n%2").arg(adapterFilePath(dataDir), reason);
}

QString listeningOnAdapterText(const QString &link, const QString &device)
{
    return QStringLiteral("Listening on the serial adapter %1 (%2).").arg(QFileInfo(link).fileName(), device);
}

} // namespace gt
