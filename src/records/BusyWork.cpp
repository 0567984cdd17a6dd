#include "BusyWork.h"

#include <QApplication>
#include <QCursor>
#include <QProgressDialog>

namespace gt {

namespace {
constexpr qint64 kDialogAfterMs = 500;
constexpr qint64 kEventsEveryMs = 20;
constexpr int kSteps = 1000;
} // namespace

BusyWork::BusyWork(QWidget *parent, const QString &label) : m_parent(parent), m_label(label)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_started.start();
    m_sinceEvents.start();
}

BusyWork::~BusyWork()
{
    delete m_dialog;
    QApplication::restoreOverrideCursor();
}

bool BusyWork::progress(qint64 done, qint64 total)
{
    if (m_cancelled)
        return false;
    if (!m_dialog && m_started.elapsed() >= kDialogAfterMs) {
        m_dialog = new QProgressDialog(m_label, QStringLiteral("Cancel"), 0, kSteps, m_parent);
        m_dialog->setObjectName(QStringLiteral("dlgProgress"));
        m_dialog->setWindowTitle(QStringLiteral("Gatetally"));
        // Modal, so that nothing but Cancel takes the operator's input
        // while the events go on being handled.
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
    }
    if (m_sinceEvents.elapsed() >= kEventsEveryMs) {
        m_sinceEvents.restart();
        if (m_dialog) {
            m_dialog->setValue(total > 0 ? int(qMin<qint64>(kSteps, done * kSteps / total)) : 0);
            QCoreApplication::processEvents();
        } else {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    m_cancelled = m_dialog && m_dialog->wasCanceled();
    return !m_cancelled;
}

} // namespace gt
