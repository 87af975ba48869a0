#include "vdrCodePage.h"

#include <array>

namespace {

// 0x80..0x9F; 0 marks the bytes that have no character in 1252.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

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

QString ToUnicode(const QByteArray &bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char16_t u = b;
        if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
            u = kHigh[b - 0x80];
        dst[i] = QChar(u);
    }
    return out;
}

QByteArray FromUnicode(const QString &text, char replacement) {
    QByteArray out(text.size(), Qt::Uninitialized);
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        // A surrogate pair is one character, replaced once.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const int b = ByteFor(ch.unicode());
        out[n++] = b < 0 ? replacement : static_cast<char>(b);
    }
    out.truncate(n);
    return out;
}

bool CanEncode(QChar ch) { return ByteFor(ch.unicode()) >= 0; }

bool CanEncode(const QString &text) {
    for (QChar ch : text)
        if (!CanEncode(ch))
            return false;
    return true;
}

} // namespace vdrCodePage
