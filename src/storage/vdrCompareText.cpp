#include "vdrCompareText.h"

#include "vdrCodePage.h"

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

// Compares from `i` on, where the units still may differ: `unitA(k)` and
// `unitB(k)` give the characters of each side.
template <class UnitA, class UnitB>
int CompareFrom(qsizetype i, qsizetype sizeA, qsizetype sizeB, UnitA unitA, UnitB unitB) {
    const qsizetype n = qMin(sizeA, sizeB);
    int accentOrder = 0;
    for (; i < n; ++i) {
        const char16_t ca = unitA(i);
        const char16_t cb = unitB(i);
        if (ca == cb)
            continue;
        const Weight wa = WeightOf(ca);
        const Weight wb = WeightOf(cb);
        if (wa.primary != wb.primary)
            return wa.primary < wb.primary ? -1 : 1;
        if (accentOrder == 0 && wa.secondary != wb.secondary)
            accentOrder = wa.secondary < wb.secondary ? -1 : 1;
    }
    if (sizeA != sizeB)
        return sizeA < sizeB ? -1 : 1;
    return accentOrder;
}

// How many leading units of `a` and `b` are equal, skipped a word at a time:
// stored rows share long key prefixes.
template <class Unit> qsizetype EqualPrefix(const Unit *a, const Unit *b, qsizetype n) {
    constexpr qsizetype kStep = qsizetype(sizeof(std::uint64_t) / sizeof(Unit));
    qsizetype i = 0;
    for (; i + kStep <= n; i += kStep) {
        std::uint64_t wa;
        std::uint64_t wb;
        std::memcpy(&wa, a + i, 8);
        std::memcpy(&wb, b + i, 8);
        if (wa != wb)
            return i + qsizetype(__builtin_ctzll(wa ^ wb) / 8 / sizeof(Unit));
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

} // namespace

int CompareText(QStringView a, QStringView b) {
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    const qsizetype i = EqualPrefix(pa, pb, qMin(a.size(), b.size()));
    return CompareFrom(
        i, a.size(), b.size(), [pa](qsizetype k) { return pa[k]; }, [pb](qsizetype k) { return pb[k]; });
}

int CompareText(QByteArrayView a, QByteArrayView b) {
    const char *pa = a.data();
    const char *pb = b.data();
    const qsizetype i = EqualPrefix(pa, pb, qMin(a.size(), b.size()));
    return CompareFrom(
        i, a.size(), b.size(), [pa](qsizetype k) { return vdrCodePage::CharOf(pa[k]); },
        [pb](qsizetype k) { return vdrCodePage::CharOf(pb[k]); });
}
