// gatetally-soakcheck: compares what a panel sent (gatetally-panel --record)
// with the records a run of Gatetally kept in its autosave file. Every
// carriage return sent must be one record, in order, carrying what the
// message held; the stamps are counted where they step backwards (a clock
// put back) or across midnight.
//
//   gatetally-soakcheck SENT RECORDS
#include "MessageAssembler.h"
#include "RecordLayout.h"
#include "RecordLine.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>

using namespace gt;

namespace {

// Record lines of a records file: every line that starts with a stamp, of
// whatever length (a message of the wrong length makes a shorter or longer one).
QStringList recordsIn(const QStringList &lines)
{
    static const QRegularExpression stamp(QStringLiteral("^ *\\d{1,2}/\\d{1,2}/\\d{4} +\\d{1,2}:\\d{2}:\\d{2} [AP]M"));
    QStringList out;
    for (const QString &l : lines) {
        if (l.size() >= kStampWidth && stamp.match(l).hasMatch())
            out.append(l);
    }
    return out;
}

QDateTime stampOf(const QString &record)
{
    return QDateTime::fromString(record.left(kStampWidth).simplified(), QStringLiteral("M/d/yyyy h:mm:ss AP"));
}

} // namespace

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
    const QByteArray sent = sentFile.readAll();
    QStringList lines;
    QString error;
    if (!readTextLines(args.at(2), &lines, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args.at(2)), qPrintable(error));
        return 2;
    }

    MessageAssembler assembler;
    const QList<PanelMessage> messages = assembler.feed(sent);
    const QStringList records = recordsIn(lines);
    int incorrect = 0;
    int mismatches = 0;
    const QDateTime anyTime(QDate(2000, 1, 1), QTime(0, 0));
    for (int i = 0; i < messages.size() && i < records.size(); ++i) {
        incorrect += messages.at(i).incorrect;
        // Everything after the stamp is what the message held.
        const QString expected = buildRecordLine(messages.at(i).text, anyTime).mid(kStampWidth);
        if (records.at(i).mid(kStampWidth) != expected) {
            if (++mismatches <= 5)
                std::printf("record %d differs:\n  kept     %s\n  expected %s\n", i + 1,
                            qPrintable(records.at(i)), qPrintable(records.at(i).left(kStampWidth) + expected));
        }
    }
    int backwards = 0;
    int midnights = 0;
    for (int i = 1; i < records.size(); ++i) {
        const QDateTime a = stampOf(records.at(i - 1)), b = stampOf(records.at(i));
        backwards += b < a;
        midnights += b.date() > a.date();
    }

    std::printf("messages sent (carriage returns): %lld\n", qlonglong(messages.size()));
    std::printf("  of which malformed:             %d\n", incorrect);
    std::printf("bytes left without a return:      %lld\n", qlonglong(assembler.pending().size()));
    std::printf("records in the file:              %lld\n", qlonglong(records.size()));
    std::printf("records that differ:              %d\n", mismatches);
    std::printf("stamps stepping back / midnights: %d / %d\n", backwards, midnights);
    const bool ok = records.size() == messages.size() && mismatches == 0;
    std::printf("%s\n", ok ? "every message sent is in the file, in order" : "RECORDS LOST OR CHANGED");
    return ok ? 0 : 1;
}
