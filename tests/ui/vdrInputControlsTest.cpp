#include "kvxNbrEdit.h"
#include "vdrCodePageInput.h"
#include "vdrDateEdit.h"
#include "vdrDateTime.h"
#include "vdrFormatSettings.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// QTest types ASCII only: other characters arrive as key events with text.
void Type(QWidget *widget, const QString &text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &release);
    }
}

} // namespace

class InputControls : public testing::Test {
protected:
    void SetUp() override { TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale()); }
    void TearDown() override {
        TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
        vdrDateTime::SetClock(nullptr);
    }
};

TEST_F(InputControls, ANumberEditTakesDigitsOneMinusAndOneSeparatorWhenAllowed) {
    TkvxNbrEdit edit;
    QTest::keyClicks(&edit, QStringLiteral("1a2.3-4-"));
    EXPECT_EQ(edit.text(), QStringLiteral("123-4")) << "no letters, no separator, one minus";
    EXPECT_EQ(edit.GetIntValue(), 0) << "a minus inside is no whole number";
    edit.clear();
    edit.SetAllowDecimals(true);
    QTest::keyClicks(&edit, QStringLiteral("-12.5.0,"));
    EXPECT_EQ(edit.text(), QStringLiteral("-12.50"));
    EXPECT_DOUBLE_EQ(edit.GetFloatValue(), -12.5);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("-12.5"));

    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("7.5,25"));
    EXPECT_EQ(edit.text(), QStringLiteral("75,25")) << "the locale's separator, not the point";
    EXPECT_DOUBLE_EQ(edit.GetFloatValue(), 75.25);
    edit.SetFloatValue(1234.5);
    EXPECT_EQ(edit.text(), QStringLiteral("1234,50"));
}

TEST_F(InputControls, ANumberEditReadsEmptyOrPastedNonsenseAsZero) {
    TkvxNbrEdit edit;
    EXPECT_EQ(edit.GetIntValue(), 0);
    EXPECT_EQ(edit.GetFloatValue(), 0);
    edit.SetFloatValue(0);
    EXPECT_EQ(edit.text(), QStringLiteral("0.00"));
    QGuiApplication::clipboard()->setText(QStringLiteral("12ab"));
    edit.clear();
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("12ab")) << "pasting is not filtered";
    EXPECT_EQ(edit.GetIntValue(), 0);
    EXPECT_EQ(edit.GetFloatValue(), 0);
    edit.SetIntValue(250000);
    EXPECT_EQ(edit.GetIntValue(), 250000);
}

TEST_F(InputControls, ADateEditReadsTypedDatesAndKeepsTheLastOneForNonsense) {
    vdrDateTime::SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(10, 0)); });
    TvdrDateEdit edit;
    EXPECT_EQ(edit.Date(), QDate(2026, 12, 9)) << "a new edit shows today";
    edit.Edit()->setText(QStringLiteral("3/15/04"));
    EXPECT_EQ(edit.Date(), QDate(2004, 3, 15));
    EXPECT_EQ(edit.Edit()->text(), QStringLiteral("3/15/2004"));
    edit.Edit()->setText(QStringLiteral("nonsense"));
    EXPECT_EQ(edit.Date(), QDate(2004, 3, 15));
    edit.Edit()->clear();
    QTest::keyClicks(edit.Edit(), QStringLiteral("/"));
    QTest::keyClick(edit.Edit(), Qt::Key_Return);
    EXPECT_EQ(edit.Edit()->text(), QStringLiteral("12/9/2026"));

    edit.ShowCalendar();
    EXPECT_TRUE(edit.Calendar()->isVisible());
    EXPECT_EQ(edit.Calendar()->selectedDate(), QDate(2026, 12, 9));
    Q_EMIT edit.Calendar()->activated(QDate(2025, 1, 31));
    EXPECT_FALSE(edit.Calendar()->isVisible());
    EXPECT_EQ(edit.Date(), QDate(2025, 1, 31));
}

TEST_F(InputControls, TextTheCodePageCannotHoldIsRefusedAsItIsTyped) {
    QLineEdit line;
    RefuseUnstorableText(&line);
    Type(&line, QStringLiteral("Caf\u00e9 \u20ac \u0141\u00f3d\u017a"));
    EXPECT_EQ(line.text(), QStringLiteral("Caf\u00e9 \u20ac \u00f3d"))
        << "the Polish letters are not in the code page";

    TvdrMemo memo;
    Type(&memo, QStringLiteral("A\u0141B"));
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("AB"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x\u0141y"));
    memo.paste();
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("ABx?y")) << "a pasted one shows as ? where it stood";
}
