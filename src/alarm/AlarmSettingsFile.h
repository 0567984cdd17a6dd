#pragma once

#include "AlarmRule.h"

#include <QString>
#include <QStringList>

namespace gt::alarm {

// alarms.ini in the data folder: the alarm's own settings, kept apart from
// setup.txt so that file stays exactly as it always was.
QString alarmsIniPath(const QString &dataDir);
QString alarmsLogPath(const QString &dataDir);

// Reads the settings. A missing file gives the defaults silently; a value
// that cannot be used gives its default and one line in *problems naming the
// file, the key, the value and what is used instead.
AlarmSettings loadAlarmSettings(const QString &path, QStringList *problems);
// Writes them; false with the file's name and the reason in *error.
bool saveAlarmSettings(const QString &path, const AlarmSettings &settings, QString *error);

// The limits Setup > Alarms offers and the file may hold.
constexpr int kMaxRefusals = 99;
constexpr int kMaxWindowMinutes = 1440;

} // namespace gt::alarm
