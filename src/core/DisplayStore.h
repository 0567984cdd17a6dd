#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include <deque>

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

    // A record that arrived while the display was full. It belongs to the
    // display all the same (a save writes it after the rows) and enters it,
    // in arrival order, as soon as there is room.
    struct Held
    {
        QString recordLine;
        bool incorrect;
        // Handed to the autosave file on arrival; otherwise it is appended
        // as it enters the display, if autosave is on by then.
        bool autosaved;
    };

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
    void clear() { removeFirst(count()); }
    // Removes the n oldest rows (those a save has just written, or those
    // shown when a question was asked); rows that came after them stay.
    void removeFirst(int n);

    // Records waiting for room, oldest first (the receiver's to fill).
    std::deque<Held> &held() { return m_held; }
    const std::deque<Held> &held() const { return m_held; }
    // The record lines of the rows, then those of the held records: all that
    // a save of the display writes.
    QStringList allRecordLines() const;

    // The oldest rows that are in no records file: shown before autosave was
    // turned on and kept there. Clearing them must be asked even with
    // autosave on.
    int unfiledCount() const { return m_unfiled; }
    void setUnfiledCount(int n) { m_unfiled = qBound(0, n, count()); }

    // The receiver tells each record as it takes it, whether it enters the
    // display at once or waits for room, so that watchers of the line (the
    // alarm) see every record when it arrives, in arrival order.
    void announceTaken(const QString &recordLine, bool incorrect) { Q_EMIT taken(recordLine, incorrect); }

Q_SIGNALS:
    // Rows have just been taken off the display, by whatever command: there
    // is room again for records that wait.
    void emptied();
    void taken(const QString &recordLine, bool incorrect);

private:
    QStringList m_records;
    QStringList m_display;
    std::deque<Held> m_held;
    int m_unfiled = 0;
};

} // namespace gt
