// gatetally-soakcheck: compares what a panel sent (gatetally-panel --record)
// with the records a run of Gatetally kept in its autosave file, and prints
// the figures.
//
//   gatetally-soakcheck SENT RECORDS
#include "IntakeCheck.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

using namespace gt;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: gatetally-soakcheck SENT RECORDS\n");
        return 2;
    }
    QFile sentFile(args.at(1));
    if (!sentFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args.at(1)), qPrintable(sentFile.errorString()));
        return 2;
    }
    QStringList lines;
    QString error;
    if (!readTextLines(args.at(2), &lines, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args.at(2)), qPrintable(error));
        return 2;
    }
    const IntakeCheck c = checkIntake(sentFile.readAll(), lines);
    for (const QString &e : c.examples)
        std::printf("%s\n", qPrintable(e));
    std::printf("messages sent (carriage returns): %lld\n", qlonglong(c.messages));
    std::printf("  of which malformed:             %lld\n", qlonglong(c.malformed));
    std::printf("bytes left without a return:      %lld\n", qlonglong(c.pending));
    std::printf("records in the file:              %lld\n", qlonglong(c.records));
    std::printf("records that differ:              %d\n", c.differing);
    std::printf("stamps stepping back / midnights: %d / %d\n", c.backwards, c.midnights);
    std::printf("%s\n", c.whole() ? "every message sent is in the file, in order" : "RECORDS LOST OR CHANGED");
    return c.whole() ? 0 : 1;
}
