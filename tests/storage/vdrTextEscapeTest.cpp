#include "vdrTextEscape.h"
#include "kvxCmRtn.h"
#include "vdrCmRtn.h"

#include <gtest/gtest.h>

TEST(TextEscape, EscapedTextIsOneLineAndComesBackWithCrLf) {
    const QString text = QStringLiteral("first\tline\r\nsecond \\ line\nC:\\new\\table");
    const QString stored = TvdrTextEscape::EscapeText(text);
    EXPECT_FALSE(stored.contains(QLatin1Char('\n')));
    EXPECT_FALSE(stored.contains(QLatin1Char('\t')));
    EXPECT_EQ(stored, QStringLiteral("first\\tline\\nsecond \\\\ line\\nC:\\\\new\\\\table"));
    // An escaped backslash followed by n or t stays a backslash and a letter.
    EXPECT_EQ(TvdrTextEscape::UnescapeText(stored),
              QStringLiteral("first\tline\r\nsecond \\ line\r\nC:\\new\\table"));
    EXPECT_EQ(TvdrTextEscape::UnescapeText(QStringLiteral("a\\nb")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(TvdrTextEscape::UnescapeText(QStringLiteral("a\rb\nc")), QStringLiteral("ab\r\nc"));
    EXPECT_EQ(TvdrTextEscape::UnescapeText(QStringLiteral("odd \\x end\\")), QStringLiteral("odd \\x end\\"));
    // The design's names, and the language table's, are the same rule.
    EXPECT_EQ(TvdrCmRtn::EscapeText(text), stored);
    EXPECT_EQ(KvxCmRtn().UnescapeText(stored), TvdrTextEscape::UnescapeText(stored));
    EXPECT_EQ(TvdrTextEscape::EscapeText(QStringLiteral("\r\r")), QString());
}
