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
// too big to hold as lists. The file is read `window` bytes at a time into
// one buffer, so memory stays small however big the file. A buffer that stays
// in the processor's cache is cheaper to go through than mapping the file:
// the pages of a mapped file fault in and miss the cache one by one.
// `visit` sees each line without its line end, valid only during the call.
template <typename Visit>
bool scanRecordLines(const QString &path, Visit &&visit, QString *error = nullptr, qint64 window = 256 << 10);

// The same, handing over only the record lines that hold `needle` somewhere
// (an empty needle: every record line). A search whose matches all hold a
// known text, such as a card number, jumps from one place that text occurs
// to the next instead of splitting every line. The needle holds no line end.
template <typename Visit>
bool scanRecordLinesHolding(const QString &path, const QByteArray &needle, Visit &&visit, QString *error = nullptr,
                            qint64 window = 256 << 10);

// The same lines, each with the place where it starts in the file, handed to
// `visit(const char *line, qsizetype length, qint64 at)`. After each window
// `keepGoing(qint64 done, qint64 total)` is asked whether to go on; when it
// says no, the scan ends there (and is still a success).
template <typename Visit, typename KeepGoing>
bool scanRecordPlaces(const QString &path, const QByteArray &needle, Visit &&visit, KeepGoing &&keepGoing,
                      QString *error = nullptr, qint64 window = 256 << 10);
// The same over a file opened for it (detail::openForScan), read from where it stands.
template <typename Visit, typename KeepGoing>
bool scanRecordPlaces(QFile &file, const QByteArray &needle, Visit &&visit, KeepGoing &&keepGoing,
                      QString *error = nullptr, qint64 window = 256 << 10);

namespace detail {

// Where `needle` first occurs in [from, end), or null.
const char *findBytes(const char *from, const char *end, const QByteArray &needle);
// The last line end in [from, end), or null.
const char *findLastLineEnd(const char *from, const char *end);
// Tells the system the file is read once from start to end.
void adviseSequential(QFile &file);

bool openForScan(QFile &file, QString *error);
bool readFailed(QFile &file, QString *error);

// Hands the record lines that end within [data + start, data + end) and
// hold the needle to visit, each with its place in the file (`base` is the
// place of data[0]); returns where the unfinished line at the end begins.
template <typename Visit>
qsizetype visitLines(const char *data, qsizetype start, qsizetype end, Visit &visit, const QByteArray &needle,
                     qint64 base)
{
    if (!needle.isEmpty()) {
        // Only the lines around each occurrence of the needle are split off.
        while (start < end) {
            const char *hit = findBytes(data + start, data + end, needle);
            if (!hit) {
                const char *lf = findLastLineEnd(data + start, data + end);
                return lf ? lf - data + 1 : start;
            }
            const char *before = findLastLineEnd(data + start, hit);
            const qsizetype lineStart = before ? before - data + 1 : start;
            const char *afterHit = hit + needle.size();
            const void *lf = std::memchr(afterHit, '\n', size_t(data + end - afterHit));
            if (!lf)
                return lineStart;
            const qsizetype stop = static_cast<const char *>(lf) - data;
            const qsizetype textEnd = stop > lineStart && data[stop - 1] == '\r' ? stop - 1 : stop;
            if (isRecordLine(data + lineStart, textEnd - lineStart))
                visit(data + lineStart, textEnd - lineStart, base + lineStart);
            start = stop + 1;
        }
        return start;
    }
    // Lines are split on LF with one CR before it dropped, as every other
    // reader of records files does.
    while (start < end) {
        const void *lf = std::memchr(data + start, '\n', size_t(end - start));
        if (!lf)
            break;
        const qsizetype stop = static_cast<const char *>(lf) - data;
        const qsizetype textEnd = stop > start && data[stop - 1] == '\r' ? stop - 1 : stop;
        if (isRecordLine(data + start, textEnd - start))
            visit(data + start, textEnd - start, base + start);
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
    // `at`: the place in the file of data[0].
    void append(const char *data, qsizetype length, qint64 at)
    {
        if (!pending())
            m_at = at;
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
    void visitFinished(Visit &visit, const QByteArray &needle) const
    {
        if (!m_overlong)
            visitLines(m_bytes.constData(), 0, m_bytes.size(), visit, needle, m_at);
    }

    // The last line of a file may lack its line end.
    template <typename Visit>
    void visitLast(Visit &visit, const QByteArray &needle) const
    {
        qsizetype n = m_bytes.size();
        if (m_overlong || n == 0)
            return;
        if (m_bytes.at(n - 1) == '\r')
            --n;
        if (n > 0 && isRecordLine(m_bytes.constData(), n)
            && (needle.isEmpty() || findBytes(m_bytes.constData(), m_bytes.constData() + n, needle)))
            visit(m_bytes.constData(), n, m_at);
    }

private:
    static constexpr qsizetype kLongestLine = kRecordLineLength + 2; // CR LF included
    QByteArray m_bytes;
    qint64 m_at = 0; // where the carried line starts in the file
    bool m_overlong = false;
};

// Hands over the lines of the next stretch of the file: first the end of
// the carried line, then every whole line; what is left is carried on.
template <typename Visit>
void feed(Carry &carry, const char *data, qsizetype length, Visit &visit, const QByteArray &needle, qint64 base)
{
    qsizetype start = 0;
    if (carry.pending()) {
        const void *lf = std::memchr(data, '\n', size_t(length));
        const qsizetype stop = lf ? static_cast<const char *>(lf) - data + 1 : length;
        carry.append(data, stop, base);
        if (!lf)
            return;
        carry.visitFinished(visit, needle);
        carry.reset();
        start = stop;
    }
    start = visitLines(data, start, length, visit, needle, base);
    if (start < length)
        carry.append(data + start, length - start, base + start);
}

} // namespace detail

template <typename Visit>
bool scanRecordLines(const QString &path, Visit &&visit, QString *error, qint64 window)
{
    return scanRecordLinesHolding(path, QByteArray(), visit, error, window);
}

template <typename Visit>
bool scanRecordLinesHolding(const QString &path, const QByteArray &needle, Visit &&visit, QString *error,
                            qint64 window)
{
    return scanRecordPlaces(
        path, needle, [&visit](const char *line, qsizetype length, qint64) { visit(line, length); },
        [](qint64, qint64) { return true; }, error, window);
}

template <typename Visit, typename KeepGoing>
bool scanRecordPlaces(const QString &path, const QByteArray &needle, Visit &&visit, KeepGoing &&keepGoing,
                      QString *error, qint64 window)
{
    QFile file(path);
    if (!detail::openForScan(file, error))
        return false;
    return scanRecordPlaces(file, needle, visit, keepGoing, error, window);
}

template <typename Visit, typename KeepGoing>
bool scanRecordPlaces(QFile &file, const QByteArray &needle, Visit &&visit, KeepGoing &&keepGoing, QString *error,
                      qint64 window)
{
    detail::adviseSequential(file);
    const qint64 total = file.size();
    detail::Carry carry; // an unfinished line from the previous block
    QByteArray block(qMax<qint64>(window, 1 << 12), Qt::Uninitialized);
    qint64 at = 0;
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0)
            return detail::readFailed(file, error);
        if (got == 0)
            break;
        detail::feed(carry, block.constData(), qsizetype(got), visit, needle, at);
        at += got;
        if (!keepGoing(at, qMax(at, total)))
            return true;
    }
    carry.visitLast(visit, needle);
    return true;
}

} // namespace gt::search
