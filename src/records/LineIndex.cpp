#include "LineIndex.h"

#include "TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace gt::stored {

namespace {
// What one line adds to a run.
void addLine(LineIndex::Run &run, qint64 line, qint64 start, qint64 length, qint64 textLength)
{
    if (line % LineIndex::kAnchorEvery == 0)
        run.anchors.append(start);
    if (length >= LineIndex::kLongLength) {
        run.lengths.append(char(LineIndex::kLongLength));
        run.longLengths.append({line, length});
    } else {
        run.lengths.append(char(length));
    }
    run.longest = int(qMax<qint64>(run.longest, qMin<qint64>(textLength, LineIndex::kLongestCounted)));
}
} // namespace

qint64 LineIndex::length(qint64 line) const
{
    const quint8 l = quint8(m_lengths.at(qsizetype(line)));
    if (l != kLongLength)
        return l;
    const auto it = std::lower_bound(m_longLengths.cbegin(), m_longLengths.cend(), line,
                                     [](const QPair<qint64, qint64> &p, qint64 n) { return p.first < n; });
    return it != m_longLengths.cend() && it->first == line ? it->second : kLongLength;
}

qint64 LineIndex::start(qint64 line) const
{
    const qint64 anchor = line / kAnchorEvery;
    qint64 at = m_anchors.at(qsizetype(anchor));
    for (qint64 l = anchor * kAnchorEvery; l < line; ++l)
        at += length(l);
    return at;
}

qint64 LineIndex::bytesUsed() const
{
    return m_lengths.capacity() + m_anchors.capacity() * qint64(sizeof(qint64))
        + m_longLengths.capacity() * qint64(sizeof(QPair<qint64, qint64>));
}

bool LineIndex::append(const Run &run)
{
    if (run.firstLine != count())
        return false;
    m_lengths.append(run.lengths);
    m_anchors.append(run.anchors);
    m_longLengths.append(run.longLengths);
    if (!run.lengths.isEmpty())
        m_end = run.endOffset;
    m_longest = qMax(m_longest, run.longest);
    return true;
}

void LineIndex::reserve(qint64 lines)
{
    m_lengths.reserve(qsizetype(lines));
    m_anchors.reserve(qsizetype(lines / kAnchorEvery + 1));
}

void LineIndex::squeeze()
{
    m_lengths.squeeze();
    m_anchors.squeeze();
    m_longLengths.squeeze();
}

bool indexLines(int fd, qint64 limit, qint64 block, qint64 runBytes, const std::atomic<bool> &cancel,
                const std::function<void(LineIndex::Run &&run, qint64 done)> &deliver, QString *error)
{
    QByteArray buffer(qsizetype(qMax<qint64>(block, 1)), Qt::Uninitialized);
    LineIndex::Run run;
    qint64 line = 0;
    qint64 lineStart = 0;
    qint64 runStart = 0;
    qint64 pos = 0;
    char before = 0; // the byte before the block, for a CR LF split between two blocks
    bool first = true;
    while (pos < limit && !cancel.load(std::memory_order_relaxed)) {
        const qint64 got = readAt(fd, buffer.data(), qMin<qint64>(buffer.size(), limit - pos), pos);
        if (got < 0) {
            if (error)
                *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (got == 0)
            break; // shortened since it was opened: what is there is indexed
        const char *data = buffer.constData();
        qsizetype at = 0;
        while (const void *lf = std::memchr(data + at, '\n', size_t(got - at))) {
            const qsizetype stop = static_cast<const char *>(lf) - data;
            const qint64 end = pos + stop + 1;
            const char prev = stop > 0 ? data[stop - 1] : before;
            const qint64 text = end - 1 - lineStart - (end - 1 > lineStart && prev == '\r' ? 1 : 0);
            addLine(run, line++, lineStart, end - lineStart, text);
            lineStart = end;
            at = stop + 1;
        }
        before = data[got - 1];
        pos += got;
        // The first run goes at once, so that the first page can be shown.
        if ((first || lineStart - runStart >= runBytes) && !run.lengths.isEmpty()) {
            run.endOffset = lineStart;
            deliver(std::move(run), pos);
            run = LineIndex::Run();
            run.firstLine = line;
            runStart = lineStart;
            first = false;
        }
    }
    if (cancel.load())
        return true;
    if (lineStart < pos) {
        const qint64 text = pos - lineStart - (before == '\r' ? 1 : 0);
        addLine(run, line++, lineStart, pos - lineStart, text);
        lineStart = pos;
    }
    run.endOffset = lineStart;
    deliver(std::move(run), pos);
    return true;
}

LineIndexer::LineIndexer(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<gt::stored::LineIndex::Run>();
}

LineIndexer::~LineIndexer() { cancel(); }

void LineIndexer::cancel()
{
    if (!m_thread)
        return;
    m_cancel = true;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

bool LineIndexer::running() const { return m_thread && !m_thread->isFinished(); }

void LineIndexer::start(int fd, qint64 limit)
{
    cancel();
    m_cancel = false;
    m_thread = QThread::create([this, fd, limit] {
        QString error;
        // 1 MiB reads stay in the cache while they are split; a run every
        // 16 MiB lets the list grow smoothly without flooding the screen.
        const bool read = indexLines(
            fd, limit, 1 << 20, 16 << 20, m_cancel,
            [this, limit](LineIndex::Run &&run, qint64 done) { Q_EMIT indexed(run, done, limit); }, &error);
        if (!m_cancel)
            Q_EMIT finished(read ? QString() : error);
    });
    m_thread->start();
}

} // namespace gt::stored
