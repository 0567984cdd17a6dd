#include "FileLines.h"

#include <QFile>

#include <cstring>

namespace gt::stored {

namespace {
constexpr qint64 kPiece = 4 << 20;
}

FileLines::FileLines(QObject *parent) : QAbstractListModel(parent) {}

Load FileLines::load(const QString &path, QString *error, const Progress &progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return Load::Failed;
    }
    // Autosave may append while the file is read (records keep arriving
    // between the pieces), so reading goes on to the end, not to the size
    // seen at the start.
    const qint64 expected = file.size();
    QByteArray bytes;
    // Room for the whole file and one piece more, so that a file that does
    // not grow is never copied (a copy would double the memory it takes).
    bytes.reserve(qsizetype(expected + kPiece));
    QVector<qint64> starts;
    starts.reserve(qsizetype(expected / 61 + 16));
    int longest = 0;
    qint64 lineStart = 0;
    qint64 done = 0;
    for (;;) {
        if (bytes.capacity() - bytes.size() < kPiece)
            bytes.reserve(bytes.size() + bytes.size() / 2 + kPiece);
        const qsizetype before = bytes.size();
        bytes.resize(before + kPiece);
        const qint64 got = file.read(bytes.data() + before, kPiece);
        if (got < 0) {
            *error = file.errorString();
            return Load::Failed;
        }
        bytes.resize(before + qsizetype(got));
        if (got == 0)
            break;
        const char *data = bytes.constData();
        qint64 at = before;
        const qint64 end = bytes.size();
        while (at < end) {
            const void *lf = std::memchr(data + at, '\n', size_t(end - at));
            if (!lf)
                break;
            const qint64 stop = static_cast<const char *>(lf) - data;
            const qint64 textEnd = stop > lineStart && data[stop - 1] == '\r' ? stop - 1 : stop;
            starts.append(lineStart);
            longest = qMax(longest, int(qMin<qint64>(textEnd - lineStart, kShownCharacters + 40)));
            lineStart = stop + 1;
            at = stop + 1;
        }
        done += got;
        if (!progress(done, qMax(expected, done)))
            return Load::Cancelled;
    }
    if (lineStart < bytes.size()) {
        starts.append(lineStart);
        longest = qMax(longest, int(qMin<qint64>(bytes.size() - lineStart, kShownCharacters + 40)));
    }
    if (!progress(done, done))
        return Load::Cancelled;
    beginResetModel();
    m_bytes = std::move(bytes);
    m_starts = std::move(starts);
    m_longest = longest;
    endResetModel();
    return Load::Done;
}

int FileLines::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_starts.size()); }

QString FileLines::line(int row) const
{
    const qint64 start = m_starts.at(row);
    qint64 end = row + 1 < m_starts.size() ? m_starts.at(row + 1) : m_bytes.size();
    if (end > start && m_bytes.at(end - 1) == '\n')
        --end;
    if (end > start && m_bytes.at(end - 1) == '\r')
        --end;
    return QString::fromLatin1(m_bytes.constData() + start, qsizetype(end - start));
}

QVariant FileLines::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_starts.size())
        return QVariant();
    const QString text = line(index.row());
    // A line no records file holds (a binary file, one without line ends):
    // laying out megabytes of text for one row would keep the program busy
    // for minutes, so the row shows its start and says how much is left.
    if (text.size() > kShownCharacters)
        return text.left(kShownCharacters)
            + QStringLiteral(" ... (%1 more characters)").arg(text.size() - kShownCharacters);
    return text;
}

} // namespace gt::stored
