#pragma once

#include "LineIndex.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QFile>

class QFileSystemWatcher;

namespace gt::stored {

// Every line of one file as stored, for the file contents list. Only the
// line index is kept in memory; it is built on a worker thread while the
// list already shows what is indexed, and a row is read from the file and
// made text when the view asks for it. The file is read as it was when it
// was opened: records appended since are not listed.
class FileLines : public QAbstractListModel
{
    Q_OBJECT
public:
    // The most characters one row shows of a line.
    static constexpr int kShownCharacters = 4096;

    explicit FileLines(QObject *parent = nullptr);

    // Opens the file and starts indexing it; false, with the system's reason,
    // when it cannot be opened. Lines end at LF, with one CR before it
    // dropped; a last line without a line end counts.
    bool open(const QString &path, QString *error);
    bool indexing() const { return m_indexer.running(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The text of a row as the list shows it.
    QString line(int row) const;
    // Length in characters of the longest line so far, for the width of the list.
    int longestLine() const { return m_index.longest(); }
    qint64 indexBytes() const { return m_index.bytesUsed(); }

Q_SIGNALS:
    void progress(qint64 done, qint64 total);
    // Indexing is over: `error` is empty when the whole file is listed.
    void indexed(const QString &error);
    // The file was cut short, replaced or removed after it was opened; told once.
    void fileChanged(const QString &reason);

private:
    void addRun(const LineIndex::Run &run, qint64 done, qint64 total);
    void checkFile();
    void tellChange(const QString &reason) const;
    // Bytes of the file at [offset, offset + count), fewer past its end.
    QByteArray bytesAt(qint64 offset, qint64 count) const;

    QFile m_file;
    qint64 m_size = 0; // when it was opened
    LineIndex m_index;
    mutable QByteArray m_cache; // the block last read
    mutable qint64 m_cacheAt = -1;
    mutable bool m_changeTold = false;
    QFileSystemWatcher *m_watcher = nullptr;
    LineIndexer m_indexer; // last, so that it stops before the file closes
};

} // namespace gt::stored
