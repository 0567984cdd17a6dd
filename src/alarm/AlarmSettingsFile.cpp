#include "AlarmSettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace gt::alarm {

QString alarmsIniPath(const QString &dataDir) { return QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("alarms.ini"))); }
QString alarmsLogPath(const QString &dataDir) { return QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("alarms.log"))); }

namespace {

const QString kEnabled = QStringLiteral("alarm/enabled");
const QString kCard = QStringLiteral("alarm/card_refusals");
const QString kEntry = QStringLiteral("alarm/entry_refusals");
const QString kWindow = QStringLiteral("alarm/window_minutes");

QString shown(const QVariant &v)
{
    // A value with a comma reads back as a list.
    return v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
}

void readNumber(const QSettings &ini, const QString &key, int max, int *value, const QString &file,
                QStringList *problems)
{
    if (!ini.contains(key))
        return;
    const QVariant raw = ini.value(key);
    bool ok = false;
    const int n = shown(raw).trimmed().toInt(&ok);
    if (ok && n >= 1 && n <= max) {
        *value = n;
        return;
    }
    problems->append(QStringLiteral("%1: %2 = \"%3\" is not a whole number from 1 to %4; %5 is used.")
                         .arg(file, key.section(QLatin1Char('/'), 1), shown(raw))
                         .arg(max)
                         .arg(*value));
}

} // namespace

AlarmSettings loadAlarmSettings(const QString &path, QStringList *problems)
{
    AlarmSettings s;
    if (!QFileInfo::exists(path))
        return s;
    const QString file = QFileInfo(path).fileName();
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        problems->append(QStringLiteral("%1 cannot be read (%2); the default alarm settings are used.")
                             .arg(file, ini.status() == QSettings::AccessError ? QStringLiteral("access denied")
                                                                               : QStringLiteral("not an INI file")));
        return s;
    }
    if (ini.contains(kEnabled)) {
        const QString v = shown(ini.value(kEnabled)).trimmed().toLower();
        if (v == QLatin1String("true"))
            s.enabled = true;
        else if (v == QLatin1String("false"))
            s.enabled = false;
        else
            problems->append(QStringLiteral("%1: enabled = \"%2\" is neither true nor false; true is used.")
                                 .arg(file, shown(ini.value(kEnabled))));
    }
    readNumber(ini, kCard, kMaxRefusals, &s.cardRefusals, file, problems);
    readNumber(ini, kEntry, kMaxRefusals, &s.entryRefusals, file, problems);
    readNumber(ini, kWindow, kMaxWindowMinutes, &s.windowMinutes, file, problems);
    return s;
}

bool saveAlarmSettings(const QString &path, const AlarmSettings &settings, QString *error)
{
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue(kEnabled, settings.enabled);
    ini.setValue(kCard, settings.cardRefusals);
    ini.setValue(kEntry, settings.entryRefusals);
    ini.setValue(kWindow, settings.windowMinutes);
    ini.sync();
    if (ini.status() != QSettings::NoError) {
        // QSettings gives no reason of its own; the usual one is a folder
        // that cannot be written to.
        const QFileInfo folder(QFileInfo(path).absolutePath());
        *error = QStringLiteral("%1 could not be written (%2).")
                     .arg(QFileInfo(path).fileName(),
                          folder.isWritable() ? QStringLiteral("write error") : QStringLiteral("permission denied"));
        return false;
    }
    return true;
}

} // namespace gt::alarm
