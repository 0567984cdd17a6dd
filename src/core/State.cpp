#include "State.h"

namespace gt {

GatetallyState::GatetallyState(const QString &dir) : dataDir(dir)
{
    for (int i = 0; i < 101; ++i)
        strEntryNames.append(QString());
}

void GatetallyState::setAutosave(bool on)
{
    if (blnAutosave == on)
        return;
    blnAutosave = on;
    Q_EMIT notices.autosaveChanged(on);
}

void GatetallyState::setAutosaveFile(const QString &path)
{
    if (strAutosaveFile == path)
        return;
    strAutosaveFile = path;
    Q_EMIT notices.recordsFileChanged(path);
}

void GatetallyState::setListTitle(const QString &title)
{
    if (strListTitle == title)
        return;
    strListTitle = title;
    Q_EMIT notices.listTitleChanged(title);
}

void GatetallyState::setDisplayMode(DisplayMode mode)
{
    if (strDisplayMode == mode)
        return;
    strDisplayMode = mode;
    Q_EMIT notices.displayModeChanged();
}

} // namespace gt
