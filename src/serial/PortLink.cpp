#include "PortLink.h"

#include <QSerialPort>
#include <QTimer>

#include <cerrno>
#include <cstring>

namespace gt {

bool isLostLine(int error, const QString &errorString)
{
    switch (QSerialPort::SerialPortError(error)) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::UnknownError: {
        // A read woken with nothing to read fails with "try again" (seen on
        // pseudo-terminals about once a minute): the line is fine, and taking
        // it for lost would close it and drop what arrives until it reopens.
        for (int transient : {EAGAIN, EWOULDBLOCK, EINTR}) {
            if (errorString == QString::fromLocal8Bit(std::strerror(transient)))
                return false;
        }
        return true;
    }
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
        return true;
    default:
        return false;
    }
}

SerialPortLink::SerialPortLink(QObject *parent)
    : PortLink(parent), m_port(new QSerialPort(this)), m_rearm(new QTimer(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &PortLink::readyRead);
    // A read that failed with "try again" makes QSerialPort stop watching
    // the line; reading from it again (the receiver's answer to readyRead)
    // starts the watch again. Not at once: a pseudo-terminal can go on
    // reporting a hang-up while it still carries data, and every new watch
    // would wake the program again at once. A tenth of a second later costs
    // nothing (the line is 120 bytes a second, the system keeps thousands).
    m_rearm->setSingleShot(true);
    m_rearm->setInterval(100);
    connect(m_rearm, &QTimer::timeout, this, [this] {
        if (m_port->isOpen())
            Q_EMIT readyRead();
    });
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // Only errors of an open line that cannot recover by themselves count
        // as a lost line; a timeout or a failed open is not one.
        if (!m_port->isOpen() || error == QSerialPort::NoError)
            return;
        if (isLostLine(error, m_port->errorString())) {
            Q_EMIT lost(m_port->errorString());
            return;
        }
        m_port->clearError();
        m_rearm->start();
    });
}

SerialPortLink::~SerialPortLink() { close(); }

bool SerialPortLink::open(const QString &device, QString *error)
{
    close();
    m_port->setPortName(device);
    // Settings before open are applied by QSerialPort as the port opens.
    m_port->setBaudRate(QSerialPort::Baud1200);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadOnly)) {
        if (error)
            *error = m_port->errorString();
        m_port->clearError();
        return false;
    }
    return true;
}

void SerialPortLink::close()
{
    m_rearm->stop();
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
