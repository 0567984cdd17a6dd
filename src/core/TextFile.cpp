#include "TextFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
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
    QFile file(path);
    // Unbuffered: a short write (the disk filling up half way) must show in
    // the count that write() returns; buffered writes can lose it.
    const QIODevice::OpenMode how = QIODevice::Unbuffered
        | (mode == WriteMode::Append ? QIODevice::WriteOnly | QIODevice::Append
                                     : QIODevice::WriteOnly | QIODevice::Truncate);
    if (!file.open(how)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = encodeTextLines(lines);
    // Where an append starts: a failed one is cut back to here, so that a
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
        if (mode == WriteMode::Append)
            file.resize(before);
    }
    file.close();
    if (written && file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        if (mode == WriteMode::Append)
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
    QSaveFile file(path);
    // Unbuffered, so that a short write (a disk filling up) shows in the
    // count that write() returns: a buffered QSaveFile can commit a
    // truncated file without reporting it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = encodeTextLines(lines);
    const qint64 count = file.write(bytes);
    if (count != bytes.size() || !file.commit()) {
        if (error)
            *error = count >= 0 && count < bytes.size() ? shortWriteReason() : file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
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
