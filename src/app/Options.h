#pragma once

#include <QString>
#include <QStringList>

namespace gt {

struct Options
{
    QString dataDir; // empty: the default data folder
    QString port;    // empty: the port named in setup.txt
    bool demo = false;
    bool help = false;
    bool version = false;
    QString error;   // set when the command line could not be understood
};

Options parseOptions(const QStringList &arguments);
QString usageText();
QString versionText();

// The program's own folder when it may be written to, else the per-user
// application data folder.
QString defaultDataDir();

} // namespace gt
