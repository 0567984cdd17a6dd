// Any command line for gatetally-search: it ends with an exit status of 0, 1
// or 2, never a crash or a hang. Arguments are the input's pieces between NUL
// bytes; they may name the records file and the names file that lie in the
// working folder, and nothing outside it.
#include "FuzzInput.h"
#include "SearchCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace gt;

namespace {
void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fuzz::fail("cannot write the fuzz folder");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "gatetally-search";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    static std::FILE *sink = std::fopen("/dev/null", "w");
    static bool ready = false;
    if (!ready) {
        write(QDir(dir.path()).filePath(QStringLiteral("r.txt")),
              "\r\n    DATE         TIME     ENTRY   STATUS     CODE    NUMBER\r\n\r\n"
              "  3/7/2006    9:01:05 AM    1    VALID        123    004567\r\n"
              "  3/7/2006   12:01:05 PM    2    NOT VALID    045    000012\r\n");
        write(QDir(dir.path()).filePath(QStringLiteral("setup.txt")), "CommPort=1\r\nautosave=F\r\nx\r\nFRONT\r\nDOOR\r\n");
        QDir::setCurrent(dir.path());
        ready = true;
    }

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.contains('/'))
        return 0; // files outside the folder (devices among them) are not this target's business
    QStringList args{QStringLiteral("gatetally-search")};
    fuzz::Input in(data, size);
    while (!in.atEnd())
        args.append(in.text('\0'));
    const int status = search::runSearchCommand(args, sink, sink);
    if (status < 0 || status > 2)
        fuzz::fail("an exit status other than 0, 1 or 2");
    return 0;
}
