#include "vdrCodePage.h"

#include "vdrTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = vdrCodePage::ToUnicode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(vdrCodePage::FromUnicode(text), all);
    EXPECT_TRUE(vdrCodePage::CanEncode(text));
}

// Runs of sixteen plain bytes are widened at once, the rest looked up: each
// byte decodes alone to what it decodes to among any neighbours.
TEST(CodePage, EveryByteDecodesAloneAsAmongOthers) {
    std::mt19937 rng(5);
    QString reused;
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(int(rng() % 70), Qt::Uninitialized);
        for (char &b : bytes)
            b = char(rng() % 4 == 0 ? 0x80 + rng() % 128 : rng() % 128);
        const QString whole = vdrCodePage::ToUnicode(bytes);
        ASSERT_EQ(whole.size(), bytes.size());
        vdrCodePage::ToUnicode(bytes, reused); // into the room of the round before
        ASSERT_EQ(reused, whole);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            ASSERT_EQ(whole[i], vdrCodePage::ToUnicode(bytes.mid(i, 1))[0]) << round << " at " << i;
        if (std::none_of(bytes.cbegin(), bytes.cend(), [](char b) { return b & 0x80; })) {
            ASSERT_EQ(vdrCodePage::ToUnicode(bytes, false), whole);
        }
    }
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

TEST(CodePage, TheC1ControlsEncodeOnlyWhere1252LeavesTheirByteUndefined) {
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character in 1252: their C1
    // controls stand for them. Every other C1 control would come back as the
    // 1252 character of its byte (U+0080 as the euro sign), so it is "?".
    const QList<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    QString text;
    QByteArray expected;
    for (int u = 0x80; u <= 0x9F; ++u) {
        text.append(QChar(u));
        expected.append(undefined.contains(u) ? char(u) : '?');
        EXPECT_EQ(vdrCodePage::CanEncode(QChar(u)), undefined.contains(u)) << std::hex << u;
    }
    EXPECT_EQ(vdrCodePage::FromUnicode(text), expected);
    EXPECT_EQ(vdrCodePage::FromUnicode(text, '#').count('#'), 27);
}
