#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <functional>

namespace gt {

// Text files of the program: 8-bit (Latin-1), every line ended by CR LF.
// Each call opens, writes or reads, and closes; nothing is held open between
// events. On failure the functions return false and put a readable reason
// in *error (when given). An append that fails is undone: the file is cut
// back to the length it had, so it only ever holds whole lines. A replacing
// write goes through ReplacingFile below, so a failure leaves the old file
// byte for byte as it was.
//
// The files hold people's comings and goings: a file that these functions
// create is its owner's only (0600), whatever the umask; one that exists
// keeps its mode.
enum class WriteMode { Append, Replace };

bool writeTextLines(const QString &path, const QStringList &lines, WriteMode mode, QString *error = nullptr);
inline bool appendTextLines(const QString &path, const QStringList &lines, QString *error = nullptr)
{
    return writeTextLines(path, lines, WriteMode::Append, error);
}
inline bool replaceTextLines(const QString &path, const QStringList &lines, QString *error = nullptr)
{
    return writeTextLines(path, lines, WriteMode::Replace, error);
}

// Replaces the file whole with these lines (the same as replaceTextLines).
bool saveTextLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// A file replaced whole, written a block at a time: the blocks go to a new
// file beside it that takes the old one's place only at commit, so a full
// disk, a failed write or a kill half way leaves the old file as it was. A
// symbolic link stays a link: the file it leads to is replaced. Something
// that is not a plain file (a device such as /dev/null, a printer's node)
// cannot be replaced by a file and is written directly. Not committed, the
// new file is thrown away.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString &path);
    bool open(QString *error = nullptr);
    bool write(const QByteArray &bytes, QString *error = nullptr);
    bool commit(QString *error = nullptr);

private:
    QString m_path;
    QSaveFile m_save;
    QFile m_direct;
    bool m_directly = false;
};

// Makes the folder and any missing folders above it; each one made is its
// owner's only (0700), whatever the umask. Folders that exist keep their
// modes. On failure *error gets the folder and the system's reason.
bool makeOwnerFolder(const QString &path, QString *error = nullptr);

// The mode of what the program creates for its owner alone.
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Reads every line; accepts CR LF and bare LF line ends. A final line without
// a line end still counts as a line.
bool readTextLines(const QString &path, QStringList *lines, QString *error = nullptr);

// The same lines handed one at a time to `visit`, reading a block at a
// time, so that a file of any size is never whole in memory. `visit`
// returning false stops the reading (a success all the same).
bool forEachTextLine(const QString &path, const std::function<bool(const QString &line)> &visit,
                     QString *error = nullptr);

// Splits a block of 8-bit text into lines the same way readTextLines does.
QStringList splitTextLines(const QByteArray &bytes);

// The reason given when a write stopped part way (a full disk, a size limit).
QString shortWriteReason();

// Asks the system to put what was written to the file on the disk itself
// (fdatasync), so that a power cut cannot take it.
bool syncTextFile(const QString &path, QString *error = nullptr);

// Reads up to `count` bytes at `offset` of the open file `fd` without
// moving its position (pread), so that threads may share it; fewer at its
// end. -1, with errno set, when a read fails. A file cut short since it was
// opened only gives fewer bytes, where a mapping would kill the program.
qint64 readAt(int fd, char *data, qint64 count, qint64 offset);

// CR LF encoding of lines, as written to disk.
QByteArray encodeTextLines(const QStringList &lines);

} // namespace gt
