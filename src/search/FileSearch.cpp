#include "FileSearch.h"

#include "RecordSource.h"

#include <QElapsedTimer>

#include <memory>

namespace gt::search {

FileSearch::FileSearch(QObject *parent) : QObject(parent) {}

FileSearch::~FileSearch() { cancel(); }

void FileSearch::cancel()
{
    if (!m_thread)
        return;
    m_cancel = true;
    ++m_generation;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

void FileSearch::start(const QString &path, const Matcher &matcher)
{
    cancel();
    m_cancel = false;
    const quint64 generation = m_generation;
    // Told through this thread's events, and only while the search is still
    // the one running: a cancelled search says nothing, even if it ended
    // just before it was cancelled.
    const auto tell = [this, generation](auto &&signal) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, signal] {
                if (generation == m_generation)
                    signal();
            },
            Qt::QueuedConnection);
    };
    const auto tellDone = [this, tell](const SearchResults &found, const QString &error) {
        tell([this, found, error] { Q_EMIT finished(found, error); });
    };
    m_thread = QThread::create([this, path, matcher, tell, tellDone] {
        // The results read their lines from this same open file, so that
        // they stay those found even if the file is replaced meanwhile.
        auto file = std::make_shared<QFile>(path);
        QString error;
        if (!detail::openForScan(*file, &error)) {
            tellDone(SearchResults(), error);
            return;
        }
        QVector<qint64> starts;
        QElapsedTimer sinceTold;
        sinceTold.start();
        const bool read = scanRecordPlaces(
            *file, matcher.requiredText(),
            [&](const char *line, qsizetype length, qint64 at) {
                if (matcher.matches(line, length))
                    starts.append(at);
            },
            [&](qint64 done, qint64 total) {
                if (sinceTold.elapsed() >= 40) {
                    sinceTold.restart();
                    tell([this, done, total] { Q_EMIT progress(done, total); });
                }
                return !m_cancel.load(std::memory_order_relaxed);
            },
            &error);
        if (m_cancel)
            return;
        // The file is read and closed on this object's thread from now on.
        file->moveToThread(thread());
        if (read)
            tellDone(SearchResults(std::move(file), std::move(starts)), QString());
        else
            tellDone(SearchResults(), error);
    });
    m_thread->start();
}

} // namespace gt::search
