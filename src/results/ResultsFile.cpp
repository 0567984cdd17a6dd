#include "ResultsFile.h"

#include "ResultsLayout.h"
#include "TextFile.h"
#include "WorkAside.h"

#include <QDateTime>
#include <QDir>

namespace gt::results {

namespace {
// Lines are encoded and written a block at a time, so that a report of a
// million results never needs all its bytes at once.
constexpr qsizetype kBlock = 1 << 16;
} // namespace

bool writeResultsReport(const QString &path, const SearchCriteria &criteria, const ResultLines &lines,
                        const QDateTime &savedAt, QString *error)
{
    ReplacingFile file(path);
    QString reason;
    bool ok = file.open(&reason);
    // A million results take a moment to write: they are written aside.
    if (ok) {
        runAside([&] {
            QByteArray block = encodeTextLines(search::resultsReportHead(criteria, savedAt));
            for (int i = 0; ok && i < lines.count(); ++i) {
                block += lines.line(i).toLatin1();
                block += "\r\n";
                if (block.size() >= kBlock) {
                    ok = file.write(block, &reason);
                    block.clear();
                }
            }
            ok = ok && file.write(block, &reason);
        });
    }
    ok = ok && file.commit(&reason);
    if (!ok && error)
        *error = reason.isEmpty() ? QStringLiteral("write failed") : reason;
    return ok;
}

QString resultsWriteFailureMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("The search results file %1 could not be written:\r\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace gt::results
