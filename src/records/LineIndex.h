#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QObject>
#include <QPair>
#include <QThread>
#include <QVector>

#include <atomic>
#include <functional>

namespace gt::stored {

// Where every line of a file starts, at a little over one byte a line: the
// length of each line (its line end included) in one byte, and the offset of
// every 64th line, so that a line's start is an anchor plus at most 63
// lengths. The rare line of 255 bytes or more keeps its length apart. A file
// of twenty million record lines is indexed in about 22 MB instead of the
// 160 MB of one offset a line.
class LineIndex
{
public:
    static constexpr qint64 kAnchorEvery = 64;
    static constexpr quint8 kLongLength = 255; // the length is kept in longLengths

    // The lines indexed since the last run, as the indexer hands them on.
    struct Run
    {
        qint64 firstLine = 0;
        qint64 endOffset = 0;    // where the last line of the run ends
        QByteArray lengths;      // one a line
        QVector<qint64> anchors; // start of each line of the run whose number is a multiple of kAnchorEvery
        QVector<QPair<qint64, qint64>> longLengths; // (line, length) of the lines of kLongLength bytes or more
        int longest = 0;         // characters of the longest line's text, at most kLongestCounted
    };
    // Longer lines are shown cut short, so their exact length does not widen the list.
    static constexpr int kLongestCounted = 4096 + 40;

    qint64 count() const { return m_lengths.size(); }
    // Offset of the first byte of a line, and its length with its line end.
    qint64 start(qint64 line) const;
    qint64 length(qint64 line) const;
    // Where the last indexed line ends.
    qint64 end() const { return m_end; }
    int longest() const { return m_longest; }
    // What the index takes in memory.
    qint64 bytesUsed() const;

    // Adds a run that follows the lines already indexed; false, changing
    // nothing, when it does not.
    bool append(const Run &run);
    // Room for this many lines, so that the index is not copied as it grows.
    void reserve(qint64 lines);
    // Gives back the room kept for more lines, once the file is indexed.
    void squeeze();

private:
    QByteArray m_lengths;
    QVector<qint64> m_anchors;
    QVector<QPair<qint64, qint64>> m_longLengths; // sorted by line
    qint64 m_end = 0;
    int m_longest = 0;
};

// Indexes the first `limit` bytes of the open file `fd`, reading `block`
// bytes at a time by pread (a file cut short under a mapping would kill the
// program; a short read is only an early end). Each run of lines goes to
// `deliver` once `runBytes` more bytes are indexed, and the last at the end;
// a last line without its line end counts. Stops early when `cancel` is set.
// False, with the system's reason, when a read fails.
bool indexLines(int fd, qint64 limit, qint64 block, qint64 runBytes, const std::atomic<bool> &cancel,
                const std::function<void(LineIndex::Run &&run, qint64 done)> &deliver, QString *error);

// Builds the index of one file on a thread of its own and hands it over in
// runs, by queued signals, to the thread that made the indexer. Destroying
// the indexer stops the work.
class LineIndexer : public QObject
{
    Q_OBJECT
public:
    explicit LineIndexer(QObject *parent = nullptr);
    ~LineIndexer() override;

    // Starts indexing the first `limit` bytes of `fd`, which stays open
    // until the indexer is done with it.
    void start(int fd, qint64 limit);
    void cancel();
    bool running() const;

Q_SIGNALS:
    void indexed(const gt::stored::LineIndex::Run &run, qint64 done, qint64 total);
    // The whole file is indexed, or reading it failed (`error` not empty).
    void finished(const QString &error);

private:
    QThread *m_thread = nullptr;
    std::atomic<bool> m_cancel{false};
};

} // namespace gt::stored

Q_DECLARE_METATYPE(gt::stored::LineIndex::Run)
