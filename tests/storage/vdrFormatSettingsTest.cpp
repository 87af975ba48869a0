#include "vdrFormatSettings.h"

#include "vdrTestSupport.h"
#include <QLocale>

#include <gtest/gtest.h>

TEST(FormatSettings, StoredCostsUseTheDecimalSeparatorAndReadBackUnderEither) {
    const TvdrFormatSettings point = TvdrFormatSettings::PointLocale();
    const TvdrFormatSettings comma = TvdrFormatSettings::CommaLocale();
    EXPECT_EQ(point.StoredCost(45.5), QStringLiteral("45.5"));
    EXPECT_EQ(comma.StoredCost(45.5), QStringLiteral("45,5"));
    EXPECT_EQ(point.StoredCost(1234.5), QStringLiteral("1234.5"));
    EXPECT_EQ(point.StoredCost(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(point.StoredCost(0), QStringLiteral("0"));

    // A cost written under one separator reads back under the other.
    for (const double cost : {45.5, 1234.56, 0.01, -7.25, 123456789012.5}) {
        bool ok = false;
        EXPECT_DOUBLE_EQ(TvdrFormatSettings::ParseCost(comma.StoredCost(cost), &ok), cost);
        EXPECT_TRUE(ok);
        EXPECT_DOUBLE_EQ(TvdrFormatSettings::ParseCost(point.StoredCost(cost)), cost);
    }
    bool ok = true;
    EXPECT_EQ(TvdrFormatSettings::ParseCost(QStringLiteral("12a"), &ok), 0.0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TvdrFormatSettings::ParseCost(QStringLiteral("nan")), 0.0);
    EXPECT_EQ(TvdrFormatSettings::ParseCost(QString()), 0.0);
}

TEST(FormatSettings, ShownAmountsFollowTheLocale) {
    const TvdrFormatSettings point = TvdrFormatSettings::PointLocale();
    const TvdrFormatSettings comma = TvdrFormatSettings::CommaLocale();
    EXPECT_EQ(point.Currency(1234.5), QStringLiteral("$1,234.50"));
    EXPECT_EQ(comma.Currency(1234.5), QStringLiteral("1.234,50 \u20AC"));
    EXPECT_EQ(point.Currency(-1234567.006), QStringLiteral("-$1,234,567.01"));
    EXPECT_EQ(point.Currency(0), QStringLiteral("$0.00"));
    EXPECT_EQ(point.Currency(-0.001), QStringLiteral("$0.00"));
    EXPECT_EQ(comma.Fixed2(12.345), QStringLiteral("12,35"));
    EXPECT_EQ(point.Fixed2(1234567.5), QStringLiteral("1234567.50"));
    EXPECT_EQ(point.Grouped(1234567), QStringLiteral("1,234,567"));
    EXPECT_EQ(comma.Grouped(-1500), QStringLiteral("-1.500"));
    EXPECT_EQ(point.Grouped(999), QStringLiteral("999"));
    EXPECT_EQ(point.ShortDate(QDate(2004, 3, 15)), QStringLiteral("3/15/2004"));
    EXPECT_EQ(comma.ShortDate(QDate(2004, 3, 15)), QStringLiteral("15.03.2004"));
}

TEST(FormatSettings, TakenFromALocale) {
    const TvdrFormatSettings de = TvdrFormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(de.ThousandSeparator, QLatin1Char('.'));
    EXPECT_EQ(de.Currency(1234.5), QStringLiteral("1.234,50\u00A0\u20AC"));
    const TvdrFormatSettings us =
        TvdrFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.Currency(-2.5), QStringLiteral("-$2.50"));
}
