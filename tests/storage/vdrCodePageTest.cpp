#include "vdrCodePage.h"

#include "vdrTestSupport.h"

#include <gtest/gtest.h>

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = vdrCodePage::ToUnicode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(vdrCodePage::FromUnicode(text), all);
    EXPECT_TRUE(vdrCodePage::CanEncode(text));
}

TEST(CodePage, MapsTheWindowsSpecificRange) {
    EXPECT_EQ(vdrCodePage::ToUnicode(QByteArray("\x80")), QString(QChar(0x20AC)));
    EXPECT_EQ(vdrCodePage::ToUnicode(QByteArray("\x9F")), QString(QChar(0x0178)));
    EXPECT_EQ(vdrCodePage::ToUnicode(QByteArray("\xE9")), QStringLiteral("\u00E9"));
    EXPECT_EQ(vdrCodePage::FromUnicode(QStringLiteral("\u20AC\u00FC\u0153")), QByteArray("\x80\xFC\x9C"));
}

TEST(CodePage, CharactersOutsideTheCodePageAreReplacedNotDropped) {
    const QString text = QStringLiteral("a\u0416b\U0001F600c");
    EXPECT_FALSE(vdrCodePage::CanEncode(text));
    EXPECT_EQ(vdrCodePage::FromUnicode(text), QByteArray("a?b?c"));
}
