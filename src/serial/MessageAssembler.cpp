#include "MessageAssembler.h"

namespace gt {

QList<PanelMessage> MessageAssembler::feed(const QByteArray &bytes)
{
    QList<PanelMessage> out;
    auto take = [&](bool endedByCr) {
        const int length = int(m_buffer.size()) + (endedByCr ? 1 : 0);
        out.append({QString::fromLatin1(m_buffer), !endedByCr || length != kMessageLength});
        m_buffer.clear();
    };
    for (const char c : bytes) {
        if (c == '\r') {
            take(true);
            continue;
        }
        m_buffer.append(c);
        if (m_buffer.size() >= kNoiseLimit)
            take(false);
    }
    return out;
}

std::optional<PanelMessage> MessageAssembler::takePartial()
{
    if (m_buffer.isEmpty())
        return std::nullopt;
    PanelMessage partial{QString::fromLatin1(m_buffer), true};
    m_buffer.clear();
    return partial;
}

} // namespace gt
