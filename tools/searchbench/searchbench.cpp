// gatetally-searchbench: times the search of a full main display, the way
// the displayed-records screen runs it, over the first 32500 record lines of
// a records file (see bench/search.sh).
//
//   gatetally-searchbench [--rounds N] FILE

#include "RecordLine.h"
#include "RecordSource.h"
#include "SearchCriteria.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

using namespace gt::search;

namespace {

struct Case
{
    const char *name;
    Entries entries;
};

Entries dated(const QString &month, const QString &day, const QString &year)
{
    Entries e;
    e.fromMonth = e.toMonth = month;
    e.fromDay = e.toDay = day;
    e.fromYear = e.toYear = year;
    return e;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption roundsOpt(QStringLiteral("rounds"), QStringLiteral("Searches per case."),
                                       QStringLiteral("N"), QStringLiteral("50"));
    parser.addOption(roundsOpt);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Records file."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        return 2;
    const int rounds = qMax(1, parser.value(roundsOpt).toInt());

    QStringList lines;
    QString reason;
    if (!loadRecordLines(parser.positionalArguments().constFirst(), &lines, &reason)) {
        std::fprintf(stderr, "%s\n", reason.toLocal8Bit().constData());
        return 1;
    }
    const QStringList display = lines.mid(0, gt::kDisplayCapacity);
    if (display.isEmpty())
        return 1;

    // The date of the display's first record, so the date cases find lines.
    qint64 firstDay = 0;
    Matcher::readDate(display.constFirst(), &firstDay);
    const QDate first = QDate::fromJulianDay(firstDay);
    const QString m = QString::number(first.month()), d = QString::number(first.day()),
                  y = QString::number(first.year());

    QList<Case> cases;
    Entries card = dated(m, d, y);
    card.cardKeyless = display.at(display.size() / 2).right(gt::kCardWidth).trimmed();
    cases.append({"card number", card});
    Entries facility = dated(m, d, y);
    facility.facility = QStringLiteral("107");
    cases.append({"facility code", facility});
    Entries status = dated(m, d, y);
    status.status = QStringLiteral("VALID");
    status.entryPoint = QStringLiteral("3");
    cases.append({"status and entry point", status});
    Entries range = dated(m, d, y);
    range.toDay = QString::number(first.addDays(2).day());
    range.toMonth = QString::number(first.addDays(2).month());
    range.toYear = QString::number(first.addDays(2).year());
    range.fromHour = QStringLiteral("9");
    range.toHour = QStringLiteral("5");
    range.toAM = false;
    cases.append({"three-day range", range});

    std::printf("display of %lld records, %d rounds each\n", static_cast<long long>(display.size()), rounds);
    for (const Case &c : std::as_const(cases)) {
        QList<double> times;
        qsizetype found = 0;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer timer;
            timer.start();
            const Outcome out = runSearch(Twin::Displayed, c.entries, gt::SearchCriteria(), display);
            times.append(double(timer.nsecsElapsed()) / 1e6);
            if (!out.succeeded()) {
                std::fprintf(stderr, "%s: %s\n", c.name, out.message.toLocal8Bit().constData());
                return 1;
            }
            found = out.results.size();
        }
        std::sort(times.begin(), times.end());
        std::printf("%-24s %7lld found   median %7.3f ms   max %7.3f ms\n", c.name, static_cast<long long>(found),
                    times.at(times.size() / 2), times.constLast());
    }
    return 0;
}
