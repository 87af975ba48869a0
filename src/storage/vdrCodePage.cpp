#include "vdrCodePage.h"

#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

using vdrCodePage::kHigh;

#ifdef __SSE2__
// Sixteen bytes below 0x80 widened to their characters.
inline void Widen16(const char *data, char16_t *dst) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + 8), _mm_unpackhi_epi8(bytes, zero));
}
#endif

// `high`: whether a byte of 0x80 or more may be there; below it every byte
// is its own character, widened sixteen at a time. With it, runs of sixteen
// such bytes still are, and only the rest is looked up.
void Decode(const char *data, qsizetype size, bool high, char16_t *dst) {
    const std::array<char16_t, 256> &table = vdrCodePage::kCharOf;
    qsizetype i = 0;
#ifdef __SSE2__
    for (; i + 16 <= size; i += 16) {
        if (high && _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i))) != 0) {
            for (qsizetype k = i; k < i + 16; ++k)
                dst[k] = table[static_cast<unsigned char>(data[k])];
            continue;
        }
        Widen16(data + i, dst + i);
    }
#endif
    for (; i < size; ++i)
        dst[i] =
            high ? table[static_cast<unsigned char>(data[i])] : char16_t(static_cast<unsigned char>(data[i]));
}

int ByteFor(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    // Undefined bytes round-trip through their C1 control.
    if (u >= 0x80 && u <= 0x9F && kHigh[u - 0x80] == 0)
        return u;
    return -1;
}

} // namespace

namespace vdrCodePage {

QString ToUnicode(QByteArrayView bytes, bool high) {
    QString text(bytes.size(), Qt::Uninitialized);
    Decode(bytes.data(), bytes.size(), high, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

void ToUnicode(QByteArrayView bytes, QString &text) {
    text.resize(bytes.size());
    Decode(bytes.data(), bytes.size(), true, reinterpret_cast<char16_t *>(text.data()));
}

// Writes `text` encoded at `out`; returns the end. Surrogate pairs are one
// character, replaced once, so the end may fall short of text's size.
static char *Encode(QStringView text, char *out, char replacement) {
    const QChar *p = text.data();
    const QChar *end = p + text.size();
#ifdef __SSE2__
    // Eight characters at a time while they are ASCII.
    const __m128i nonAscii = _mm_set1_epi16(short(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, nonAscii), zero)) != 0xFFFF)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(v, v));
        p += 8;
        out += 8;
    }
#endif
    for (; p < end; ++p) {
        const char16_t u = p->unicode();
        if (u < 0x80) {
            *out++ = char(u);
            continue;
        }
        if (p->isHighSurrogate() && p + 1 < end && p[1].isLowSurrogate())
            ++p;
        const int b = ByteFor(u);
        *out++ = b < 0 ? replacement : static_cast<char>(b);
    }
    return out;
}

void Append(QByteArray &out, QStringView text, char replacement) {
    const qsizetype size = out.size();
    out.resize(size + text.size());
    out.truncate(Encode(text, out.data() + size, replacement) - out.constData());
}

QByteArray FromUnicode(const QString &text, char replacement) {
    QByteArray out(text.size(), Qt::Uninitialized);
    out.truncate(Encode(text, out.data(), replacement) - out.constData());
    return out;
}

bool CanEncode(QChar ch) {
    return ByteFor(ch.unicode()) >= 0;
}

bool CanEncode(const QString &text) {
    for (QChar ch : text)
        if (!CanEncode(ch))
            return false;
    return true;
}

} // namespace vdrCodePage
