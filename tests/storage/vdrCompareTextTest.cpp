#include "vdrCompareText.h"
#include "vdrCodePage.h"

#include "vdrTestSupport.h"
#include <QStringList>
#include <algorithm>
#include <random>

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
                         QStringLiteral("ab "),  QStringLiteral("0001"),       QStringLiteral("\u00C4rger"),
                         QStringLiteral("a_b"),  QStringLiteral("A\tb"),       QStringLiteral("\u0153uvre")};
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

// Stored rows share long prefixes; the first difference may fall anywhere
// in or after the equal stretch that is skipped several characters at once.
TEST(CompareText, TheFirstDifferenceDecidesWhereverItFalls) {
    const QString base = QStringLiteral("0000012\t0000034\t0000005\tnote");
    for (int at = 0; at < base.size(); ++at) {
        QString higher = base;
        higher[at] = QChar(base[at].unicode() + 1);
        EXPECT_LT(CompareText(base, higher), 0) << at;
        EXPECT_GT(CompareText(higher, base), 0) << at;
        QString upper = base;
        upper[at] = base[at].toUpper();
        EXPECT_EQ(CompareText(base, upper), 0) << at;
        // An accent breaks the tie only when no later letter differs.
        QString accented = base;
        accented.insert(at, QChar(0xE9));
        QString plain = base;
        plain.insert(at, QLatin1Char('e'));
        EXPECT_LT(CompareText(plain, accented), 0) << at;
        EXPECT_LT(CompareText(accented + QLatin1Char('a'), plain + QLatin1Char('b')), 0) << at;
    }
}

// The byte comparison a load uses must agree with CompareText wherever it
// decides, and decide the common case of rows that differ in ASCII.
// Stored rows are compared as bytes exactly as their decoded texts would be.
TEST(CompareText, BytesCompareAsTheirDecodedTexts) {
    std::mt19937 rng(5);
    // 0x8A is S with a caron in 1252, a control as its own character.
    const char alphabet[] = "0123aAbBsT=\t \xE9\xC9\x80\x8A\x9F\xE0\xC0";
    for (int round = 0; round < 20000; ++round) {
        QByteArray a;
        for (int n = int(rng() % 14); n > 0; --n)
            a += alphabet[rng() % (sizeof(alphabet) - 1)];
        QByteArray b = a.left(int(rng() % (a.size() + 1)));
        for (int n = int(rng() % 4); n > 0; --n)
            b += alphabet[rng() % (sizeof(alphabet) - 1)];
        if (round % 2)
            std::swap(a, b);
        const int text = CompareText(vdrCodePage::ToUnicode(a), vdrCodePage::ToUnicode(b));
        const int bytes = CompareText(QByteArrayView(a), QByteArrayView(b));
        ASSERT_EQ((bytes > 0) - (bytes < 0), (text > 0) - (text < 0))
            << a.toPercentEncoding().constData() << " / " << b.toPercentEncoding().constData();
    }
    EXPECT_LT(CompareText(QByteArrayView("0000012\t0000034"), QByteArrayView("0000012\t0000035")), 0);
    EXPECT_EQ(CompareText(QByteArrayView("Oil"), QByteArrayView("oIL")), 0);
    EXPECT_LT(CompareText(QByteArrayView("cafe"), QByteArrayView("caf\xE9")), 0);
    EXPECT_LT(CompareText(QByteArrayView("caf\xE9"), QByteArrayView("cafF")), 0);
}
