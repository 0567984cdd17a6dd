#include "SearchCommand.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gatetally-search"));
    return gt::search::runSearchCommand(QCoreApplication::arguments(), stdout, stderr);
}
