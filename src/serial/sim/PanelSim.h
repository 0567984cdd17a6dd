#pragma once

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>

namespace gt::panel {

// One panel message as the panel sends it: entry point, blank, status,
// blank, 3-character facility code, blank, 6-character card number, blank,
// carriage return; 16 bytes.
QByteArray message(char entry, char status, const QByteArray &facility, const QByteArray &card);

// Plausible traffic of a small site: a few doors, a few facility codes, a
// pool of cards; mostly VALID, some NOT VALID and OFF. The same seed gives
// the same messages.
class Generator
{
public:
    explicit Generator(quint32 seed);
    QByteArray next();

private:
    QRandomGenerator m_random;
};

// Faults to mix into the traffic, each on every Nth message (0: never).
// Counting starts at 1 for the first message.
struct Faults
{
    int split = 0;     // the message goes out in pieces of 5, 10 and the rest
    int merge = 0;     // the message and the one after it go out in one write
    int shortMsg = 0;  // the message loses its 15th character (15 bytes)
    int longMsg = 0;   // the message gets one more blank before its CR (17 bytes)
    int noise = 0;     // noise without a CR is written after the message
    int badStatus = 0; // the status character is replaced by 'X'

    bool any() const { return split || merge || shortMsg || longMsg || noise || badStatus; }
};

// The noise the panel writes for the noise fault.
inline const QByteArray kNoise = QByteArrayLiteral("#~*NOISE*~#");

// Applies the faults to a run of messages (numbered from firstNumber) and
// returns what goes out, one entry per write.
QList<QByteArray> writes(const QList<QByteArray> &messages, const Faults &faults, int firstNumber = 1);

} // namespace gt::panel
