#pragma once

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QVector>

#include <memory>

namespace gt {

// The record lines a search found, in the order found. A search of the main
// display holds them as strings. A search of a stored file holds only where
// each line starts in the file, eight bytes a result instead of a string of
// 59 characters, and reads a line from the file, kept open, when asked for
// it: a million results take 8 MB.
class SearchResults
{
public:
    SearchResults() = default;
    SearchResults(const QStringList &lines); // NOLINT: lists stand for results wherever they are given
    // Record lines starting at `starts` (ascending) in the open `file`.
    SearchResults(std::shared_ptr<QFile> file, QVector<qint64> starts);

    qsizetype size() const { return m_file ? m_starts.size() : m_lines.size(); }
    bool isEmpty() const { return size() == 0; }
    // A line of a file that was cut short since the search comes back cut
    // short, or empty.
    QString at(qsizetype i) const;
    QStringList toList() const;
    bool operator==(const QStringList &lines) const { return toList() == lines; }

private:
    struct File;
    std::shared_ptr<File> m_file;
    QStringList m_lines;
    QVector<qint64> m_starts;
};

} // namespace gt
