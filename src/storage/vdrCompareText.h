#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The one comparison behind every sorted list, binary search and look-up by
// name. It ignores letter case, places accented letters beside their base
// letters (an accent only breaks a tie), and keeps equal-length digit strings
// in numeric order. Sorting and searching must use this same function, or a
// binary search runs over rows in an order it does not expect.
//
// Returns < 0, 0 or > 0. On views, so a search over parts of stored rows
// allocates nothing.
int CompareText(QStringView a, QStringView b);

inline bool SameText(QStringView a, QStringView b) {
    return CompareText(a, b) == 0;
}

// The same over code page 1252 bytes, as if decoded: stored rows are
// compared where they stand.
int CompareText(QByteArrayView a, QByteArrayView b);

inline bool SameText(QByteArrayView a, QByteArrayView b) {
    return CompareText(a, b) == 0;
}

// For std::sort and friends.
struct TvdrTextLess {
    bool operator()(const QString &a, const QString &b) const { return CompareText(a, b) < 0; }
};
