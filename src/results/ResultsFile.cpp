#include "ResultsFile.h"

#include "ResultsLayout.h"
#include "TextFile.h"
#include "WorkAside.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>

namespace gt::results {

namespace {
// Lines are encoded and written a block at a time, so that a report of a
// million results never needs all its bytes at once.
constexpr qsizetype kBlock = 1 << 16;

bool writeAll(QSaveFile &file, const QByteArray &bytes, QString *reason)
{
    const qint64 count = file.write(bytes);
    if (count == bytes.size())
        return true;
    *reason = count >= 0 ? shortWriteReason() : file.errorString();
    return false;
}
} // namespace

bool writeResultsReport(const QString &path, const SearchCriteria &criteria, const ResultLines &lines,
                        const QDateTime &savedAt, QString *error)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write shows in the count write() returns.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QString reason;
    bool ok = true;
    // A million results take a moment to write: they are written aside.
    runAside([&] {
        QByteArray block = encodeTextLines(search::resultsReportHead(criteria, savedAt));
        for (int i = 0; ok && i < lines.count(); ++i) {
            block += lines.line(i).toLatin1();
            block += "\r\n";
            if (block.size() >= kBlock) {
                ok = writeAll(file, block, &reason);
                block.clear();
            }
        }
        ok = ok && writeAll(file, block, &reason);
    });
    if (ok && !file.commit()) {
        ok = false;
        reason = file.errorString();
    }
    if (!ok) {
        if (file.isOpen())
            file.cancelWriting();
        if (error)
            *error = reason.isEmpty() ? QStringLiteral("write failed") : reason;
    }
    return ok;
}

QString resultsWriteFailureMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("The search results file %1 could not be written:\r\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace gt::results
