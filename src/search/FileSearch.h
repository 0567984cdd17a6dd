#pragma once

#include "Matching.h"
#include "SearchResults.h"

#include <QObject>
#include <QThread>

#include <atomic>

namespace gt::search {

// Searches a stored records file on a thread of its own, with the engine of
// the command-line search: the file's bytes are scanned, never turned into
// strings, and the lines found are handed over as their places in the file.
// Progress and the outcome come by queued signals to the thread that made
// the search. Destroying it stops the work.
class FileSearch : public QObject
{
    Q_OBJECT
public:
    explicit FileSearch(QObject *parent = nullptr);
    ~FileSearch() override;

    // Starts a search of `path` for the record lines `matcher` keeps; a
    // search still running is stopped first.
    void start(const QString &path, const Matcher &matcher);
    // Stops the search; nothing more is told of it.
    void cancel();

Q_SIGNALS:
    void progress(qint64 done, qint64 total);
    // The lines found, in file order; `error` (the system's reason) is empty
    // unless the file could not be read.
    void finished(const gt::SearchResults &found, const QString &error);

private:
    QThread *m_thread = nullptr;
    std::atomic<bool> m_cancel{false};
    quint64 m_generation = 0; // of the search running; read and changed on this object's thread only
};

} // namespace gt::search

