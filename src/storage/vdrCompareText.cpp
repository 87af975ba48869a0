#include "vdrCompareText.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

struct Weight {
    char16_t primary;   // the folded base letter
    char16_t secondary; // the folded accented letter, 0 when unaccented
};

Weight ComputeWeight(char16_t c) {
    const QChar folded = QChar(c).toCaseFolded();
    if (folded.decompositionTag() == QChar::Canonical) {
        const QString parts = folded.decomposition();
        if (!parts.isEmpty()) {
            const QChar base = parts[0].toCaseFolded();
            return {base.unicode(), folded.unicode()};
        }
    }
    return {folded.unicode(), 0};
}

// Text in the database is single-byte, so nearly every character falls in
// the first few blocks; a table keeps comparison cheap on large tables.
constexpr int kTableSize = 0x250;

const std::array<Weight, kTableSize> &WeightTable() {
    static const std::array<Weight, kTableSize> table = [] {
        std::array<Weight, kTableSize> t{};
        for (int i = 0; i < kTableSize; ++i)
            t[i] = ComputeWeight(static_cast<char16_t>(i));
        return t;
    }();
    return table;
}

inline Weight WeightOf(char16_t c) {
    // ASCII, nearly every character of the rows: folding is lower case.
    if (c < 0x80)
        return {char16_t(c >= u'A' && c <= u'Z' ? c + 0x20 : c), 0};
    if (c < kTableSize)
        return WeightTable()[c];
    return ComputeWeight(c);
}

} // namespace

int CompareText(QStringView a, QStringView b) {
    const qsizetype n = qMin(a.size(), b.size());
    const QChar *pa = a.data();
    const QChar *pb = b.data();
    // Stored rows share long key prefixes: skip the equal part four
    // characters at a time.
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t wa;
        std::uint64_t wb;
        std::memcpy(&wa, pa + i, 8);
        std::memcpy(&wb, pb + i, 8);
        if (wa != wb)
            break;
    }
    int accentOrder = 0;
    for (; i < n; ++i) {
        const char16_t ca = pa[i].unicode();
        const char16_t cb = pb[i].unicode();
        if (ca == cb)
            continue;
        const Weight wa = WeightOf(ca);
        const Weight wb = WeightOf(cb);
        if (wa.primary != wb.primary)
            return wa.primary < wb.primary ? -1 : 1;
        if (accentOrder == 0 && wa.secondary != wb.secondary)
            accentOrder = wa.secondary < wb.secondary ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return accentOrder;
}

int CompareTextBytes(QByteArrayView a, QByteArrayView b, bool &decided) {
    const qsizetype n = qMin(a.size(), b.size());
    const char *pa = a.data();
    const char *pb = b.data();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t wa;
        std::uint64_t wb;
        std::memcpy(&wa, pa + i, 8);
        std::memcpy(&wb, pb + i, 8);
        if (wa != wb) {
            i += __builtin_ctzll(wa ^ wb) / 8;
            break;
        }
    }
    while (i < n && pa[i] == pb[i])
        ++i;
    decided = true;
    if (i == n)
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    const auto ca = static_cast<unsigned char>(pa[i]);
    const auto cb = static_cast<unsigned char>(pb[i]);
    if (ca < 0x80 && cb < 0x80) {
        const char16_t wa = WeightOf(ca).primary;
        const char16_t wb = WeightOf(cb).primary;
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    decided = false;
    return 0;
}
