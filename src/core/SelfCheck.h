#pragma once

#include <QString>
#include <QStringList>

namespace gt {

class GatetallyState;

// Below these the operator is warned; the defaults are the program's, tests
// give their own.
struct SelfCheckLimits
{
    qint64 lowSpace = 100LL * 1000 * 1000;
    // With autosave on below this, records are about to be lost.
    qint64 criticalSpace = 10LL * 1000 * 1000;
    // A records file above this is slow to search and to copy: time for a
    // new one.
    qint64 bigFile = 1000LL * 1000 * 1000;
};

// What the checks look at, measured from the disk or given by a test.
struct SelfCheckFigures
{
    QString dataDir;
    qint64 freeBytes = -1; // negative when the system cannot tell
    QString recordsFileName;
    qint64 recordsFileSize = -1; // negative when there is no such file
    bool autosave = false;
};

// The lines for the status area: warnings catch the eye, notices need not.
struct SelfCheckLines
{
    QStringList warnings;
    QStringList notices;
};

// The self-check of the disk and the records file, run at start, every
// minute and whenever autosave starts. Widget-free: the screen only shows
// the lines. The serial device is the receiver's own to report.
class SelfCheck
{
public:
    explicit SelfCheck(const SelfCheckLimits &limits = {}) : m_limits(limits) {}

    static SelfCheckFigures measure(const GatetallyState &state);
    SelfCheckLines judge(const SelfCheckFigures &figures) const;
    SelfCheckLines run(const GatetallyState &state) const { return judge(measure(state)); }

    // "57.3 MB", "1.2 GB": decimal units, as disks are sold and file
    // managers show them.
    static QString size(qint64 bytes);

private:
    SelfCheckLimits m_limits;
};

} // namespace gt
