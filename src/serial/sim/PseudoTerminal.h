#pragma once

#include <QByteArray>
#include <QString>

namespace gt::panel {

// A pseudo-terminal pair standing in for a serial line: bytes written to the
// panel side arrive on the device at devicePath(), which the receiver opens
// like any serial port. Both sides are kept open for the pair's life, so that
// the device does not hang up between the receiver's opens.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Makes the pair, in raw mode so that no byte is translated or echoed
    // even before the receiver sets its own line settings.
    bool open(QString *error = nullptr);
    void close();
    bool isOpen() const { return m_panel >= 0; }

    QString devicePath() const { return m_device; }
    // Publishes the device under a fixed name (a symbolic link, replaced if
    // it exists).
    bool link(const QString &linkPath, QString *error = nullptr);

    // Writes all bytes in one write call where the system allows it.
    bool write(const QByteArray &bytes, QString *error = nullptr);
    // Bytes written but not yet read by the device's reader.
    int unread() const;

    int panelFd() const { return m_panel; }

private:
    int m_panel = -1;
    int m_deviceFd = -1;
    QString m_device;
};

// Writes all bytes to a file descriptor, retrying short writes.
bool writeAll(int fd, const QByteArray &bytes, QString *error = nullptr);

} // namespace gt::panel
