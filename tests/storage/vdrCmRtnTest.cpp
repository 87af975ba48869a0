#include "vdrCmRtn.h"
#include "kvxCmRtn.h"
#include "vdrCodePage.h"
#include "vdrError.h"
#include "vdrStrUtils.h"

#include "vdrTestSupport.h"
#include <limits>
#include <random>

#include <cerrno>
#include <gtest/gtest.h>

TEST(CmRtn, KeysAndFields) {
    EXPECT_EQ(TvdrCmRtn::FormatKey(0), QStringLiteral("0000000"));
    EXPECT_EQ(TvdrCmRtn::FormatKey(42), QStringLiteral("0000042"));
    EXPECT_EQ(TvdrCmRtn::FormatKey(-3), QStringLiteral("-0000003"));
    EXPECT_EQ(TvdrCmRtn::FormatKey(12345678), QStringLiteral("12345678"));
    EXPECT_EQ(TvdrCmRtn::FormatKey(std::numeric_limits<int>::max()), QStringLiteral("2147483647"));
    EXPECT_EQ(TvdrCmRtn::FormatKey(std::numeric_limits<int>::min()), QStringLiteral("-2147483648"));
    QString row = QStringLiteral("k");
    TvdrCmRtn::AppendKey(row, 7);
    TvdrCmRtn::AppendKey(row, -1234567);
    EXPECT_EQ(row, QStringLiteral("k0000007-1234567"));

    const QString pq = QStringLiteral("p\t\tq");
    EXPECT_EQ(TvdrCmRtn::FieldCount(pq, QLatin1Char('\t')), 3);
    EXPECT_EQ(TvdrCmRtn::GetField(2, pq, QLatin1Char('\t')), QString());
    EXPECT_EQ(TvdrCmRtn::GetField(3, pq, QLatin1Char('\t')), QStringLiteral("q"));
    EXPECT_EQ(TvdrCmRtn::GetField(0, pq, QLatin1Char('\t')), QString());
    EXPECT_EQ(TvdrCmRtn::GetField(4, pq, QLatin1Char('\t')), QString());
    EXPECT_EQ(ExtractWord(2, pq, QStringLiteral("\t")), QStringLiteral("q"));
    EXPECT_EQ(ExtractWord(3, pq, QStringLiteral("\t")), QString());
    EXPECT_EQ(ExtractWord(1, QStringLiteral("\t\tp"), QStringLiteral("\t")), QStringLiteral("p"));
    EXPECT_EQ(WordPosition(2, QStringLiteral("  ab  cd"), QStringLiteral(" ")), 7);
    EXPECT_EQ(WordPosition(3, QStringLiteral("  ab  cd"), QStringLiteral(" ")), 0);
}

TEST(CmRtn, SingleInstanceSystemAndChoose) {
    EXPECT_EQ(&CmRtn(), &CmRtn());
    try {
        TvdrCmRtn second;
        FAIL() << "a second instance was allowed";
    } catch (const EvdrError &e) {
        EXPECT_STREQ(e.what(), "use CmRtn accessor function");
    }
    EXPECT_EQ(CmRtn().OsType(), 0);
    EXPECT_EQ(CmRtn().OsName(), QStringLiteral("Not Supported"));
    EXPECT_EQ(TvdrCmRtn::OsName(6), QStringLiteral("Windows XP"));
    EXPECT_EQ(TvdrCmRtn::OsName(99), QStringLiteral("unknown"));
    errno = ENOENT;
    EXPECT_TRUE(TvdrCmRtn::LastErrorText().startsWith(QStringLiteral("[2]-")));
    EXPECT_EQ(TvdrCmRtn::Choose(true, QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("a"));
    EXPECT_EQ(TvdrCmRtn::Choose(false, 1, 2), 2);
}

TEST(StrUtils, TrimFilterCountAndGrouping) {
    EXPECT_EQ(Trim(QStringLiteral("\t\x01 ab c \r\n")), QStringLiteral("ab c"));
    EXPECT_EQ(FilterChars(QStringLiteral("1,234.5"), QStringLiteral(",.")), QStringLiteral("12345"));
    EXPECT_TRUE(CharInSet(QStringLiteral("abc"), QLatin1Char('b')));
    EXPECT_FALSE(CharInSet(QStringLiteral("abc"), QLatin1Char('d')));
    EXPECT_EQ(CountChar(QStringLiteral("a\tb\t\tc"), QLatin1Char('\t')), 3);
    EXPECT_EQ(GroupThousandsComma(1234567), QStringLiteral("1,234,567"));
    EXPECT_EQ(GroupThousandsComma(999), QStringLiteral("999"));
    EXPECT_EQ(GroupThousandsComma(1000), QStringLiteral("1,000"));
    EXPECT_EQ(GroupThousandsComma(0), QStringLiteral("0"));
    EXPECT_EQ(GroupThousands(-1234, QStringLiteral(".")), QStringLiteral("-1.234"));
    EXPECT_EQ(GroupThousandsComma(std::numeric_limits<qint64>::min()),
              QStringLiteral("-9,223,372,036,854,775,808"));
}

// Stored rows are read as their decoded text would be: words between TABs
// as ExtractWord finds them, numbers as QString::toInt reads them.
TEST(StrUtils, StoredBytesReadAsTheirText) {
    std::mt19937 rng(3);
    const char alphabet[] = "\t\t0123456789 -+x\xE9";
    for (int round = 0; round < 5000; ++round) {
        QByteArray bytes;
        for (int n = int(rng() % 16); n > 0; --n)
            bytes += alphabet[rng() % (sizeof(alphabet) - 1)];
        const QString text = vdrCodePage::ToUnicode(bytes);
        for (int word = 1; word <= 3; ++word)
            ASSERT_EQ(vdrCodePage::ToUnicode(ExtractTabWord(word, bytes)),
                      ExtractWord(word, text, QStringLiteral("\t")))
                << bytes.toPercentEncoding().constData() << " word " << word;
        bool ok = false;
        const int expected = text.toInt(&ok, 10);
        int number = -12345;
        ASSERT_EQ(ToInt(bytes, number), ok) << bytes.toPercentEncoding().constData();
        if (ok) {
            ASSERT_EQ(number, expected) << bytes.toPercentEncoding().constData();
        }
    }
    int number = 0;
    EXPECT_TRUE(ToInt("0000042", number));
    EXPECT_EQ(number, 42);
    EXPECT_FALSE(ToInt("99999999999", number));
}
