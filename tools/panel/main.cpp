// gatetally-panel: a simulated door access-control panel. It writes panel
// messages to a serial device or to a pseudo-terminal of its own, for
// installers checking the wiring, for the demo, for tests and benchmarks.

#include "PanelSim.h"
#include "PseudoTerminal.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

const char kUsage[] =
    "Usage: gatetally-panel (--device PATH | --pty [--link PATH]) [options]\n"
    "Simulated door access-control panel: writes 16-character panel messages\n"
    "(entry point, blank, status V/N/F, blank, 3-character facility code, blank,\n"
    "6-character card number, blank, carriage return) to a serial line.\n"
    "\n"
    "Where the messages go:\n"
    "  --device PATH     write to PATH (a serial device, set to 1200 baud 8N1,\n"
    "                    or any file)\n"
    "  --pty             create a pseudo-terminal, print the path of its device\n"
    "                    side on the first line of standard output, and write to\n"
    "                    it; Gatetally listens with --port PATH. Before exiting,\n"
    "                    waits until everything written has been read.\n"
    "  --link PATH       with --pty: also publish the device as the symbolic\n"
    "                    link PATH (replaced if it exists)\n"
    "\n"
    "Pace (one of):\n"
    "  (default)         the pace of a 1200-baud line: each write is followed by\n"
    "                    the time its bytes take on the line (8.3 ms a byte)\n"
    "  --interval MS     wait MS milliseconds after each write\n"
    "  --burst           write everything as fast as the line takes it\n"
    "\n"
    "What is sent:\n"
    "  --count N         send N messages (default: the script's lines once, or\n"
    "                    without end for generated messages)\n"
    "  --seed N          seed of the generated messages (default: the clock);\n"
    "                    the same seed gives the same messages\n"
    "  --script FILE     send the lines of FILE instead, each as it stands\n"
    "                    followed by a carriage return (line ends CR LF or LF);\n"
    "                    with --count the script is repeated as needed\n"
    "\n"
    "Faults, each on every Nth message (messages count from 1):\n"
    "  --split N         the message goes out in three writes of 5, 10 and the\n"
    "                    remaining characters\n"
    "  --merge N         the message and what follows it (the next message) go\n"
    "                    out in one write\n"
    "  --short N         the message loses its 15th character (15 characters)\n"
    "  --long N          the message gets one more blank before its carriage\n"
    "                    return (17 characters)\n"
    "  --noise N         after the message, a write of the 11 characters\n"
    "                    #~*NOISE*~# without a carriage return\n"
    "  --bad-status N    the status character (3rd) becomes X\n"
    "\n"
    "  --record FILE     also write a copy of every byte sent to FILE, for\n"
    "                    checking afterwards what the receiver made of it\n"
    "\n"
    "  --help            show this help and exit\n";

struct Options
{
    QString device;
    bool pty = false;
    QString link;
    int interval = -1; // -1: line pace
    bool burst = false;
    qint64 count = -1; // -1: default
    bool seeded = false;
    quint32 seed = 0;
    QString script;
    QString record;
    gt::panel::Faults faults;
    bool help = false;
};

int fail(const QString &text)
{
    std::fprintf(stderr, "gatetally-panel: %s\n", qPrintable(text));
    return 2;
}

bool parse(const QStringList &args, Options *o, QString *error)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString arg = args.at(i);
        auto value = [&](QString *out) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("option %1 needs a value").arg(arg);
                return false;
            }
            *out = args.at(++i);
            return true;
        };
        auto number = [&](qint64 *out, qint64 minimum) {
            QString text;
            if (!value(&text))
                return false;
            bool ok = false;
            *out = text.toLongLong(&ok);
            if (!ok || *out < minimum) {
                *error = QStringLiteral("option %1 needs a number of at least %2").arg(arg).arg(minimum);
                return false;
            }
            return true;
        };
        auto every = [&](int *out) {
            qint64 n = 0;
            if (!number(&n, 1))
                return false;
            *out = int(qMin<qint64>(n, 1 << 30));
            return true;
        };
        qint64 n = 0;
        bool ok = true;
        if (arg == QLatin1String("--device"))
            ok = value(&o->device);
        else if (arg == QLatin1String("--pty"))
            o->pty = true;
        else if (arg == QLatin1String("--link"))
            ok = value(&o->link);
        else if (arg == QLatin1String("--interval")) {
            ok = number(&n, 0);
            o->interval = int(qMin<qint64>(n, 1 << 30));
        } else if (arg == QLatin1String("--burst"))
            o->burst = true;
        else if (arg == QLatin1String("--count"))
            ok = number(&o->count, 0);
        else if (arg == QLatin1String("--seed")) {
            ok = number(&n, 0);
            o->seed = quint32(n);
            o->seeded = true;
        } else if (arg == QLatin1String("--script"))
            ok = value(&o->script);
        else if (arg == QLatin1String("--record"))
            ok = value(&o->record);
        else if (arg == QLatin1String("--split"))
            ok = every(&o->faults.split);
        else if (arg == QLatin1String("--merge"))
            ok = every(&o->faults.merge);
        else if (arg == QLatin1String("--short"))
            ok = every(&o->faults.shortMsg);
        else if (arg == QLatin1String("--long"))
            ok = every(&o->faults.longMsg);
        else if (arg == QLatin1String("--noise"))
            ok = every(&o->faults.noise);
        else if (arg == QLatin1String("--bad-status"))
            ok = every(&o->faults.badStatus);
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            o->help = true;
        else {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return false;
        }
        if (!ok)
            return false;
    }
    if (o->help)
        return true;
    if (o->pty == !o->device.isEmpty()) {
        *error = QStringLiteral("give either --device PATH or --pty");
        return false;
    }
    if (!o->link.isEmpty() && !o->pty) {
        *error = QStringLiteral("--link needs --pty");
        return false;
    }
    if (o->burst && o->interval >= 0) {
        *error = QStringLiteral("give either --burst or --interval");
        return false;
    }
    return true;
}

// Where the bytes go: an opened device or file, or our own pseudo-terminal.
class Line
{
public:
    bool openDevice(const QString &path, QString *error)
    {
        struct stat st {};
        const QByteArray name = QFile::encodeName(path);
        const bool regular = ::stat(name.constData(), &st) != 0 || S_ISREG(st.st_mode);
        m_fd = ::open(name.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (regular ? O_CREAT | O_TRUNC : 0), 0644);
        if (m_fd < 0) {
            *error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (::isatty(m_fd)) {
            termios tio{};
            if (::tcgetattr(m_fd, &tio) == 0) {
                cfmakeraw(&tio);
                cfsetispeed(&tio, B1200);
                cfsetospeed(&tio, B1200);
                tio.c_cflag |= CLOCAL;
                tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
                ::tcsetattr(m_fd, TCSANOW, &tio);
            }
        }
        return true;
    }

    bool openPty(const QString &link, QString *error)
    {
        if (!m_pty.open(error))
            return false;
        if (!link.isEmpty() && !m_pty.link(link, error))
            return false;
        std::printf("%s\n", qPrintable(m_pty.devicePath()));
        std::fflush(stdout);
        return true;
    }

    bool write(const QByteArray &bytes, QString *error)
    {
        return m_pty.isOpen() ? m_pty.write(bytes, error) : gt::panel::writeAll(m_fd, bytes, error);
    }

    void finish()
    {
        if (m_pty.isOpen()) {
            // Closing the pseudo-terminal hangs its device up and throws away
            // what is unread, so wait until the reader has taken everything.
            int quiet = 0;
            while (quiet < 3) {
                quiet = m_pty.unread() == 0 ? quiet + 1 : 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            m_pty.close();
        } else if (m_fd >= 0) {
            if (::isatty(m_fd))
                ::tcdrain(m_fd);
            ::close(m_fd);
        }
    }

private:
    int m_fd = -1;
    gt::panel::PseudoTerminal m_pty;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Options o;
    QString error;
    if (!parse(QCoreApplication::arguments(), &o, &error))
        return fail(error + QStringLiteral("\nTry 'gatetally-panel --help'."));
    if (o.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    QList<QByteArray> script;
    if (!o.script.isEmpty()) {
        QFile f(o.script);
        if (!f.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("%1: %2").arg(o.script, f.errorString()));
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            QByteArray l = lines.at(i);
            if (i == lines.size() - 1 && l.isEmpty())
                break; // the file's last line end
            if (l.endsWith('\r'))
                l.chop(1);
            script.append(l + '\r');
        }
        if (script.isEmpty())
            return fail(QStringLiteral("%1 holds no messages").arg(o.script));
    }
    const qint64 total = o.count >= 0 ? o.count : (script.isEmpty() ? -1 : script.size());
    const quint32 seed = o.seeded ? o.seed : quint32(QDateTime::currentMSecsSinceEpoch());
    gt::panel::Generator generator(seed);

    QFile record(o.record);
    if (!o.record.isEmpty() && !record.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(QStringLiteral("%1: %2").arg(o.record, record.errorString()));

    Line line;
    if (!(o.pty ? line.openPty(o.link, &error) : line.openDevice(o.device, &error)))
        return fail(error);

    qint64 sent = 0;
    while (total < 0 || sent < total) {
        // A batch ends on a message that is not merged with the next one, so
        // a merge never falls across two batches.
        QList<QByteArray> batch;
        while ((total < 0 || sent + batch.size() < total)
               && (batch.size() < 64
                   || (o.faults.merge > 0 && (sent + batch.size()) % o.faults.merge == 0))) {
            const qint64 i = sent + batch.size();
            batch.append(script.isEmpty() ? generator.next() : script.at(int(i % script.size())));
        }
        const QList<QByteArray> writes = gt::panel::writes(batch, o.faults, int(sent + 1));
        for (const QByteArray &w : writes) {
            if (!line.write(w, &error))
                return fail(error);
            if (record.isOpen() && record.write(w) != w.size())
                return fail(QStringLiteral("%1: %2").arg(o.record, record.errorString()));
            if (o.burst)
                continue;
            const qint64 waitMs = o.interval >= 0 ? o.interval : 0;
            const qint64 waitUs = o.interval >= 0 ? waitMs * 1000 : qint64(w.size()) * 10 * 1000000 / 1200;
            std::this_thread::sleep_for(std::chrono::microseconds(waitUs));
        }
        sent += batch.size();
    }
    line.finish();
    return 0;
}
