#include "PanelSim.h"

namespace gt::panel {

namespace {
bool hits(int every, int number) { return every > 0 && number % every == 0; }
} // namespace

QByteArray message(char entry, char status, const QByteArray &facility, const QByteArray &card)
{
    QByteArray m;
    m.reserve(16);
    m += entry;
    m += ' ';
    m += status;
    m += ' ';
    m += facility.left(3).leftJustified(3, '0');
    m += ' ';
    m += card.right(6).rightJustified(6, '0');
    m += ' ';
    m += '\r';
    return m;
}

Generator::Generator(quint32 seed) : m_random(seed) {}

QByteArray Generator::next()
{
    static const char *const kFacilities[] = {"101", "101", "101", "102", "215"};
    const char entry = char('1' + m_random.bounded(4));
    const int roll = int(m_random.bounded(100));
    const char status = roll < 80 ? 'V' : roll < 92 ? 'N' : 'F';
    const QByteArray facility = kFacilities[m_random.bounded(5)];
    // A pool of 48 cards, so that searches on a card find several records.
    const int card = 104000 + int(m_random.bounded(48)) * 37;
    return message(entry, status, facility, QByteArray::number(card));
}

QList<QByteArray> writes(const QList<QByteArray> &messages, const Faults &faults, int firstNumber)
{
    QList<QByteArray> out;
    for (int i = 0; i < messages.size(); ++i) {
        const int number = firstNumber + i;
        QByteArray m = messages.at(i);
        if (hits(faults.badStatus, number) && m.size() > 2)
            m[2] = 'X';
        if (hits(faults.shortMsg, number) && m.size() >= 15)
            m.remove(14, 1);
        if (hits(faults.longMsg, number))
            m.insert(m.size() - 1, ' ');

        const bool merged = !out.isEmpty() && i > 0 && hits(faults.merge, number - 1);
        if (merged) {
            out.last() += m;
        } else if (hits(faults.split, number) && m.size() > 15) {
            out.append(m.left(5));
            out.append(m.mid(5, 10));
            out.append(m.mid(15));
        } else {
            out.append(m);
        }
        if (hits(faults.noise, number))
            out.append(kNoise);
    }
    return out;
}

} // namespace gt::panel
