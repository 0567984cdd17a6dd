#include "State.h"

namespace gt {

GatetallyState::GatetallyState(const QString &dir) : dataDir(dir)
{
    for (int i = 0; i < 101; ++i)
        strEntryNames.append(QString());
}

} // namespace gt
