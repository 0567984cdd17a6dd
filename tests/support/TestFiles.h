#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace gt::test {

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

// Lines joined with CR LF, each line ended, as the program writes files.
inline QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + "\r\n";
    return out;
}

// setup.txt as the program writes it: the port, autosave and records file
// lines, then the 100 entry point names (those not given empty).
inline QByteArray setupFile(const QByteArray &port, const QByteArray &autosave, const QByteArray &file,
                            QList<QByteArray> names = {})
{
    names.resize(100);
    return crlf(QList<QByteArray>{port, autosave, file} + names);
}

} // namespace gt::test
