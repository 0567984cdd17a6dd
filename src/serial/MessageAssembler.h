#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace gt {

// One message cut from the line: its characters without the carriage
// return, and whether it had the wrong length to be a panel message.
struct PanelMessage
{
    QString text;
    bool incorrect = false;

    bool operator==(const PanelMessage &o) const { return text == o.text && incorrect == o.incorrect; }
};

// Cuts the bytes of the line into messages. Every carriage return ends one
// message, so several messages in one read stay apart. A line that sends
// characters and never a carriage return cannot grow the buffer without
// bound: kNoiseLimit characters without one are taken as one message.
class MessageAssembler
{
public:
    // A panel message is this long, its carriage return included.
    static constexpr int kMessageLength = 16;
    static constexpr int kNoiseLimit = 256;

    QList<PanelMessage> feed(const QByteArray &bytes);

    // The line was lost: the characters of a message cut off half way are
    // one incorrect message, so that nothing of it is glued to the first
    // message after the line returns. Nothing when no message was begun.
    std::optional<PanelMessage> takePartial();

    // Characters received that do not yet end in a carriage return.
    const QByteArray &pending() const { return m_buffer; }

private:
    QByteArray m_buffer;
};

} // namespace gt
