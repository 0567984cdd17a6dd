#include "RecordSource.h"

#include "RecordLine.h"
#include "RecordsFile.h"
#include "TextFile.h"

#include <QFile>
#include <cstring>

namespace gt::search {

bool isRecordLine(const char *line, qsizetype length)
{
    return length == kRecordLineLength && std::memcmp(line + length - 6, "NUMBER", 6) != 0;
}

bool loadRecordLines(const QString &path, QStringList *lines, QString *error)
{
    QStringList all;
    if (!readTextLines(path, &all, error))
        return false;
    lines->clear();
    for (const QString &line : std::as_const(all)) {
        if (records::isRecordLine(line))
            lines->append(line);
    }
    return true;
}

bool scanRecordLines(const QString &path, const std::function<void(const char *, qsizetype)> &visit, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // Lines are split on LF with one CR before it dropped, as every other
    // reader of records files does; a last line without a line end counts.
    constexpr qsizetype kBlock = 4 << 20;
    QByteArray buffer(kBlock, Qt::Uninitialized);
    qsizetype held = 0; // bytes of an unfinished line kept at the front
    for (;;) {
        if (held == buffer.size())
            buffer.resize(buffer.size() * 2); // a line longer than a block
        const qint64 got = file.read(buffer.data() + held, buffer.size() - held);
        if (got < 0) {
            if (error)
                *error = file.errorString();
            return false;
        }
        const char *data = buffer.constData();
        const qsizetype end = held + got;
        qsizetype start = 0;
        while (start < end) {
            const void *lf = std::memchr(data + start, '\n', size_t(end - start));
            if (!lf)
                break;
            const qsizetype stop = static_cast<const char *>(lf) - data;
            qsizetype textEnd = stop;
            if (textEnd > start && data[textEnd - 1] == '\r')
                --textEnd;
            if (isRecordLine(data + start, textEnd - start))
                visit(data + start, textEnd - start);
            start = stop + 1;
        }
        held = end - start;
        if (got == 0) {
            if (held > 0) {
                qsizetype textEnd = end;
                if (data[textEnd - 1] == '\r')
                    --textEnd;
                if (isRecordLine(data + start, textEnd - start))
                    visit(data + start, textEnd - start);
            }
            return true;
        }
        if (held > 0 && start > 0)
            std::memmove(buffer.data(), data + start, size_t(held));
    }
}

} // namespace gt::search
