#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace gt {

QString shortWriteReason()
{
    return QStringLiteral("Only part of the data could be written (the disk may be full).");
}

QByteArray encodeTextLines(const QStringList &lines)
{
    QByteArray out;
    qsizetype size = 0;
    for (const QString &l : lines)
        size += l.size() + 2;
    out.reserve(size);
    for (const QString &l : lines) {
        out += l.toLatin1();
        out += "\r\n";
    }
    return out;
}

bool writeTextLines(const QString &path, const QStringList &lines, WriteMode mode, QString *error)
{
    if (mode == WriteMode::Replace)
        return saveTextLines(path, lines, error);
    QFile file(path);
    const bool existed = file.exists();
    // Unbuffered: a short write (the disk filling up half way) must show in
    // the count that write() returns; buffered writes can lose it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, kOwnerOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // Created with 0600 less the umask: set exactly, so that an odd umask
    // cannot leave the owner unable to append next time.
    if (!existed)
        file.setPermissions(kOwnerOnly);
    const QByteArray bytes = encodeTextLines(lines);
    // Where the append starts: a failed one is cut back to here, so that a
    // records file never keeps half a line that the next append would glue
    // its own line to.
    const qint64 before = file.size();
    // A full disk shows up at write, at flush or only at close, so all three
    // are checked before the lines count as written.
    const qint64 count = file.write(bytes);
    const bool written = count == bytes.size() && file.flush();
    QString reason;
    if (!written) {
        reason = count >= 0 && count < bytes.size() ? shortWriteReason() : file.errorString();
        file.resize(before);
    }
    file.close();
    if (written && file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        QFile::resize(path, before);
    }
    if (!reason.isEmpty() || !written) {
        if (error)
            *error = reason.isEmpty() ? QStringLiteral("write failed") : reason;
        return false;
    }
    return true;
}

bool saveTextLines(const QString &path, const QStringList &lines, QString *error)
{
    ReplacingFile file(path);
    return file.open(error) && file.write(encodeTextLines(lines), error) && file.commit(error);
}

ReplacingFile::ReplacingFile(const QString &path)
    : m_path(path)
    , m_save(path)
    , m_direct(path)
{
}

bool ReplacingFile::open(QString *error)
{
    // QFileInfo follows links: what matters is what the name leads to.
    const QFileInfo target(m_path);
    m_directly = target.exists() && !target.isFile() && !target.isDir();
    // Unbuffered, so that a short write (a disk filling up) shows in the
    // count that write() returns: a buffered QSaveFile can commit a
    // truncated file without reporting it.
    const QIODevice::OpenMode how = QIODevice::WriteOnly | QIODevice::Unbuffered;
    QFileDevice &file = m_directly ? static_cast<QFileDevice &>(m_direct) : m_save;
    if (!(m_directly ? m_direct.open(how | QIODevice::Truncate) : m_save.open(how))) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // QSaveFile gives the new file the mode of the one it replaces, and a
    // file made anew 0666 less the umask: this one is for its owner alone.
    // It is still empty here.
    if (!m_directly && !target.exists() && !m_save.setPermissions(kOwnerOnly)) {
        if (error)
            *error = m_save.errorString();
        m_save.cancelWriting();
        return false;
    }
    return true;
}

bool ReplacingFile::write(const QByteArray &bytes, QString *error)
{
    QFileDevice &file = m_directly ? static_cast<QFileDevice &>(m_direct) : m_save;
    const qint64 count = file.write(bytes);
    if (count == bytes.size())
        return true;
    if (error)
        *error = count >= 0 ? shortWriteReason() : file.errorString();
    if (!m_directly)
        m_save.cancelWriting();
    return false;
}

bool ReplacingFile::commit(QString *error)
{
    if (m_directly) {
        m_direct.close();
        if (m_direct.error() == QFileDevice::NoError)
            return true;
    } else if (m_save.commit()) {
        return true;
    }
    if (error) {
        const QString reason = m_directly ? m_direct.errorString() : m_save.errorString();
        *error = reason.isEmpty() ? QStringLiteral("write failed") : reason;
    }
    return false;
}

bool makeOwnerFolder(const QString &path, QString *error)
{
    // The missing folders, from the one asked for up to the first that is
    // there; then made from the top down.
    QStringList missing;
    QFileInfo info(QFileInfo(path.isEmpty() ? QStringLiteral(".") : path).absoluteFilePath());
    while (!info.exists() && !info.isRoot() && !missing.contains(info.filePath())) {
        missing.prepend(info.filePath());
        info.setFile(info.absolutePath());
    }
    for (const QString &folder : std::as_const(missing)) {
        const QByteArray name = QFile::encodeName(folder);
        if (::mkdir(name.constData(), 0700) == 0) {
            // Exactly 0700: the umask may have taken more than group and others.
            ::chmod(name.constData(), 0700);
        } else if (errno != EEXIST) {
            if (error)
                *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), qt_error_string(errno));
            return false;
        }
    }
    if (QFileInfo(path.isEmpty() ? QStringLiteral(".") : path).isDir())
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), qt_error_string(ENOTDIR));
    return false;
}

bool syncTextFile(const QString &path, QString *error)
{
    // Opened for reading, so that a file deleted meanwhile is not made again
    // (Linux syncs through any descriptor of the file).
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // The data of the file is what matters after a power cut; its times can
    // wait for the system.
    if (::fdatasync(file.handle()) != 0) {
        if (error)
            *error = qt_error_string(errno);
        return false;
    }
    return true;
}

QStringList splitTextLines(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype lf = bytes.indexOf('\n', start);
        qsizetype end = lf < 0 ? n : lf;
        qsizetype textEnd = end;
        if (textEnd > start && bytes.at(textEnd - 1) == '\r')
            --textEnd;
        lines.append(QString::fromLatin1(bytes.constData() + start, textEnd - start));
        if (lf < 0)
            break;
        start = lf + 1;
    }
    return lines;
}

bool readTextLines(const QString &path, QStringList *lines, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    *lines = splitTextLines(bytes);
    return true;
}

bool forEachTextLine(const QString &path, const std::function<bool(const QString &line)> &visit, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray carried; // the unfinished last line of the blocks so far
    for (;;) {
        const QByteArray block = file.read(1 << 20);
        if (block.isEmpty()) {
            if (file.error() != QFileDevice::NoError) {
                if (error)
                    *error = file.errorString();
                return false;
            }
            break;
        }
        carried += block;
        const qsizetype lastLf = carried.lastIndexOf('\n');
        if (lastLf < 0)
            continue;
        for (const QString &line : splitTextLines(QByteArray::fromRawData(carried.constData(), lastLf + 1))) {
            if (!visit(line))
                return true;
        }
        carried.remove(0, lastLf + 1);
    }
    for (const QString &line : splitTextLines(carried)) {
        if (!visit(line))
            break;
    }
    return true;
}

qint64 readAt(int fd, char *data, qint64 count, qint64 offset)
{
    qint64 got = 0;
    while (got < count) {
        const ssize_t n = ::pread(fd, data + got, size_t(count - got), off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

} // namespace gt
