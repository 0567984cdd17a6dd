#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace gt {

// Long work on the user-interface thread (reading a big records file) that
// keeps the program alive: a busy cursor from the start, the events that
// are waiting (records arriving on the serial line) let through every few
// milliseconds, and past half a second a progress dialog whose Cancel stops
// the work. Until the dialog is up, the operator's own input waits, so that
// no command can start in the middle.
class BusyWork
{
public:
    BusyWork(QWidget *parent, const QString &label);
    ~BusyWork();
    BusyWork(const BusyWork &) = delete;
    BusyWork &operator=(const BusyWork &) = delete;

    // Reports how far the work is; false when the operator cancelled.
    bool progress(qint64 done, qint64 total);

private:
    QWidget *m_parent;
    QString m_label;
    QElapsedTimer m_started;
    QElapsedTimer m_sinceEvents;
    QPointer<QProgressDialog> m_dialog;
    bool m_cancelled = false;
};

} // namespace gt
