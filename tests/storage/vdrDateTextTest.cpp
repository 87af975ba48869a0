#include "vdrDateText.h"

#include <gtest/gtest.h>

TEST(DateText, ReadsTheFormatsOrderWithMissingAndShortYears) {
    const QDate today(2026, 12, 9);
    const QString us = QStringLiteral("M/d/yyyy");
    const QString de = QStringLiteral("dd.MM.yyyy");
    EXPECT_EQ(ParseShortDate(QStringLiteral("3/15/2004"), us, today), QDate(2004, 3, 15));
    EXPECT_EQ(ParseShortDate(QStringLiteral("15.3.2004"), de, today), QDate(2004, 3, 15));
    EXPECT_EQ(ParseShortDate(QStringLiteral("3/15"), us, today), QDate(2026, 3, 15))
        << "a missing year is this year";
    EXPECT_EQ(ParseShortDate(QStringLiteral("15.03."), de, today), QDate(2026, 3, 15));
    EXPECT_EQ(ParseShortDate(QStringLiteral("3/15/51"), us, today), QDate(1951, 3, 15));
    EXPECT_EQ(ParseShortDate(QStringLiteral("3/15/50"), us, today), QDate(2050, 3, 15));
    EXPECT_EQ(ParseShortDate(QStringLiteral("3/15/04"), us, today), QDate(2004, 3, 15));
    EXPECT_EQ(ParseShortDate(QStringLiteral("/"), us, today), today) << "the separator alone is today";
    EXPECT_EQ(ParseShortDate(QStringLiteral("."), de, today), today);
    EXPECT_EQ(ParseShortDate(QStringLiteral("/"), de, today), today);
}

TEST(DateText, TextThatIsNoDateGivesAnInvalidDate) {
    const QDate today(2026, 12, 9);
    const QString us = QStringLiteral("M/d/yyyy");
    for (const char *text : {"", "15", "2/30/2004", "13/1/2004", "a/b/c", "1/2/3/4", "3/15/20045", "x3/15"})
        EXPECT_FALSE(ParseShortDate(QString::fromLatin1(text), us, today).isValid()) << text;
    EXPECT_EQ(DateSeparatorOf(QStringLiteral("dd.MM.yyyy")), QLatin1Char('.'));
}

TEST(DateText, AFormatWithMonthNamesReadsThemAndNumbersAlike) {
    const QDate today(2026, 12, 9);
    const QString named = QStringLiteral("d MMM yyyy");
    EXPECT_EQ(ParseShortDate(QStringLiteral("15 Mar 2004"), named, today), QDate(2004, 3, 15));
    EXPECT_EQ(ParseShortDate(QStringLiteral("15 3 04"), named, today), QDate(2004, 3, 15));
    EXPECT_FALSE(ParseShortDate(QStringLiteral("15 Foo 2004"), named, today).isValid());
}
