#pragma once

#include <QChar>
#include <QtGlobal>

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The line model of a table's stream text, for text and for bytes alike: a
// line ends at CR, at LF or at CR LF; a NUL ends the text; a line break at
// the very end makes no further empty line; empty lines inside remain.
namespace vdrLineModel {

// Where the line from `p` ends: at its CR, LF or NUL, or at `end`.
inline const QChar *LineEnd(const QChar *p, const QChar *end) {
    while (p < end && p->unicode() != 0 && *p != QLatin1Char('\r') && *p != QLatin1Char('\n'))
        ++p;
    return p;
}

// The same over bytes, eight at a time; `high` tells whether the line holds
// a byte of 0x80 or more.
inline const char *LineEnd8(const char *p, const char *end, bool &high) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    // The high bit of each zero byte; the lowest one set is exact (bits
    // above it may be set falsely), and the lowest byte comes first.
    const auto zeros = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighBits; };
    std::uint64_t seen = 0;
    for (; end - p >= 8; p += 8) {
        std::uint64_t x;
        std::memcpy(&x, p, 8);
        const std::uint64_t stops = zeros(x) | zeros(x ^ (kOnes * '\r')) | zeros(x ^ (kOnes * '\n'));
        if (stops != 0) {
            const int bytes = __builtin_ctzll(stops) / 8;
            seen |= x & ((std::uint64_t(1) << (8 * bytes)) - 1);
            high = (seen & kHighBits) != 0;
            return p + bytes;
        }
        seen |= x;
    }
    for (; p < end && *p != 0 && *p != '\r' && *p != '\n'; ++p)
        seen |= std::uint8_t(*p);
    high = (seen & kHighBits) != 0;
    return p;
}

// The same, sixteen bytes at a time where the processor can.
inline const char *LineEnd(const char *p, const char *end, bool &high) {
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    int highs = 0;
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int stops = _mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, nul)));
        if (stops != 0) {
            const int bytes = __builtin_ctz(unsigned(stops));
            high = highs != 0 || (_mm_movemask_epi8(v) & ((1 << bytes) - 1)) != 0;
            return p + bytes;
        }
        highs |= _mm_movemask_epi8(v);
    }
    const char *stop = LineEnd8(p, end, high);
    high = high || highs != 0;
    return stop;
#else
    return LineEnd8(p, end, high);
#endif
}

// How many times `c` occurs in [p, end), sixteen bytes at a time where the
// processor can: the compiler leaves a plain count a byte at a time.
inline qsizetype CountBytes(const char *p, const char *end, char c) {
    qsizetype n = 0;
#ifdef __SSE2__
    // Counted per byte lane, up to 255 blocks at a time, then summed: a
    // population count is a call into libgcc on the processors we build for.
    const __m128i wanted = _mm_set1_epi8(c);
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        const char *stop = p + 16 * qMin<qsizetype>(255, (end - p) / 16);
        __m128i lanes = zero;
        for (; p < stop; p += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(v, wanted));
        }
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        n += _mm_cvtsi128_si64(sums) + _mm_extract_epi16(sums, 4);
    }
#endif
    for (; p < end; ++p)
        n += *p == c;
    return n;
}

// Calls `line(begin, end, high)` for every line of [p, end).
template <class Emit> void ForEachLine(const char *p, const char *end, Emit line) {
    while (p < end && *p != 0) {
        bool high = false;
        const char *stop = LineEnd(p, end, high);
        line(p, stop, high);
        p = stop;
        if (p < end && *p == '\r')
            ++p;
        if (p < end && *p == '\n')
            ++p;
    }
}

// Calls `line(begin, end)` for every line of [p, end).
template <class Emit> void ForEachLine(const QChar *p, const QChar *end, Emit line) {
    while (p < end && p->unicode() != 0) {
        const QChar *stop = LineEnd(p, end);
        line(p, stop);
        p = stop;
        if (p < end && *p == QLatin1Char('\r'))
            ++p;
        if (p < end && *p == QLatin1Char('\n'))
            ++p;
    }
}

} // namespace vdrLineModel
