#include "SearchCommand.h"

#include "Clock.h"
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
        "Searches the record lines of a records file and prints the search-results report."));
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
    parser.addOptions({from, to, entry, status, facility, card, names});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The records file to search."));
    if (!parser.parse(arguments))
        return refuse(err, QStringLiteral("gatetally-search: ") + parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), output);
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return refuse(err, QStringLiteral("gatetally-search: one records file is needed\n") + parser.helpText());
    const QString path = parser.positionalArguments().constFirst();

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

    const Outcome checked = checkSearch(Twin::Stored, e, SearchCriteria());
    if (!checked.succeeded())
        return refuse(err, checked.message);

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
    bool headWritten = false;
    const Matcher &matcher = checked.matcher;
    QString reason;
    const bool read = scanRecordLines(
        path,
        [&](const char *line, qsizetype length) {
            if (out.failed() || !matcher.matches(line, length))
                return;
            if (!headWritten) {
                for (const QString &l : resultsReportHead(checked.criteria, now))
                    out.line(l);
                headWritten = true;
            }
            out.line(MakeDisplayLine(QString::fromLatin1(line, length), displayMode, entryNames));
        },
        &reason);
    if (!read) {
        out.flush();
        std::fprintf(err, "gatetally-search: %s: %s\n", path.toLocal8Bit().constData(),
                     reason.toLocal8Bit().constData());
        return kReadFailure;
    }
    if (!headWritten) {
        for (const QString &l : resultsReport(checked.criteria, {}, now))
            out.line(l);
    }
    if (!out.finish()) {
        std::fprintf(err, "gatetally-search: the report could not be written: %s\n",
                     out.reason().toLocal8Bit().constData());
        return kReadFailure;
    }
    return 0;
}

} // namespace gt::search
