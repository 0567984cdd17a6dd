#include "RecordSource.h"

#include "TextFile.h"

namespace gt::search {

bool loadRecordLines(const QString &path, QStringList *lines, QString *error)
{
    QStringList all;
    if (!readTextLines(path, &all, error))
        return false;
    lines->clear();
    for (const QString &line : std::as_const(all)) {
        if (isRecordLine(line))
            lines->append(line);
    }
    return true;
}

namespace detail {

bool openForScan(QFile &file, QString *error)
{
    if (file.open(QIODevice::ReadOnly))
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool readFailed(QFile &file, QString *error)
{
    if (error)
        *error = file.errorString();
    return false;
}

} // namespace detail

} // namespace gt::search
