#include "GatetallyApp.h"
#include "Options.h"
#include "RunLocks.h"
#include "Version.h"
#include "WidgetPrompts.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The end of the desktop session reaches the program as a signal (SIGTERM
// from the session or a shutdown, SIGHUP when its terminal goes). The
// handler only wakes the event loop; the run then ends as a confirmed Exit
// does, so the records file gets its exit marker and nothing is cut short.
int g_sessionEnd[2] = {-1, -1};

void onSessionSignal(int)
{
    const char c = 1;
    (void)!::write(g_sessionEnd[0], &c, 1);
}

void watchSessionEnd(gt::GatetallyApp &gatetally)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_sessionEnd) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_sessionEnd[1], QSocketNotifier::Read, &gatetally);
    QObject::connect(notifier, &QSocketNotifier::activated, &gatetally, [&gatetally] {
        char c;
        while (::read(g_sessionEnd[1], &c, 1) > 0) {
        }
        gatetally.endSession();
    });
    struct sigaction sa{};
    sa.sa_handler = onSessionSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(sig, &sa, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    // Options are read before the GUI starts, so --help and --version work
    // without a display.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const gt::Options options = gt::parseOptions(args);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "gatetally: %s\n", qPrintable(options.error));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(gt::usageText()), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s\n", qPrintable(gt::versionText()));
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gatetally"));
    QApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(QLatin1String(gt::version::kText));
    QApplication::setQuitOnLastWindowClosed(false);

    gt::WidgetPrompts prompts;
    gt::RunLocks locks;
    gt::GatetallyApp gatetally(options, prompts);
    gatetally.lockDevice = [&locks](const QString &device) { return locks.lockDevice(device); };
    // The run may end before the main loop starts: the session's end while a
    // start-up box is open. exit(), unlike quit(), also ends that box's loop;
    // the main loop is then not started at all.
    bool ended = false;
    QObject::connect(&gatetally, &gt::GatetallyApp::finished, &app, [&ended] {
        ended = true;
        QCoreApplication::exit(0);
    });
    watchSessionEnd(gatetally);
    // Logging out asks each program to close its windows: that is the end
    // of the run, not a question the operator might never see.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &gatetally, [&gatetally](QSessionManager &) {
        gatetally.endSession();
    });
    QString refused = locks.lockDataFolder(gatetally.state().dataDir);
    if (refused.isEmpty())
        refused = gatetally.start();
    if (!refused.isEmpty()) {
        std::fprintf(stderr, "gatetally: %s\n", qPrintable(refused));
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
            prompts.inform(refused, gt::Prompts::Icon::Warning);
        return 1;
    }
    return ended ? 0 : app.exec();
}
