#include "RunMarker.h"

#include "Clock.h"
#include "Paths.h"
#include "RecordLayout.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace gt {

namespace {

const QString kStartedPrefix = QStringLiteral("started ");

} // namespace

QString RunMarker::path(const QString &dataDir)
{
    return QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("gatetally.run")));
}

QString RunMarker::begin(const QDateTime &now, const QString &recordsFile, QString *problem)
{
    const QString marker = path(m_dataDir);
    QString note;
    QStringList left;
    if (QFileInfo::exists(marker)) {
        readTextLines(marker, &left);
        QString started;
        if (!left.isEmpty() && left.first().startsWith(kStartedPrefix))
            started = left.first().mid(kStartedPrefix.size());
        note = uncleanNote(started, recordsFileName(m_dataDir, recordsFile), lastRecordStamp(recordsFile),
                           QFileInfo(recordsFile).isFile());
    }
    QString reason;
    const QStringList lines{kStartedPrefix + formatDate(now.date()) + QLatin1Char(' ') + formatTime(now.time()),
                            QStringLiteral("process %1").arg(QCoreApplication::applicationPid())};
    m_marked = replaceTextLines(marker, lines, &reason);
    if (!m_marked && problem)
        *problem = writeFailureNote(marker, reason);
    return note;
}

void RunMarker::finish()
{
    if (m_marked)
        QFile::remove(path(m_dataDir));
    m_marked = false;
}

QString RunMarker::lastRecordStamp(const QString &recordsFile)
{
    QFile file(recordsFile);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // Only the end is read: a records file may be gigabytes. A run that
    // started many times without a record leaves markers only, so the tail
    // read grows until it reaches a record or the start of the file.
    const qint64 size = file.size();
    for (qint64 chunk = 8192;; chunk *= 4) {
        const qint64 from = qMax<qint64>(0, size - chunk);
        if (!file.seek(from))
            return QString();
        const QByteArray tail = file.read(size - from);
        QStringList lines = splitTextLines(tail);
        // The first line of a tail that does not start the file may be cut.
        if (from > 0 && !lines.isEmpty())
            lines.removeFirst();
        for (auto l = lines.crbegin(); l != lines.crend(); ++l) {
            if (isRecordLine(*l))
                return l->mid(kDateColumn, kDateWidth).trimmed() + QLatin1Char(' ')
                    + l->mid(kTimeColumn, kTimeWidth).trimmed();
        }
        if (from == 0)
            return QString();
    }
}

QString RunMarker::uncleanNote(const QString &started, const QString &fileName, const QString &lastRecord,
                               bool fileExists)
{
    QString note = started.isEmpty()
        ? QStringLiteral("The last run of Gatetally ended without Exit (it was stopped or crashed).")
        : QStringLiteral("The last run of Gatetally, started %1, ended without Exit (it was stopped or crashed).")
              .arg(started);
    if (!fileExists)
        return note + QStringLiteral(" The records file %1 does not exist.").arg(fileName);
    if (lastRecord.isEmpty())
        return note + QStringLiteral(" The records file %1 holds no record.").arg(fileName);
    return note + QStringLiteral(" The last record in %1 was written %2.").arg(fileName, lastRecord);
}

QString RunMarker::writeFailureNote(const QString &path, const QString &reason)
{
    return QStringLiteral("The run marker %1 could not be written (%2): a run that ends without Exit "
                          "cannot be told at the next start.")
        .arg(path, reason);
}

} // namespace gt
