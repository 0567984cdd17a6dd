#pragma once

#include "RecordLayout.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstring>

namespace gt::search {

// The record lines of a records file, in file order: the lines of exactly 59
// characters that are not the column header. Blank lines, markers and lines
// of any other length are left out. Every line of the file is read, however
// many there are.
bool loadRecordLines(const QString &path, QStringList *lines, QString *error = nullptr);

// The same lines, handed one by one to `visit(const char *line, qsizetype
// length)` as 8-bit text without making a string of each, for searching files
// too big to hold as lists. The file is mapped a window of `window` bytes at
// a time (a multiple of the page size), so nothing is copied and memory stays
// small however big the file; a file that cannot be mapped is read instead.
// `visit` sees each line without its line end, valid only during the call.
template <typename Visit>
bool scanRecordLines(const QString &path, Visit &&visit, QString *error = nullptr, qint64 window = 8 << 20);

namespace detail {

bool openForScan(QFile &file, QString *error);
bool readFailed(QFile &file, QString *error);

// Hands the record lines that end within [data + start, data + end) to visit;
// returns where the unfinished line at the end begins.
template <typename Visit>
qsizetype visitLines(const char *data, qsizetype start, qsizetype end, Visit &visit)
{
    // Lines are split on LF with one CR before it dropped, as every other
    // reader of records files does.
    while (start < end) {
        const void *lf = std::memchr(data + start, '\n', size_t(end - start));
        if (!lf)
            break;
        const qsizetype stop = static_cast<const char *>(lf) - data;
        const qsizetype textEnd = stop > start && data[stop - 1] == '\r' ? stop - 1 : stop;
        if (isRecordLine(data + start, textEnd - start))
            visit(data + start, textEnd - start);
        start = stop + 1;
    }
    return start;
}

// The unfinished line at the end of one window or block, waiting for the
// rest. A line already longer than a record line (with its CR LF) can never
// be one: it is only skipped to its end, never kept, so memory stays small
// even for a file without line ends.
class Carry
{
public:
    bool pending() const { return m_overlong || !m_bytes.isEmpty(); }
    void append(const char *data, qsizetype length)
    {
        if (m_overlong)
            return;
        if (m_bytes.size() + length > kLongestLine) {
            m_overlong = true;
            m_bytes = QByteArray();
            return;
        }
        m_bytes.append(data, length);
    }
    void reset()
    {
        m_overlong = false;
        m_bytes.clear();
    }

    // Hands the finished line over when it may be a record line.
    template <typename Visit>
    void visitFinished(Visit &visit) const
    {
        if (!m_overlong)
            visitLines(m_bytes.constData(), 0, m_bytes.size(), visit);
    }

    // The last line of a file may lack its line end.
    template <typename Visit>
    void visitLast(Visit &visit) const
    {
        qsizetype n = m_bytes.size();
        if (m_overlong || n == 0)
            return;
        if (m_bytes.at(n - 1) == '\r')
            --n;
        if (n > 0 && isRecordLine(m_bytes.constData(), n))
            visit(m_bytes.constData(), n);
    }

private:
    static constexpr qsizetype kLongestLine = kRecordLineLength + 2; // CR LF included
    QByteArray m_bytes;
    bool m_overlong = false;
};

// Hands over the lines of the next stretch of the file: first the end of
// the carried line, then every whole line; what is left is carried on.
template <typename Visit>
void feed(Carry &carry, const char *data, qsizetype length, Visit &visit)
{
    qsizetype start = 0;
    if (carry.pending()) {
        const void *lf = std::memchr(data, '\n', size_t(length));
        const qsizetype stop = lf ? static_cast<const char *>(lf) - data + 1 : length;
        carry.append(data, stop);
        if (!lf)
            return;
        carry.visitFinished(visit);
        carry.reset();
        start = stop;
    }
    start = visitLines(data, start, length, visit);
    carry.append(data + start, length - start);
}

} // namespace detail

template <typename Visit>
bool scanRecordLines(const QString &path, Visit &&visit, QString *error, qint64 window)
{
    QFile file(path);
    if (!detail::openForScan(file, error))
        return false;
    detail::Carry carry; // an unfinished line from the previous window or block
    const qint64 size = file.size();
    qint64 offset = 0;
    while (offset < size) {
        const qint64 length = qMin(window, size - offset);
        const uchar *mapped = file.map(offset, length);
        if (!mapped)
            break; // read the rest instead
        detail::feed(carry, reinterpret_cast<const char *>(mapped), qsizetype(length), visit);
        file.unmap(const_cast<uchar *>(mapped));
        offset += length;
    }
    if (offset < size || size == 0) {
        // Not mappable (or a file that tells no size): read it in blocks.
        if (offset > 0 && !file.seek(offset))
            return detail::readFailed(file, error);
        QByteArray block(qMax<qint64>(window, 1 << 16), Qt::Uninitialized);
        for (;;) {
            const qint64 got = file.read(block.data(), block.size());
            if (got < 0)
                return detail::readFailed(file, error);
            if (got == 0)
                break;
            detail::feed(carry, block.constData(), qsizetype(got), visit);
        }
    }
    carry.visitLast(visit);
    return true;
}

} // namespace gt::search
