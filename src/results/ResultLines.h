#pragma once

#include "RecordLine.h"
#include "SearchResults.h"

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

namespace gt::results {

// What a results screen lists: the results of the last search as display
// lines, in the display mode and with the entry point names of the moment
// the screen opened. The results are kept (a shared copy, so opening costs
// nothing however many there are; those of a stored file are places in the
// file) and each display line is made when it is asked for; it is the same line that formatting them all at opening
// would have given, since nothing it depends on can change afterwards.
class ResultLines
{
public:
    ResultLines() = default;
    ResultLines(const SearchResults &recordLines, DisplayMode mode, const QStringList &entryNames);

    bool hasResults() const { return !m_records.isEmpty(); }
    // Lines of the list: one per result, or the single no-results line.
    int count() const;
    QString line(int index) const;
    QStringList lines() const;

private:
    SearchResults m_records;
    DisplayMode m_mode = DisplayMode::Number;
    QStringList m_names;
};

// The list model of lstResults over those lines.
class ResultsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ResultsModel(const ResultLines &lines, QObject *parent = nullptr);

    const ResultLines &lines() const { return m_lines; }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    ResultLines m_lines;
};

} // namespace gt::results
