// gatetally-genrecords: writes a records file such as autosave makes, with
// made-up records, for tests and benchmarks of the search.
//
//   gatetally-genrecords [--records N] [--start M/D/YYYY] [--per-day N] [--seed S] OUT
//
// Records follow each other evenly through each day, `--per-day` of them a
// day from midnight of the start date; every day begins with a sign-on
// marker, as a PC switched on each morning writes. Entry points 1 to 9;
// statuses mostly VALID; 20 facility codes 101 to 120; card numbers drawn
// from 5000 cards. The same seed always gives the same file.

#include "RecordLine.h"
#include "RecordsFile.h"
#include "TextFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <cstdio>

namespace {

// A small fixed generator, so that files are the same on every machine.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed * 2654435761u + 1) {}
    quint32 next(quint32 bound)
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return quint32(m_state % bound);
    }

private:
    quint64 m_state;
};

int fail(const QString &message)
{
    std::fprintf(stderr, "gatetally-genrecords: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a records file of made-up records."));
    parser.addHelpOption();
    const QCommandLineOption recordsOpt(QStringLiteral("records"), QStringLiteral("Number of records."),
                                        QStringLiteral("N"), QStringLiteral("32500"));
    const QCommandLineOption startOpt(QStringLiteral("start"), QStringLiteral("First day, M/D/YYYY."),
                                      QStringLiteral("date"), QStringLiteral("3/1/2006"));
    const QCommandLineOption perDayOpt(QStringLiteral("per-day"), QStringLiteral("Records a day."),
                                       QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption seedOpt(QStringLiteral("seed"), QStringLiteral("Seed of the made-up values."),
                                     QStringLiteral("S"), QStringLiteral("1"));
    parser.addOptions({recordsOpt, startOpt, perDayOpt, seedOpt});
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The records file to write."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("one output file is needed"));

    bool ok = true;
    const qint64 count = parser.value(recordsOpt).toLongLong(&ok);
    if (!ok || count < 0)
        return fail(QStringLiteral("--records wants a number"));
    const qint64 perDay = parser.value(perDayOpt).toLongLong(&ok);
    if (!ok || perDay < 1 || perDay > 86400)
        return fail(QStringLiteral("--per-day wants a number from 1 to 86400"));
    const quint64 seed = parser.value(seedOpt).toULongLong(&ok);
    if (!ok)
        return fail(QStringLiteral("--seed wants a number"));
    const QDate start = QDate::fromString(parser.value(startOpt), QStringLiteral("M/d/yyyy"));
    if (!start.isValid())
        return fail(QStringLiteral("--start wants a date such as 3/1/2006"));

    QFile file(parser.positionalArguments().constFirst());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(file.errorString());

    Random random(seed);
    const char statuses[] = {'V', 'V', 'V', 'V', 'V', 'V', 'V', 'V', 'N', 'F'};
    const qint64 step = 86400 / perDay;
    QByteArray out = gt::encodeTextLines(gt::records::autosaveHeader(QDateTime(start, QTime(0, 0))));
    for (qint64 i = 0; i < count; ++i) {
        const qint64 day = i / perDay;
        const qint64 inDay = i % perDay;
        const QDateTime when(start.addDays(day), QTime(0, 0).addSecs(int(inDay * step + random.next(quint32(step)))));
        if (inDay == 0 && day > 0)
            out += gt::encodeTextLines(gt::records::signOnMarker(QDateTime(when.date(), QTime(0, 0))));
        const QString message = QStringLiteral("%1 %2 %3 %4")
                                    .arg(1 + random.next(9))
                                    .arg(QLatin1Char(statuses[random.next(10)]))
                                    .arg(101 + random.next(20))
                                    .arg(random.next(5000) * 17 % 1000000, 6, 10, QLatin1Char('0'));
        out += gt::buildRecordLine(message, when).toLatin1();
        out += "\r\n";
        if (out.size() > (1 << 20)) {
            if (file.write(out) != out.size())
                return fail(file.errorString());
            out.clear();
        }
    }
    if (file.write(out) != out.size() || !file.flush())
        return fail(file.errorString());
    return 0;
}
