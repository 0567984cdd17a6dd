#pragma once

#include <QDateTime>
#include <QString>

namespace gt {

// gatetally.run in the data folder: written when a run starts, removed when
// it ends by Exit (or the end of the session, which ends it the same way).
// Found at the next start, it means that run was killed or crashed. The
// records files are left alone: they get no line of this.
class RunMarker
{
public:
    explicit RunMarker(const QString &dataDir) : m_dataDir(dataDir) {}

    static QString path(const QString &dataDir);

    // Reads what the last run left, then marks this run as running. Returns
    // the note for the operator when the last run ended without Exit (empty
    // otherwise); recordsFile is the records file in use, whose last record
    // tells when that run was last heard of. *problem gets what to tell when
    // the marker cannot be written.
    QString begin(const QDateTime &now, const QString &recordsFile, QString *problem);
    // The run ends as it should.
    void finish();

    // The stamp ("12/7/2026 1:05:09 PM") of the last record line in the
    // file; empty when it holds none or cannot be read.
    static QString lastRecordStamp(const QString &recordsFile);

    static QString uncleanNote(const QString &started, const QString &fileName, const QString &lastRecord,
                               bool fileExists);
    static QString writeFailureNote(const QString &path, const QString &reason);

private:
    QString m_dataDir;
    bool m_marked = false;
};

} // namespace gt
