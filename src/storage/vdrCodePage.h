#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>

// Windows code page 1252: the single-byte text of the database, the language
// file, the log and the TSV files. Only loads and saves call these.
namespace vdrCodePage {

// 0x80..0x9F; 0 marks the bytes that have no character in 1252.
inline constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Every byte's character, as ToUnicode gives it.
inline constexpr std::array<char16_t, 256> kCharOf = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0 ? kHigh[b - 0x80] : char16_t(b);
    return t;
}();

inline char16_t CharOf(char byte) {
    return kCharOf[static_cast<unsigned char>(byte)];
}

// Every byte maps to one character; the five bytes 1252 leaves undefined map
// to the C1 control of the same value, so decoding never loses a byte.
// `high` false promises that no byte is 0x80 or more (vdrLineModel's
// LineEnd tells), so the bytes are widened without a look-up.
QString ToUnicode(QByteArrayView bytes, bool high = true);
// The same into `text`, whose room is used again.
void ToUnicode(QByteArrayView bytes, QString &text);

// Characters 1252 cannot hold become `replacement`.
void Append(QByteArray &out, QStringView text, char replacement = '?');
QByteArray FromUnicode(const QString &text, char replacement = '?');

// Whether every character of `text` can be stored.
bool CanEncode(const QString &text);
bool CanEncode(QChar ch);

} // namespace vdrCodePage
