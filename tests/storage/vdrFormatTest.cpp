#include "vdrFormat.h"

#include "vdrTestSupport.h"

#include <gtest/gtest.h>

static QString F(const char *fmt, const QVariantList &args) {
    return FormatPrintf(QString::fromLatin1(fmt), args);
}

TEST(FormatPrintf, IntegersWithPrecisionAndWidth) {
    EXPECT_EQ(F("%7.7d", {0}), QStringLiteral("0000000"));
    EXPECT_EQ(F("%7.7d", {42}), QStringLiteral("0000042"));
    EXPECT_EQ(F("%7.7d", {-42}), QStringLiteral("-0000042"));
    EXPECT_EQ(F("%7.7d", {123456789}), QStringLiteral("123456789"));
    EXPECT_EQ(F("CarPic%9.9d", {12}), QStringLiteral("CarPic000000012"));
    EXPECT_EQ(F("%5d|%-5d|%05d", {7, 7, -7}), QStringLiteral("    7|7    |-0007"));
}

TEST(FormatPrintf, StringsRealsAndPercent) {
    EXPECT_EQ(F("%s:%d\t%s", {QStringLiteral("07.42.015"), 1234, QStringLiteral("Filter applied")}),
              QStringLiteral("07.42.015:1234\tFilter applied"));
    EXPECT_EQ(F("%f", {12.5}), QStringLiteral("12.50"));
    EXPECT_EQ(F("%g", {0.1 + 0.2}), QStringLiteral("0.3"));
    EXPECT_EQ(F("%.3f|%8.1f", {2.0, -3.25}), QStringLiteral("2.000|    -3.2"));
    EXPECT_EQ(FormatPrintf(QStringLiteral("%.2f"), {1234.567}, QLatin1Char(',')), QStringLiteral("1234,57"));
    EXPECT_EQ(F("100%%", {}), QStringLiteral("100%"));
}

TEST(FormatPrintf, BadFormatsNeverFail) {
    EXPECT_EQ(F("%s and %s", {QStringLiteral("one")}), QStringLiteral("one and "));
    EXPECT_EQ(F("%d", {}), QStringLiteral("0"));
    EXPECT_EQ(F("50%", {}), QStringLiteral("50%"));
    EXPECT_EQ(F("%q%s", {QStringLiteral("x")}), QStringLiteral("%qx"));
    EXPECT_EQ(F("%99999999999d", {1}).size(), 1000);
}
