#include "SelfCheck.h"

#include "Paths.h"
#include "State.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

namespace gt {

QString SelfCheck::size(qint64 bytes) { return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat); }

SelfCheckFigures SelfCheck::measure(const GatetallyState &state)
{
    SelfCheckFigures f;
    f.dataDir = QDir::toNativeSeparators(state.dataDir);
    const QStorageInfo disk(state.dataDir);
    if (disk.isValid() && disk.isReady())
        f.freeBytes = disk.bytesAvailable();
    f.recordsFileName = recordsFileName(state.dataDir, state.strAutosaveFile);
    const QFileInfo file(state.strAutosaveFile);
    if (file.isFile())
        f.recordsFileSize = file.size();
    f.autosave = state.blnAutosave;
    return f;
}

SelfCheckLines SelfCheck::judge(const SelfCheckFigures &f) const
{
    SelfCheckLines lines;
    if (f.freeBytes >= 0 && f.autosave && f.freeBytes < m_limits.criticalSpace)
        lines.warnings << QStringLiteral("Autosave is on with only %1 free on the disk of the data folder %2: "
                                         "records cannot be written once it is full. Free some space now.")
                              .arg(size(f.freeBytes), f.dataDir);
    else if (f.freeBytes >= 0 && f.freeBytes < m_limits.lowSpace)
        lines.warnings << QStringLiteral("Only %1 free on the disk of the data folder %2: "
                                         "records cannot be written once it is full.")
                              .arg(size(f.freeBytes), f.dataDir);
    if (f.recordsFileSize > m_limits.bigFile)
        lines.warnings << QStringLiteral("The records file %1 is %2: consider starting a new one "
                                         "(Auto Save Off, then On, and Yes to saving to a different file).")
                              .arg(f.recordsFileName, size(f.recordsFileSize));
    else if (f.recordsFileSize >= 0)
        lines.notices << QStringLiteral("Records file %1: %2.").arg(f.recordsFileName, size(f.recordsFileSize));
    return lines;
}

} // namespace gt
