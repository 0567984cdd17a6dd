#include "Options.h"

#include "Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace gt {

QString usageText()
{
    return QStringLiteral(
        "Usage: gatetally [options]\n"
        "Quorvel Gatetally: records every card or keyless code presented at a door\n"
        "access-control panel wired to this PC by a serial line.\n"
        "\n"
        "Options:\n"
        "  --data-dir DIR   folder of setup.txt and the Records folder\n"
        "                   (default: the program's folder, or the per-user\n"
        "                   application data folder when that is not writable)\n"
        "  --port DEVICE    listen on DEVICE (for example /dev/ttyUSB0) instead of\n"
        "                   the adapter or Comm port chosen, until a port is applied in\n"
        "                   Setup > Comm Port\n"
        "  --demo           listen to a built-in simulated panel\n"
        "  --help           show this help and exit\n"
        "  --version        show the version and exit\n");
}

QString versionText() { return QStringLiteral("Gatetally ") + QLatin1String(version::kText); }

Options parseOptions(const QStringList &arguments)
{
    Options o;
    for (int i = 1; i < arguments.size(); ++i) {
        QString arg = arguments.at(i);
        QString value;
        bool hasInlineValue = false;
        const int eq = arg.indexOf(QLatin1Char('='));
        if (arg.startsWith(QLatin1String("--")) && eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasInlineValue = true;
        }
        auto takeValue = [&](QString *target) {
            if (!hasInlineValue) {
                if (i + 1 >= arguments.size()) {
                    o.error = QStringLiteral("Option %1 needs a value.").arg(arg);
                    return;
                }
                value = arguments.at(++i);
            }
            if (value.isEmpty())
                o.error = QStringLiteral("Option %1 needs a value.").arg(arg);
            *target = value;
        };
        if (arg == QLatin1String("--data-dir"))
            takeValue(&o.dataDir);
        else if (arg == QLatin1String("--port"))
            takeValue(&o.port);
        else if (arg == QLatin1String("--demo") && !hasInlineValue)
            o.demo = true;
        else if ((arg == QLatin1String("--help") || arg == QLatin1String("-h")) && !hasInlineValue)
            o.help = true;
        else if (arg == QLatin1String("--version") && !hasInlineValue)
            o.version = true;
        else
            o.error = QStringLiteral("Unknown option: %1").arg(arguments.at(i));
        if (!o.error.isEmpty())
            break;
    }
    if (!o.dataDir.isEmpty())
        o.dataDir = QDir(o.dataDir).absolutePath();
    if (!o.error.isEmpty())
        o.error += QStringLiteral("\nTry 'gatetally --help' for the options.");
    return o;
}

QString defaultDataDir()
{
    const QDir own(QCoreApplication::applicationDirPath());
    // An installed program shares its folder with every other program of the
    // system (and root could write there): its data belongs to the user.
    const bool installed = QFileInfo::exists(own.filePath(QStringLiteral("../share/applications/gatetally.desktop")));
    if (!installed) {
        QTemporaryFile probe(own.filePath(QStringLiteral(".gatetally-write-test-XXXXXX")));
        if (probe.open())
            return own.path();
    }
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace gt
