#include "Paths.h"

#include <QDir>
#include <QFileInfo>

namespace gt {

QString setupFilePath(const QString &dataDir)
{
    return QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("setup.txt")));
}

QString recordsDirPath(const QString &dataDir)
{
    return QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("Records")));
}

QString defaultAutosaveFile(const QString &dataDir)
{
    return QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("Records/default.txt")));
}

bool isDefaultRecordsFile(const QString &path) { return path.endsWith(QLatin1String("default.txt")); }

QString recordsFileName(const QString &dataDir, const QString &path)
{
    const QString prefix = recordsDirPath(dataDir) + QDir::separator();
    const QString native = QDir::toNativeSeparators(path);
    if (native.startsWith(prefix) && native.size() > prefix.size())
        return native.mid(prefix.size());
    return QFileInfo(path).fileName();
}

QString recordsFileTitle(const QString &dataDir, const QString &path)
{
    const QString name = recordsFileName(dataDir, path);
    return name.left(qMax(0, int(name.size()) - 4)).left(30);
}

bool isSameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath()))
        return true;
    return fa.exists() && fb.exists() && fa.canonicalFilePath() == fb.canonicalFilePath();
}

bool fitsLatin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}

} // namespace gt
