#include "GatetallyApp.h"
#include "Options.h"
#include "Version.h"
#include "WidgetPrompts.h"

#include <QApplication>
#include <cstdio>

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
    gt::GatetallyApp gatetally(options, prompts);
    QObject::connect(&gatetally, &gt::GatetallyApp::finished, &app, &QApplication::quit);
    gatetally.start();
    return app.exec();
}
