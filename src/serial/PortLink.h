#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <sys/types.h>

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
    // Whether the last open failed because this user may not use the device
    // (as opposed to its not being there, or being busy).
    virtual bool openDenied() const { return false; }

Q_SIGNALS:
    void readyRead();
    // The open line failed for good (adapter unplugged, device error); the
    // port should be closed and opened again later.
    void lost(const QString &reason);
};

// The line through QSerialPort.
class SerialPortLink : public PortLink
{
    Q_OBJECT
public:
    // How often an open line is checked for a device that went away without
    // a word (its name now leads elsewhere or nowhere).
    static constexpr int kWatchMs = 1000;

    explicit SerialPortLink(QObject *parent = nullptr);
    ~SerialPortLink() override;

    bool open(const QString &device, QString *error) override;
    void close() override;
    bool isOpen() const override;
    QByteArray readAll() override;
    bool openDenied() const override { return m_denied; }

private:
    // Why the open line is gone, judged by the device itself: hung up, or
    // its name no longer leads to the device that was opened. Empty while
    // the line is fine.
    QString goneReason() const;
    void onError(int error);
    // Tells the loss once, from the event loop (never from inside
    // QSerialPort's own read handler, which closing would pull away).
    void lose(const QString &reason);

    QSerialPort *m_port;
    QTimer *m_rearm;
    QTimer *m_watch;
    // The name opened (a link such as /dev/serial/by-id/... included) and
    // the device node it led to, to tell a re-plugged or replaced one.
    QString m_path;
    dev_t m_device = 0;
    // Failed reads since bytes last came: a device that keeps failing
    // without hanging up is lost too, rather than polled forever.
    int m_failedReads = 0;
    bool m_losing = false;
    bool m_denied = false;
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
    bool openDenied() const override { return refuseOpen.isEmpty() ? false : refuseAsDenied; }

    // Bytes arrive on the line (only while open) and readyRead is raised.
    void receive(const QByteArray &bytes);
    // The open line drops with this reason.
    void drop(const QString &reason);

    // While set, every open fails with this reason; refuseAsDenied makes it
    // a refusal for lack of permission.
    QString refuseOpen;
    bool refuseAsDenied = false;
    QString openedDevice;
    int openCount = 0;

private:
    QByteArray m_pending;
    bool m_open = false;
};

} // namespace gt
