// Any texts in the search fields, against any record lines: the checks end
// in a message or a matcher, and the matcher gives the same answer on a
// line as text and as 8-bit bytes.
#include "FuzzInput.h"
#include "SearchCriteria.h"

using namespace gt;
using namespace gt::search;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const uint8_t choices = in.byte();
    Entries e;
    for (Field f : textFields())
        e.text(f) = in.text('\t');
    e.fromAM = choices & 1;
    e.toAM = choices & 2;
    const Twin twin = (choices & 4) ? Twin::Stored : Twin::Displayed;

    const Outcome out = checkSearch(twin, e, SearchCriteria());
    if (!out.succeeded())
        return 0;
    while (!in.atEnd()) {
        const QByteArray line = in.piece('\n');
        const bool asText = out.matcher.matches(QString::fromLatin1(line));
        const bool asBytes = out.matcher.matches(line.constData(), line.size());
        if (asText != asBytes)
            fuzz::fail("text and byte matching disagree");
    }
    return 0;
}
