// gatetally-startbench: the program's own start, as main() makes it, up to
// the first paint of the sign-on screen (see bench/run).
//
//   gatetally-startbench --data-dir DIR
//
// Prints the wall clock (CLOCK_REALTIME, in nanoseconds) at that first paint
// and the peak resident memory then, in KiB; the caller takes the clock just
// before starting the process, so that loading the libraries is counted.

#include "../common/PeakMemory.h"
#include "GatetallyApp.h"
#include "Options.h"
#include "WidgetPrompts.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

// Stops at the first paint of the sign-on screen.
struct SignOnPainted : QObject
{
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && o->objectName() == QLatin1String("frmSignOn")) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("%lld ns %ld KiB\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                        gt::bench::peakKiB());
            std::fflush(stdout);
            std::_Exit(0); // nothing after the first paint is being measured
        }
        return QObject::eventFilter(o, e);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const gt::Options options = gt::parseOptions(args);
    if (!options.error.isEmpty())
        return 2;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gatetally"));
    QApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QApplication::setQuitOnLastWindowClosed(false);
    SignOnPainted painted;
    app.installEventFilter(&painted);
    gt::WidgetPrompts prompts;
    gt::GatetallyApp gatetally(options, prompts);
    gatetally.start();
    QTimer::singleShot(30000, &app, [] { std::_Exit(1); }); // never painted
    return app.exec();
}
