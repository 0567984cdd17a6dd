#include "HelpFiles.h"

#include "TextFile.h"

#include <QDir>
#include <QFile>

namespace gt::help {

QString helpFileName(const QString &topic)
{
    static const struct
    {
        const char *topic;
        const char *file;
    } kTopics[] = {
        {"Main", "helpmain.txt"},
        {"Search", "helpsearch.txt"},
        {"Results", "helpresults.txt"},
        {"SavedSearch", "helpsavedsearch.txt"},
        {"SavedResults", "helpsavedresults.txt"},
        {"ViewRecords", "helpviewrecords.txt"},
    };
    for (const auto &t : kTopics) {
        if (topic == QLatin1String(t.topic))
            return QLatin1String(t.file);
    }
    return QString();
}

QStringList helpFolders(const QString &executableDir)
{
    const QDir exe(executableDir);
    // GATETALLY_HELP_INSTALL_DIR is the installed data folder relative to
    // the installed executable (from CMake's install directories).
    return {exe.absolutePath(), QDir::cleanPath(exe.absoluteFilePath(QStringLiteral(GATETALLY_HELP_INSTALL_DIR)))};
}

QString readHelpText(const QString &topic, const QStringList &folders)
{
    const QString name = helpFileName(topic);
    if (name.isEmpty())
        return QString();
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (!QFile::exists(path))
            continue;
        QStringList lines;
        return readTextLines(path, &lines) ? lines.join(QLatin1Char('\n')) : QString();
    }
    return QString();
}

} // namespace gt::help
