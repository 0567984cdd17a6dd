#include "DisplayStore.h"

#include "RecordLine.h"

namespace gt {

DisplayStore::DisplayStore(QObject *parent) : QAbstractListModel(parent) {}

int DisplayStore::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant DisplayStore::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return m_display.at(index.row());
    if (role == RecordLineRole)
        return m_records.at(index.row());
    return {};
}

bool DisplayStore::isFull() const { return count() >= kDisplayCapacity; }

void DisplayStore::append(const QString &recordLine, const QString &displayLine)
{
    beginInsertRows(QModelIndex(), count(), count());
    m_records.append(recordLine);
    m_display.append(displayLine);
    endInsertRows();
}

void DisplayStore::appendMany(const QStringList &recordLines, const QStringList &displayLines)
{
    Q_ASSERT(recordLines.size() == displayLines.size());
    if (recordLines.isEmpty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + int(recordLines.size()) - 1);
    m_records.append(recordLines);
    m_display.append(displayLines);
    endInsertRows();
}

QStringList DisplayStore::allRecordLines() const
{
    QStringList lines = m_records;
    lines.reserve(lines.size() + qsizetype(m_held.size()));
    for (const Held &h : m_held)
        lines.append(h.recordLine);
    return lines;
}

void DisplayStore::removeFirst(int n)
{
    n = qMin(n, count());
    if (n <= 0)
        return;
    m_unfiled = qMax(0, m_unfiled - n);
    if (n == count()) {
        beginResetModel();
        m_records.clear();
        m_display.clear();
        endResetModel();
    } else {
        beginRemoveRows(QModelIndex(), 0, n - 1);
        m_records.remove(0, n);
        m_display.remove(0, n);
        endRemoveRows();
    }
    Q_EMIT emptied();
}

} // namespace gt
