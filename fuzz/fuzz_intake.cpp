// Bytes of a noisy line, delivered in pieces of any size: every message the
// assembler cuts becomes a record line that can never break the line
// structure of a records file, and the same bytes give the same messages
// however they are split.
#include "FuzzInput.h"
#include "MessageAssembler.h"
#include "RecordLine.h"

#include <QDateTime>

using namespace gt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const int step = 1 + in.byte() % 32;
    const QByteArray line = in.rest();

    MessageAssembler whole;
    const QList<PanelMessage> expected = whole.feed(line);

    MessageAssembler pieces;
    QList<PanelMessage> got;
    for (qsizetype i = 0; i < line.size(); i += step)
        got += pieces.feed(line.mid(i, step));
    if (got != expected || pieces.pending() != whole.pending())
        fuzz::fail("messages depend on how the bytes were split");
    if (whole.pending().size() >= MessageAssembler::kNoiseLimit)
        fuzz::fail("the buffer grew past the noise limit");

    const QDateTime when(QDate(2006, 3, 7), QTime(13, 5, 9));
    QStringList names(101);
    names[0] = QStringLiteral("FRONT");
    for (const PanelMessage &m : got) {
        const QString record = buildRecordLine(m.text, when);
        if (record.contains(QLatin1Char('\r')) || record.contains(QLatin1Char('\n')))
            fuzz::fail("a record line holds a line end");
        if (!m.incorrect && record.size() != 59 && record.size() != 51)
            fuzz::fail("a well-formed message made a record line of an odd length");
        const QString shown = m.incorrect ? incorrectDataLine(record) : MakeDisplayLine(record, DisplayMode::Name, names);
        if (shown.contains(QLatin1Char('\n')))
            fuzz::fail("a display line holds a line end");
    }
    return 0;
}
