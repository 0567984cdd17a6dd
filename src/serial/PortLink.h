#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;
class QTimer;

namespace gt {

// What the receiver needs of a serial line: open a device, read whatever has
// arrived, and hear when bytes arrive or the line goes away. The real one
// wraps QSerialPort; tests and benchmarks feed an in-memory one.
class PortLink : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the device at 1200 baud, 8 data bits, no parity, 1 stop bit.
    // On failure returns false with a readable reason in *error.
    virtual bool open(const QString &device, QString *error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Everything received since the last read, removed from the port.
    virtual QByteArray readAll() = 0;

Q_SIGNALS:
    void readyRead();
    // The open line failed for good (adapter unplugged, device error); the
    // port should be closed and opened again later.
    void lost(const QString &reason);
};

// Whether an error QSerialPort reports on an open line (its SerialPortError
// and error text) means the line is gone: an adapter unplugged, a device
// error. A read that only has to be tried again is not.
bool isLostLine(int serialPortError, const QString &errorString);

// The line through QSerialPort.
class SerialPortLink : public PortLink
{
    Q_OBJECT
public:
    explicit SerialPortLink(QObject *parent = nullptr);
    ~SerialPortLink() override;

    bool open(const QString &device, QString *error) override;
    void close() override;
    bool isOpen() const override;
    QByteArray readAll() override;

private:
    QSerialPort *m_port;
    QTimer *m_rearm;
};

// A line held in memory: tests and benchmarks push bytes in and make opens
// fail or the line drop on purpose.
class MemoryPortLink : public PortLink
{
    Q_OBJECT
public:
    using PortLink::PortLink;

    bool open(const QString &device, QString *error) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QByteArray readAll() override;

    // Bytes arrive on the line (only while open) and readyRead is raised.
    void receive(const QByteArray &bytes);
    // The open line drops with this reason.
    void drop(const QString &reason);

    // While set, every open fails with this reason.
    QString refuseOpen;
    QString openedDevice;
    int openCount = 0;

private:
    QByteArray m_pending;
    bool m_open = false;
};

} // namespace gt
