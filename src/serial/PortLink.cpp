#include "PortLink.h"

#include <QFile>
#include <QSerialPort>
#include <QTimer>

#include <cerrno>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gt {

namespace {

// Read failures in a row, with no byte between them, after which a line that
// has not hung up is taken for lost all the same.
constexpr int kFailedReadLimit = 20;

} // namespace

SerialPortLink::SerialPortLink(QObject *parent)
    : PortLink(parent), m_port(new QSerialPort(this)), m_rearm(new QTimer(this)), m_watch(new QTimer(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        m_failedReads = 0;
        Q_EMIT readyRead();
    });
    // A read that came back empty without a hang-up (a wake-up with nothing
    // to read) can leave QSerialPort no longer watching the line. Setting
    // the buffer size starts the watch again; not at once, so that a line
    // that keeps waking the program costs a wake-up a tenth of a second, not
    // a busy loop.
    m_rearm->setSingleShot(true);
    m_rearm->setInterval(100);
    connect(m_rearm, &QTimer::timeout, this, [this] {
        if (!m_port->isOpen())
            return;
        m_port->setReadBufferSize(m_port->readBufferSize());
        if (m_port->bytesAvailable() > 0)
            Q_EMIT readyRead();
    });
    m_watch->setInterval(kWatchMs);
    connect(m_watch, &QTimer::timeout, this, [this] {
        const QString gone = goneReason();
        if (!gone.isEmpty())
            lose(gone);
    });
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onError(int(error)); });
}

void SerialPortLink::onError(int error)
{
    // Errors of a failed open, or of a line already closed, are not a loss.
    if (!m_port->isOpen() || error == QSerialPort::NoError || error == QSerialPort::TimeoutError || m_losing)
        return;
    // QSerialPort words a read that returned nothing from errno, which such
    // a read leaves as an earlier call set it: its code and text may say
    // "try again" for a line that hung up. The device itself tells.
    QString gone = goneReason();
    if (gone.isEmpty() && ++m_failedReads >= kFailedReadLimit)
        gone = m_port->errorString();
    if (!gone.isEmpty()) {
        lose(gone);
        return;
    }
    m_port->clearError();
    m_rearm->start();
}

QString SerialPortLink::goneReason() const
{
    const int fd = m_port->handle();
    if (fd < 0)
        return QStringLiteral("the device is closed");
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return QStringLiteral("the device hung up");
    struct stat st{};
    if (::stat(QFile::encodeName(m_path).constData(), &st) != 0)
        return QStringLiteral("the device is gone");
    if (st.st_rdev != m_device)
        return QStringLiteral("its name now leads to another device");
    return QString();
}

void SerialPortLink::lose(const QString &reason)
{
    if (m_losing)
        return;
    m_losing = true;
    m_watch->stop();
    m_rearm->stop();
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            const bool open = m_port->isOpen() && m_losing;
            m_losing = false;
            if (open)
                Q_EMIT lost(reason);
        },
        Qt::QueuedConnection);
}

SerialPortLink::~SerialPortLink() { close(); }

bool SerialPortLink::open(const QString &device, QString *error)
{
    close();
    m_port->setPortName(device);
    m_path = device;
    // Settings before open are applied by QSerialPort as the port opens.
    m_port->setBaudRate(QSerialPort::Baud1200);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_denied = false;
    if (!m_port->open(QIODevice::ReadOnly)) {
        if (error)
            *error = m_port->errorString();
        // QSerialPort says PermissionError for a lock held elsewhere too:
        // the device itself tells whether this user may read it.
        m_denied = m_port->error() == QSerialPort::PermissionError
            && ::access(QFile::encodeName(device).constData(), R_OK) != 0 && errno == EACCES;
        m_port->clearError();
        return false;
    }
    struct stat st{};
    m_device = ::fstat(m_port->handle(), &st) == 0 ? st.st_rdev : 0;
    m_failedReads = 0;
    m_losing = false;
    m_watch->start();
    return true;
}

void SerialPortLink::close()
{
    m_rearm->stop();
    m_watch->stop();
    m_losing = false;
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

bool SerialPortLink::isOpen() const { return m_port->isOpen(); }

QByteArray SerialPortLink::readAll() { return m_port->readAll(); }

bool MemoryPortLink::open(const QString &device, QString *error)
{
    ++openCount;
    if (!refuseOpen.isEmpty()) {
        if (error)
            *error = refuseOpen;
        return false;
    }
    m_open = true;
    openedDevice = device;
    return true;
}

void MemoryPortLink::close()
{
    m_open = false;
    m_pending.clear();
}

QByteArray MemoryPortLink::readAll()
{
    QByteArray out;
    out.swap(m_pending);
    return out;
}

void MemoryPortLink::receive(const QByteArray &bytes)
{
    if (!m_open)
        return;
    m_pending += bytes;
    Q_EMIT readyRead();
}

void MemoryPortLink::drop(const QString &reason)
{
    if (m_open)
        Q_EMIT lost(reason);
}

} // namespace gt
