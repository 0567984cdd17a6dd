#pragma once

#include <QString>
#include <QVector>

namespace gt {

// The folder where Linux (udev) names every USB serial adapter plugged in by
// its maker, model and serial number. Such a name stays the same when the
// adapter is plugged in again or into another socket, while the device it
// points to (/dev/ttyUSB0, /dev/ttyACM1, ...) may change.
QString defaultAdapterFolder();

struct SerialAdapter
{
    QString link;   // the stable name, a full path inside the folder
    QString device; // what it points to now; empty when not plugged in
};

// The adapters in the folder, by name. A missing folder (no adapter
// plugged in, or not Linux) gives none; links whose device is gone are left
// out.
QVector<SerialAdapter> listAdapters(const QString &folder);

// The device a stable name points to now; empty when there is none.
QString adapterDevice(const QString &link);

// The file in the data folder that remembers the adapter chosen in the comm
// port dialog (one line: its stable name). setup.txt keeps its own layout.
QString adapterFilePath(const QString &dataDir);

// The chosen adapter's stable name; empty when none is chosen: the file is
// missing, unreadable or empty. For a file that is there but cannot be read
// (a folder, no permission), *unreadable gets the system's reason.
QString readAdapterChoice(const QString &dataDir, QString *unreadable = nullptr);

// Records the chosen adapter (replacing the file whole, so that it is never
// left half-written), or forgets it when link is empty (removing the file).
// Returns false with the system's reason on failure.
bool writeAdapterChoice(const QString &dataDir, const QString &link, QString *error);

// How the operator is told that the adapter file could not be read, and
// which port is listened on instead.
QString adapterFileUnreadableMessage(const QString &dataDir, const QString &reason, const QString &portName);

// How the operator is told that the adapter file could not be changed.
QString adapterFileFailureMessage(const QString &dataDir, const QString &reason);

// The main screen's line while the receiver listens on the chosen adapter.
QString listeningOnAdapterText(const QString &link, const QString &device);

} // namespace gt
