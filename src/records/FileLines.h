#pragma once

#include "StoredFiles.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QVector>

namespace gt::stored {

// Every line of one file as stored, for the file contents list. The file is
// read once into memory and only the starts of its lines are indexed; a row
// becomes text when the view asks for it, so a file of millions of lines
// opens in a fraction of a second and takes little more than its own size.
class FileLines : public QAbstractListModel
{
    Q_OBJECT
public:
    // The most characters one row shows of a line.
    static constexpr int kShownCharacters = 4096;

    explicit FileLines(QObject *parent = nullptr);

    // Reads the file in pieces, reporting after each one. Lines end at LF,
    // with one CR before it dropped; a last line without a line end counts.
    // The model only changes when the load is done.
    Load load(const QString &path, QString *error, const Progress &progress);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString line(int row) const;
    // Length in characters of the longest line, for the width of the list.
    int longestLine() const { return m_longest; }

private:
    QByteArray m_bytes;
    QVector<qint64> m_starts; // where each line begins in m_bytes
    int m_longest = 0;
};

} // namespace gt::stored
