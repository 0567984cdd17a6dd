#include "FileLines.h"

#include "StoredFiles.h"
#include "TextFile.h"

#include <QFileSystemWatcher>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace gt::stored {

namespace {
// A screenful of rows and more comes from one read.
constexpr qint64 kCacheBlock = 64 << 10;
} // namespace

FileLines::FileLines(QObject *parent) : QAbstractListModel(parent)
{
    connect(&m_indexer, &LineIndexer::indexed, this, &FileLines::addRun);
    connect(&m_indexer, &LineIndexer::finished, this, [this](const QString &error) {
        m_index.squeeze();
        Q_EMIT indexed(error);
    });
}

bool FileLines::open(const QString &path, QString *error)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *error = m_file.errorString();
        return false;
    }
    m_size = m_file.size();
    // Records files hold lines of 61 bytes and shorter ones around them. Room
    // not used is never touched, so it costs address space, not memory, and
    // is given back at the end; the list then never waits for the index to
    // be copied to a bigger place.
    m_index.reserve(m_size / 32 + 64);
    // Told when the file is cut short or replaced; appending (autosave) is
    // looked at too, but changes nothing shown.
    m_watcher = new QFileSystemWatcher({path}, this);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &FileLines::checkFile);
    m_indexer.start(m_file.handle(), m_size);
    return true;
}

void FileLines::addRun(const LineIndex::Run &run, qint64 done, qint64 total)
{
    if (!run.lengths.isEmpty()) {
        beginInsertRows(QModelIndex(), int(m_index.count()), int(m_index.count() + run.lengths.size() - 1));
        m_index.append(run);
        endInsertRows();
    }
    Q_EMIT progress(done, total);
}

void FileLines::checkFile()
{
    if (m_changeTold)
        return;
    struct stat now, opened;
    if (::fstat(m_file.handle(), &opened) != 0)
        return;
    const QByteArray name = QFile::encodeName(m_file.fileName());
    if (::stat(name.constData(), &now) != 0)
        tellChange(QString::fromLocal8Bit(std::strerror(errno)));
    else if (now.st_ino != opened.st_ino || now.st_dev != opened.st_dev)
        tellChange(fileReplacedReason());
    else if (now.st_size < m_size)
        tellChange(fileShortenedReason());
}

void FileLines::tellChange(const QString &reason) const
{
    if (m_changeTold)
        return;
    m_changeTold = true;
    // Found while the view paints, perhaps: told once it is done.
    auto *self = const_cast<FileLines *>(this);
    QMetaObject::invokeMethod(
        self, [self, reason] { Q_EMIT self->fileChanged(reason); }, Qt::QueuedConnection);
}

QByteArray FileLines::bytesAt(qint64 offset, qint64 count) const
{
    if (m_cacheAt >= 0 && offset >= m_cacheAt && offset + count <= m_cacheAt + m_cache.size())
        return m_cache.mid(qsizetype(offset - m_cacheAt), qsizetype(count));
    const qint64 from = offset - offset % 4096;
    QByteArray block(qsizetype(qMax(kCacheBlock, offset + count - from)), Qt::Uninitialized);
    block.truncate(qsizetype(qMax<qint64>(0, readAt(m_file.handle(), block.data(), block.size(), from))));
    m_cache = block;
    m_cacheAt = from;
    const QByteArray bytes = m_cache.mid(qsizetype(offset - from), qsizetype(count));
    if (bytes.size() < count)
        tellChange(fileShortenedReason());
    return bytes;
}

int FileLines::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_index.count()); }

QString FileLines::line(int row) const
{
    const qint64 start = m_index.start(row);
    const qint64 length = m_index.length(row);
    // A line no records file holds (a binary file, one without line ends):
    // laying out megabytes of text for one row would keep the program busy
    // for minutes, so the row shows its start and says how much is left.
    const qint64 head = qMin<qint64>(length, kShownCharacters + 2);
    QByteArray bytes = bytesAt(start, head);
    QByteArray tail = length > head ? bytesAt(start + length - 2, 2) : bytes.right(2);
    qint64 text = length;
    if (tail.endsWith('\n')) {
        --text;
        tail.chop(1);
    }
    if (text > 0 && tail.endsWith('\r'))
        --text;
    if (text > kShownCharacters)
        return QString::fromLatin1(bytes.left(kShownCharacters))
            + QStringLiteral(" ... (%1 more characters)").arg(text - kShownCharacters);
    bytes.truncate(qsizetype(text));
    return QString::fromLatin1(bytes);
}

QVariant FileLines::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_index.count())
        return QVariant();
    return line(index.row());
}

} // namespace gt::stored
