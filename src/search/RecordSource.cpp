#include "RecordSource.h"

#include "TextFile.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(Q_OS_UNIX)
#include <fcntl.h>
#endif

namespace gt::search {

bool loadRecordLines(const QString &path, QStringList *lines, QString *error)
{
    QStringList all;
    if (!readTextLines(path, &all, error))
        return false;
    lines->clear();
    for (const QString &line : std::as_const(all)) {
        if (isRecordLine(line))
            lines->append(line);
    }
    return true;
}

namespace detail {

bool openForScan(QFile &file, QString *error)
{
    // Unbuffered: the blocks are read straight into the caller's buffer.
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

const char *findBytes(const char *from, const char *end, const QByteArray &needle)
{
    const qsizetype k = needle.size();
    const char *n = needle.constData();
    if (k == 0 || end - from < k)
        return k == 0 ? from : nullptr;
    if (k == 1)
        return static_cast<const char *>(std::memchr(from, n[0], size_t(end - from)));
    const char *last = end - k; // the last place the needle may start
#if defined(__SSE2__)
    // Sixteen places at a time are tested for the needle's first, middle and
    // last byte together; only where all three agree are the other bytes
    // compared. Few places pass in a records file, where a card number's
    // digits are common one by one but rare as three set apart.
    const qsizetype mid = k / 2;
    const __m128i firstByte = _mm_set1_epi8(n[0]);
    const __m128i midByte = _mm_set1_epi8(n[mid]);
    const __m128i lastByte = _mm_set1_epi8(n[k - 1]);
    const char *p = from;
    for (; p + 16 <= last + 1; p += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + mid));
        const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + k - 1));
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(a, firstByte), _mm_cmpeq_epi8(z, lastByte));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(both, _mm_cmpeq_epi8(m, midByte))));
        while (mask) {
            const char *at = p + __builtin_ctz(mask);
            qsizetype i = 1;
            while (i < k - 1 && at[i] == n[i])
                ++i;
            if (i >= k - 1)
                return at;
            mask &= mask - 1;
        }
    }
    from = p;
#endif
    for (const char *p = from; p <= last; ++p) {
        p = static_cast<const char *>(std::memchr(p, n[0], size_t(last - p + 1)));
        if (!p)
            return nullptr;
        if (std::memcmp(p + 1, n + 1, size_t(k - 1)) == 0)
            return p;
    }
    return nullptr;
}

const char *findLastLineEnd(const char *from, const char *end)
{
#if defined(__GLIBC__)
    return static_cast<const char *>(memrchr(from, '\n', size_t(end - from)));
#else
    while (end > from) {
        if (*--end == '\n')
            return end;
    }
    return nullptr;
#endif
}

void adviseSequential(QFile &file)
{
#if defined(Q_OS_UNIX)
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
#else
    Q_UNUSED(file);
#endif
}

bool readFailed(QFile &file, QString *error)
{
    if (error)
        *error = file.errorString();
    return false;
}

} // namespace detail

} // namespace gt::search
