#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace gt::fuzz {

// Takes the fuzzer's bytes apart: small numbers for choices, and pieces of
// text ended by a separator byte, so that one input drives several fields.
class Input
{
public:
    Input(const uint8_t *data, size_t size) : m_data(reinterpret_cast<const char *>(data)), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }

    uint8_t byte()
    {
        return atEnd() ? 0 : uint8_t(m_data[m_pos++]);
    }

    // Bytes up to the next `separator` (not included), or to the end.
    QByteArray piece(char separator = '\0')
    {
        const size_t start = m_pos;
        while (m_pos < m_size && m_data[m_pos] != separator)
            ++m_pos;
        QByteArray out(m_data + start, qsizetype(m_pos - start));
        if (m_pos < m_size)
            ++m_pos;
        return out;
    }

    QString text(char separator = '\0') { return QString::fromLatin1(piece(separator)); }

    QByteArray rest()
    {
        QByteArray out(m_data + m_pos, qsizetype(m_size - m_pos));
        m_pos = m_size;
        return out;
    }

private:
    const char *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Stops the run with a message the fuzzer keeps beside the crashing input.
[[noreturn]] void fail(const char *what);

} // namespace gt::fuzz
