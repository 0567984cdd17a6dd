#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace gt {

// The records on the main display, oldest first. Each row keeps the record
// line that the receiver built and the display line made of it at that
// moment: saving writes the record lines, the list shows the display lines,
// and the displayed-records search reads exactly these rows.
class DisplayStore : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles { RecordLineRole = Qt::UserRole + 1 };

    explicit DisplayStore(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int count() const { return int(m_records.size()); }
    bool isFull() const;
    const QStringList &recordLines() const { return m_records; }
    const QStringList &displayLines() const { return m_display; }

    void append(const QString &recordLine, const QString &displayLine);
    // Adds many rows at once (one model notification), for bursts.
    void appendMany(const QStringList &recordLines, const QStringList &displayLines);
    void clear();
    // Removes the n oldest rows (those a save has just written); rows that
    // came after them stay.
    void removeFirst(int n);

Q_SIGNALS:
    // Rows have just been taken off the display, by whatever command: there
    // is room again for records that wait.
    void emptied();

private:
    QStringList m_records;
    QStringList m_display;
};

} // namespace gt
