#include "vdrCompareText.h"

#include <QStringList>
#include <algorithm>
#include "vdrTestSupport.h"

#include <gtest/gtest.h>

TEST(CompareText, IgnoresLetterCase) {
    EXPECT_EQ(CompareText(QStringLiteral("TvdrCars"), QStringLiteral("tvdrcars")), 0);
    EXPECT_EQ(CompareText(QStringLiteral("\u00C9T\u00C9"), QStringLiteral("\u00E9t\u00E9")), 0);
    EXPECT_LT(CompareText(QStringLiteral("apple"), QStringLiteral("Banana")), 0);
    EXPECT_GT(CompareText(QStringLiteral("b"), QStringLiteral("A")), 0);
}

TEST(CompareText, AccentedLettersSortBesideTheirBaseLetter) {
    QStringList words = {QStringLiteral("f"), QStringLiteral("\u00E9a"), QStringLiteral("eb"),
                         QStringLiteral("ea"), QStringLiteral("d")};
    std::sort(words.begin(), words.end(), TvdrTextLess());
    EXPECT_EQ(words, (QStringList{QStringLiteral("d"), QStringLiteral("ea"), QStringLiteral("\u00E9a"),
                                  QStringLiteral("eb"), QStringLiteral("f")}));
    // The accent only breaks a tie, so the two are not equal.
    EXPECT_NE(CompareText(QStringLiteral("ea"), QStringLiteral("\u00E9a")), 0);
}

TEST(CompareText, KeysOfEqualLengthSortNumericallyAndPrefixesStayTogether) {
    EXPECT_LT(CompareText(QStringLiteral("0000009"), QStringLiteral("0000010")), 0);
    EXPECT_LT(CompareText(QStringLiteral("0000002\t0000099"), QStringLiteral("0000020\t0000000")), 0);
    EXPECT_LT(CompareText(QStringLiteral("abc"), QStringLiteral("abcd")), 0);
    EXPECT_EQ(CompareText(QString(), QString()), 0);
    EXPECT_LT(CompareText(QString(), QStringLiteral("a")), 0);
}

TEST(CompareText, IsATotalOrderOverMixedText) {
    QStringList words = {QStringLiteral("Zeta"), QStringLiteral("\u00E4rger"), QStringLiteral("Ab"),
                         QStringLiteral("ab "), QStringLiteral("0001"), QStringLiteral("\u00C4rger"),
                         QStringLiteral("a_b"), QStringLiteral("A\tb"), QStringLiteral("\u0153uvre")};
    for (const QString &a : words)
        for (const QString &b : words) {
            EXPECT_EQ(CompareText(a, b), -CompareText(b, a)) << a.toStdString() << " / " << b.toStdString();
            for (const QString &c : words) {
                if (CompareText(a, b) < 0 && CompareText(b, c) < 0) {
                    EXPECT_LT(CompareText(a, c), 0);
                }
            }
        }
}
