#include "SearchResults.h"

#include "RecordLayout.h"
#include "TextFile.h"

#include <QMutex>


namespace gt {

// The file and the block of it read last: results are shown, saved and
// printed in file order, so one read serves a thousand lines.
struct SearchResults::File
{
    std::shared_ptr<QFile> file;
    QByteArray block;
    qint64 blockAt = -1;
    QMutex mutex;

    QByteArray read(qint64 at, qint64 count)
    {
        // A report may be written on a worker while the list is shown.
        const QMutexLocker lock(&mutex);
        if (blockAt < 0 || at < blockAt || at + count > blockAt + block.size()) {
            block.resize(64 << 10);
            block.truncate(qsizetype(qMax<qint64>(0, readAt(file->handle(), block.data(), block.size(), at))));
            blockAt = at;
        }
        return block.mid(qsizetype(at - blockAt), qsizetype(count));
    }
};

SearchResults::SearchResults(const QStringList &lines) : m_lines(lines) {}

SearchResults::SearchResults(std::shared_ptr<QFile> file, QVector<qint64> starts)
    : m_file(std::make_shared<File>()), m_starts(std::move(starts))
{
    m_file->file = std::move(file);
}

QString SearchResults::at(qsizetype i) const
{
    if (!m_file)
        return m_lines.at(i);
    return QString::fromLatin1(m_file->read(m_starts.at(i), kRecordLineLength));
}

QStringList SearchResults::toList() const
{
    if (!m_file)
        return m_lines;
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines.append(at(i));
    return lines;
}

} // namespace gt
