#include "IntakeCheck.h"

#include "MessageAssembler.h"
#include "RecordLayout.h"
#include "RecordLine.h"

#include <QDateTime>
#include <QRegularExpression>

namespace gt {

QStringList stampedLines(const QStringList &fileLines)
{
    static const QRegularExpression stamp(QStringLiteral("^ *\\d{1,2}/\\d{1,2}/\\d{4} +\\d{1,2}:\\d{2}:\\d{2} [AP]M"));
    QStringList out;
    for (const QString &l : fileLines) {
        if (l.size() >= kStampWidth && stamp.match(l).hasMatch())
            out.append(l);
    }
    return out;
}

IntakeCheck checkIntake(const QByteArray &sent, const QStringList &fileLines)
{
    IntakeCheck c;
    MessageAssembler assembler;
    const QList<PanelMessage> messages = assembler.feed(sent);
    const QStringList records = stampedLines(fileLines);
    c.messages = messages.size();
    c.pending = assembler.pending().size();
    c.records = records.size();
    const QDateTime anyTime(QDate(2000, 1, 1), QTime(0, 0));
    for (qsizetype i = 0; i < messages.size(); ++i) {
        c.malformed += messages.at(i).incorrect;
        if (i >= records.size())
            continue;
        // Everything after the stamp is what the message held.
        const QString expected = buildRecordLine(messages.at(i).text, anyTime).mid(kStampWidth);
        if (records.at(i).mid(kStampWidth) != expected && ++c.differing <= 5)
            c.examples.append(QStringLiteral("record %1: kept \"%2\", sent \"%3\"")
                                  .arg(i + 1)
                                  .arg(records.at(i), messages.at(i).text));
    }
    auto stampOf = [](const QString &record) {
        return QDateTime::fromString(record.left(kStampWidth).simplified(), QStringLiteral("M/d/yyyy h:mm:ss AP"));
    };
    for (qsizetype i = 1; i < records.size(); ++i) {
        const QDateTime a = stampOf(records.at(i - 1)), b = stampOf(records.at(i));
        c.backwards += b < a;
        c.midnights += b.date() > a.date();
    }
    return c;
}

} // namespace gt
