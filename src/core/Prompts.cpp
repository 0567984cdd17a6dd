#include "Prompts.h"

namespace gt {

Prompts::SaveDialog textFileDialog(const QString &initialFolder, const QString &proposedName)
{
    Prompts::SaveDialog d;
    d.filter = QStringLiteral("Text documents (*.txt)|*.txt|");
    d.filterIndex = 1;
    d.initialFolder = initialFolder;
    d.proposedName = proposedName;
    return d;
}

QStringList qtNameFilters(const QString &filter)
{
    // Pairs of description and pattern, separated by '|'. Qt shows the
    // description, which already names the pattern.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (!parts.at(i).isEmpty())
            out.append(parts.at(i));
    }
    return out;
}

} // namespace gt
