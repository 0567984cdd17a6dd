#include "PseudoTerminal.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace gt::panel {

namespace {
QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }
} // namespace

PseudoTerminal::~PseudoTerminal() { close(); }

bool PseudoTerminal::open(QString *error)
{
    close();
    int panel = -1;
    int device = -1;
    char name[256] = {};
    termios tio{};
    cfmakeraw(&tio);
    cfsetispeed(&tio, B1200);
    cfsetospeed(&tio, B1200);
    tio.c_cflag |= CLOCAL | CREAD;
    if (::openpty(&panel, &device, name, &tio, nullptr) != 0) {
        if (error)
            *error = systemError();
        return false;
    }
    ::fcntl(panel, F_SETFD, FD_CLOEXEC);
    ::fcntl(device, F_SETFD, FD_CLOEXEC);
    m_panel = panel;
    m_deviceFd = device;
    m_device = QString::fromLocal8Bit(name);
    return true;
}

void PseudoTerminal::close()
{
    if (m_panel >= 0)
        ::close(m_panel);
    if (m_deviceFd >= 0)
        ::close(m_deviceFd);
    m_panel = -1;
    m_deviceFd = -1;
    m_device.clear();
}

bool PseudoTerminal::link(const QString &linkPath, QString *error)
{
    const QByteArray target = QFile::encodeName(m_device);
    const QByteArray path = QFile::encodeName(linkPath);
    // Made beside the link and renamed over it, so a reader never finds the
    // name missing.
    const QByteArray temp = path + ".new";
    ::unlink(temp.constData());
    if (::symlink(target.constData(), temp.constData()) != 0 || ::rename(temp.constData(), path.constData()) != 0) {
        if (error)
            *error = systemError();
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

bool PseudoTerminal::write(const QByteArray &bytes, QString *error)
{
    if (m_panel < 0) {
        if (error)
            *error = QStringLiteral("the pseudo-terminal is not open");
        return false;
    }
    return writeAll(m_panel, bytes, error);
}

int PseudoTerminal::unread() const
{
    int n = 0;
    if (m_deviceFd < 0 || ::ioctl(m_deviceFd, TIOCINQ, &n) != 0)
        return 0;
    return n;
}

bool writeAll(int fd, const QByteArray &bytes, QString *error)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                ::usleep(1000);
                continue;
            }
            if (error)
                *error = systemError();
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace gt::panel
