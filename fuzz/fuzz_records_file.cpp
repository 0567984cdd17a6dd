// Any bytes as a records file: the loader that keeps lists and the scanner
// that maps windows of the file agree line for line, whatever the window,
// and hand out record lines only.
#include "FuzzInput.h"
#include "RecordLayout.h"
#include "RecordSource.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace gt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const qint64 page = 4096;
    fuzz::Input in(data, size);
    const qint64 window = page * (1 + in.byte() % 3);
    const QByteArray bytes = in.rest();
    const QString path = QDir(dir.path()).filePath(QStringLiteral("records.txt"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fuzz::fail("cannot write the input file");
        f.write(bytes);
    }

    QStringList loaded;
    if (!search::loadRecordLines(path, &loaded))
        fuzz::fail("a readable file failed to load");
    QStringList scanned;
    const bool ok = search::scanRecordLines(
        path,
        [&](const char *line, qsizetype length) {
            if (!isRecordLine(line, length))
                fuzz::fail("the scanner handed out a line that is not a record");
            scanned.append(QString::fromLatin1(line, length));
        },
        nullptr, window);
    if (!ok || scanned != loaded)
        fuzz::fail("loader and scanner disagree");

    // Every record line the text reader sees is one of those, in order.
    QStringList fromText;
    for (const QString &l : splitTextLines(bytes)) {
        if (isRecordLine(l))
            fromText.append(l);
    }
    if (fromText != loaded)
        fuzz::fail("the text reader finds other record lines");
    return 0;
}
