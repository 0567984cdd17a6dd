#include "WorkAside.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

namespace gt {

void runAside(const std::function<void()> &work)
{
    QEventLoop loop;
    const std::unique_ptr<QThread> thread(QThread::create(work));
    // Queued to this thread, so a quick end is not missed before the wait starts.
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
}

} // namespace gt
