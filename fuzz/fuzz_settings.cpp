// Any bytes as setup.txt: the loader takes a port from 1 to 16 and 100 names
// or falls back on the defaults, and what it took survives a rewrite.
#include "FuzzInput.h"
#include "Settings.h"
#include "State.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace gt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString setup = QDir(dir.path()).filePath(QStringLiteral("setup.txt"));
    {
        QFile f(setup);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fuzz::fail("cannot write the input file");
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }

    GatetallyState first(dir.path());
    loadSettings(first);
    if (first.intCommPort < 1 || first.intCommPort > 16)
        fuzz::fail("port outside 1 to 16");
    if (first.strEntryNames.size() != 101)
        fuzz::fail("the names table changed size");

    QString error;
    if (!rewriteSettings(first, SettingsChange(), &error))
        fuzz::fail("a rewrite of loaded settings failed");
    GatetallyState second(dir.path());
    loadSettings(second);
    if (second.intCommPort != first.intCommPort || second.blnAutosave != first.blnAutosave
        || second.strEntryNames != first.strEntryNames)
        fuzz::fail("settings changed across a rewrite");
    return 0;
}
