#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStringList>

namespace gt::test {

// A program of this build (CTest names the folder; by hand, the test's own).
inline QString binary(const QString &name)
{
    return QDir(qEnvironmentVariable("GATETALLY_BIN_DIR", QCoreApplication::applicationDirPath())).filePath(name);
}

// A program of this build run to its end: code -1 when it did not end, or
// ended by a signal, within a minute.
struct Run { int code = -1; QByteArray out, err; };
inline Run run(const QString &name, const QStringList &args, const QString &outputFile = QString())
{
    QProcess p;
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    p.start(binary(name), args);
    const bool done = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    return {done ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace gt::test
