#include "ResultLines.h"

#include "ResultsLayout.h"

namespace gt::results {

ResultLines::ResultLines(const SearchResults &recordLines, DisplayMode mode, const QStringList &entryNames)
    : m_records(recordLines), m_mode(mode), m_names(entryNames)
{
}

int ResultLines::count() const { return hasResults() ? int(m_records.size()) : 1; }

QString ResultLines::line(int index) const
{
    if (!hasResults())
        return search::noResultsLine();
    return MakeDisplayLine(m_records.at(index), m_mode, m_names);
}

QStringList ResultLines::lines() const
{
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i)
        out.append(line(i));
    return out;
}

ResultsModel::ResultsModel(const ResultLines &lines, QObject *parent) : QAbstractListModel(parent), m_lines(lines) {}

int ResultsModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_lines.count(); }

QVariant ResultsModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_lines.count())
        return {};
    return m_lines.line(index.row());
}

} // namespace gt::results
