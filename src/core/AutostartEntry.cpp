#include "AutostartEntry.h"

#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace gt::autostart {

namespace {

// One argument of an Exec line: quoted when it holds anything the desktop
// would split on or expand, with the characters that stay special inside
// the quotes escaped. A literal % is doubled, since %f and the like are
// field codes.
QString execArgument(const QString &arg)
{
    static const QString special = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString out = arg;
    out.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool quote = out.isEmpty();
    for (QChar c : out)
        quote = quote || special.contains(c);
    if (!quote)
        return out;
    QString quoted;
    for (QChar c : std::as_const(out)) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString entryPath()
{
    // QStandardPaths honours XDG_CONFIG_HOME, as the desktop does.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("autostart/gatetally.desktop"));
}

bool isEnabled() { return QFileInfo(entryPath()).isFile(); }

QByteArray entryContents(const QStringList &command)
{
    QStringList exec;
    for (const QString &arg : command)
        exec << execArgument(arg);
    // A string value of a desktop entry escapes its backslashes once more.
    QString execLine = exec.join(QLatin1Char(' '));
    execLine.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    execLine.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    execLine.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    execLine.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Quorvel Gatetally\n"
                                        "Comment=Starts the door access log when you log in\n"
                                        "Exec=%1\n"
                                        "Icon=gatetally\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execLine);
    return text.toUtf8();
}

bool enable(const QStringList &command, QString *error)
{
    const QString path = entryPath();
    if (!makeOwnerFolder(QFileInfo(path).path(), error))
        return false;
    ReplacingFile file(path);
    return file.open(error) && file.write(entryContents(command), error) && file.commit(error);
}

bool disable(QString *error)
{
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

QString enableFailureMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Gatetally could not be set to start at login: the file %1 could not be written:\r\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString disableFailureMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Gatetally still starts at login: the file %1 could not be removed:\r\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace gt::autostart
