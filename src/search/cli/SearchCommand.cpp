#include "SearchCommand.h"

#include "ActivityCounts.h"
#include "Clock.h"
#include "CsvRecords.h"
#include "FieldRules.h"
#include "RecordLine.h"
#include "RecordSource.h"
#include "ResultsLayout.h"
#include "SearchCriteria.h"
#include "TextFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace gt;
using namespace gt::search;

namespace {

constexpr int kReadFailure = 1;
constexpr int kRefused = 2;

int refuse(std::FILE *err, const QString &message)
{
    std::fprintf(err, "%s\n", message.toLocal8Bit().constData());
    return kRefused;
}

// Fills one row from "M/D/YYYY H:MM AM"; parts may be left out from the end
// (a date alone leaves the time empty, as an untouched time box does).
bool parseRow(const QString &text, QString &month, QString &day, QString &year, QString &hour, QString &minute,
              bool &am)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d*)/(\d*)/(\d*)(?:\s+(\d*)(?::(\d*))?)?(?:\s*([AaPp][Mm]))?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    month = m.captured(1);
    day = m.captured(2);
    year = m.captured(3);
    hour = m.captured(4);
    minute = m.captured(5);
    am = m.captured(6).isEmpty() || m.captured(6).at(0).toUpper() == QLatin1Char('A');
    return true;
}

// The report on standard output. A write that fails or stops short (a full
// disk, /dev/full) is remembered, and nothing more is written after it.
class Output
{
public:
    explicit Output(std::FILE *file) : m_file(file) {}
    ~Output() { flush(); }
    void line(const QString &text)
    {
        m_bytes += text.toLatin1();
        m_bytes += "\r\n";
        if (m_bytes.size() >= (1 << 16))
            flush();
    }
    void flush()
    {
        errno = 0;
        if (!m_failed && !m_bytes.isEmpty()
            && std::fwrite(m_bytes.constData(), 1, size_t(m_bytes.size()), m_file) != size_t(m_bytes.size()))
            fail();
        m_bytes.clear();
    }
    bool failed() const { return m_failed; }
    // Everything written so far has reached the file.
    bool finish()
    {
        flush();
        errno = 0;
        if (!m_failed && (std::fflush(m_file) != 0 || std::ferror(m_file)))
            fail();
        return !m_failed;
    }
    QString reason() const { return m_reason; }

private:
    void fail()
    {
        m_failed = true;
        m_reason = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("short write");
    }

    std::FILE *m_file;
    QByteArray m_bytes;
    bool m_failed = false;
    QString m_reason;
};

} // namespace

namespace gt::search {

int runSearchCommand(const QStringList &arguments, std::FILE *output, std::FILE *err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Searches the record lines of records files and prints the search-results report.\n"
        "\n"
        "Several files are searched in the order given, under one report head: for each\n"
        "file a line \"Records file: FILE\", then its records or the no-results line;\n"
        "an empty line comes before each file after the first. A file that cannot be read\n"
        "is told on standard error (and in its part of the report), the others are still\n"
        "searched, and the exit status is 1.\n"
        "\n"
        "--csv prints the records found as CSV instead: a header row, then one row a\n"
        "record: date,time,entry,status,facility,card, with entry_name after entry when\n"
        "--names is given and file first when several files are searched. Dates are\n"
        "YYYY-MM-DD, times HH:MM:SS on the 24-hour clock, the status as stored (VALID,\n"
        "NOT VALID, OFF or the panel's character); a date or time that cannot be read\n"
        "is given as it stands. Fields holding a comma, a double quote or a line break\n"
        "are quoted as RFC 4180 asks; rows end in CR LF.\n"
        "\n"
        "--histogram hour|entry prints how many of the records found there are, by\n"
        "status (VALID, NOT VALID, OFF, other), for each of the 24 hours up to the hour\n"
        "of the newest record, or for each entry point: the counts the activity view\n"
        "draws.\n"
        "\n"
        "Exit status: 0 done, 1 a file could not be read or the output could not be\n"
        "written, 2 the criteria or the command line were refused."));
    parser.addHelpOption();
    const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("Start of the range, \"M/D/YYYY H:MM AM\"."),
                                  QStringLiteral("when"));
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("End of the range, \"M/D/YYYY H:MM AM\"."),
                                QStringLiteral("when"));
    const QCommandLineOption entry(QStringLiteral("entry"), QStringLiteral("Entry point number."), QStringLiteral("N"));
    const QCommandLineOption status(QStringLiteral("status"), QStringLiteral("VALID, NOT VALID or OFF."),
                                    QStringLiteral("WORD"));
    const QCommandLineOption facility(QStringLiteral("facility"), QStringLiteral("Three-digit facility code."),
                                      QStringLiteral("CODE"));
    const QCommandLineOption card(QStringLiteral("card"), QStringLiteral("Card or keyless number."),
                                  QStringLiteral("NUMBER"));
    const QCommandLineOption names(QStringLiteral("names"),
                                   QStringLiteral("Show entry point names from this settings file."),
                                   QStringLiteral("SETUP.TXT"));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("Print the records found as CSV rows instead of the report."));
    const QCommandLineOption histogram(QStringLiteral("histogram"),
                                       QStringLiteral("Print the records found counted per hour or per entry point."),
                                       QStringLiteral("hour|entry"));
    parser.addOptions({from, to, entry, status, facility, card, names, csv, histogram});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The records files to search, in this order."),
                                 QStringLiteral("FILE..."));
    if (!parser.parse(arguments))
        return refuse(err, QStringLiteral("gatetally-search: ") + parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), output);
        return 0;
    }
    const QString histogramKind = parser.value(histogram);
    if (parser.isSet(histogram) && histogramKind != QLatin1String("hour") && histogramKind != QLatin1String("entry"))
        return refuse(err, QStringLiteral("gatetally-search: --histogram wants hour or entry"));
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty())
        return refuse(err, QStringLiteral("gatetally-search: a records file is needed\n") + parser.helpText());

    // A file of the program's own is searched like the stored-file screen
    // searches one: a timed search needs both ends, and no date means no time.
    Entries e;
    if (parser.isSet(from)
        && !parseRow(parser.value(from), e.fromMonth, e.fromDay, e.fromYear, e.fromHour, e.fromMin, e.fromAM))
        return refuse(err, QStringLiteral("gatetally-search: --from wants a date and time such as \"3/7/2006 9:05 AM\""));
    if (parser.isSet(to) && !parseRow(parser.value(to), e.toMonth, e.toDay, e.toYear, e.toHour, e.toMin, e.toAM))
        return refuse(err, QStringLiteral("gatetally-search: --to wants a date and time such as \"3/7/2006 10:30 PM\""));
    e.entryPoint = parser.value(entry);
    e.status = parser.value(status);
    e.facility = parser.value(facility);
    e.cardKeyless = parser.value(card);

    // Each text is held to the rules its field keeps while the operator types.
    for (Field f : textFields()) {
        const FieldRule rule = fieldRule(f, Twin::Stored);
        const QString &text = e.text(f);
        if (!rule.acceptsText(text))
            return refuse(err, rule.keyMessage);
        const QString problem = rule.changeProblem(text);
        if (!problem.isEmpty())
            return refuse(err, problem);
    }

    // Counting needs no criteria: without any, every record is counted.
    const bool anyCriterion = parser.isSet(from) || parser.isSet(to) || parser.isSet(entry) || parser.isSet(status)
        || parser.isSet(facility) || parser.isSet(card);
    Outcome checked;
    if (anyCriterion || !parser.isSet(histogram)) {
        checked = checkSearch(Twin::Stored, e, SearchCriteria());
        if (!checked.succeeded())
            return refuse(err, checked.message);
    }

    DisplayMode displayMode = kNumberMode;
    QStringList entryNames(101);
    if (parser.isSet(names)) {
        QStringList setup;
        QString reason;
        if (!readTextLines(parser.value(names), &setup, &reason)) {
            std::fprintf(err, "gatetally-search: %s: %s\n", parser.value(names).toLocal8Bit().constData(),
                         reason.toLocal8Bit().constData());
            return kReadFailure;
        }
        for (int i = 0; i < 100 && 3 + i < setup.size(); ++i)
            entryNames[i] = setup.at(3 + i);
        displayMode = kNameMode;
    }

    const QDateTime now = Clock().now();
    Output out(output);
    const Matcher &matcher = checked.matcher;
    const QByteArray needle = matcher.requiredText();
    const bool several = paths.size() > 1;
    int exitStatus = 0;

    // Hands each record line of the file that the search keeps to `found`,
    // until the output fails. A file that cannot be read is told with the
    // system's reason, after what was already printed of it.
    QString reason;
    const auto searchFile = [&](const QString &path, auto &&found) {
        const bool read = scanRecordLinesHolding(
            path, needle,
            [&](const char *line, qsizetype length) {
                if (!out.failed() && matcher.matches(line, length))
                    found(QString::fromLatin1(line, length));
            },
            &reason);
        if (!read) {
            out.flush();
            std::fprintf(err, "gatetally-search: %s: %s\n", path.toLocal8Bit().constData(),
                         reason.toLocal8Bit().constData());
            exitStatus = kReadFailure;
        }
        return read;
    };

    if (parser.isSet(histogram)) {
        // The records of every file given, counted together.
        activity::ActivityCounter counter;
        for (const QString &path : paths)
            searchFile(path, [&](const QString &line) { counter.add(line, recordLineStatus(line)); });
        const auto kind = histogramKind == QLatin1String("hour") ? activity::Histogram::Hour : activity::Histogram::Entry;
        for (const QString &l : activity::histogramText(counter.result(), kind))
            out.line(l);
    } else if (parser.isSet(csv)) {
        const CsvColumns columns{several, parser.isSet(names)};
        out.line(csvHeaderRow(columns));
        for (const QString &path : paths) {
            if (out.failed())
                break;
            searchFile(path, [&](const QString &line) { out.line(csvRecordRow(line, columns, path, entryNames)); });
        }
    } else if (!several) {
        // One file: the report as the results screens save it, with its head
        // held back until something is found, so that a file that cannot be
        // opened prints nothing.
        bool headWritten = false;
        const bool read = searchFile(paths.constFirst(), [&](const QString &line) {
            if (!headWritten) {
                for (const QString &l : resultsReportHead(checked.criteria, now))
                    out.line(l);
                headWritten = true;
            }
            out.line(MakeDisplayLine(line, displayMode, entryNames));
        });
        if (!read)
            return kReadFailure;
        if (!headWritten) {
            for (const QString &l : resultsReport(checked.criteria, {}, now))
                out.line(l);
        }
    } else {
        // Several files: one head, then each file's part under its name, so
        // that every record shows where it came from.
        for (const QString &l : resultsReportHead(checked.criteria, now))
            out.line(l);
        for (qsizetype i = 0; i < paths.size() && !out.failed(); ++i) {
            const QString &path = paths.at(i);
            if (i > 0)
                out.line(QString());
            out.line(QStringLiteral("Records file: ") + path);
            bool any = false;
            const bool read = searchFile(path, [&](const QString &line) {
                any = true;
                out.line(MakeDisplayLine(line, displayMode, entryNames));
            });
            if (!read)
                out.line(QString(10, QLatin1Char(' ')) + QStringLiteral("This file could not be read: ") + reason);
            else if (!any)
                out.line(noResultsLine());
        }
    }
    if (!out.finish()) {
        std::fprintf(err, "gatetally-search: the %s could not be written: %s\n",
                     parser.isSet(csv) ? "CSV" : "report", out.reason().toLocal8Bit().constData());
        return kReadFailure;
    }
    return exitStatus;
}

} // namespace gt::search
