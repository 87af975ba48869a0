// The key allocation rules over a list's rows.

#include "vdrKeyAllocation.h"
#include "vdrError.h"
#include "vdrNvList.h"

#include <gtest/gtest.h>

#include <limits>

TEST(KeyAllocation, TheTwoRulesPassOverRowsWithoutANumber) {
    TvdrStringList list;
    const auto number = [](const QString &row) { return TvdrKeyAllocation::ParseRowNumber(row.left(7)); };
    EXPECT_EQ(TvdrKeyAllocation::FirstFreeNumber(list, number), 0);
    EXPECT_EQ(TvdrKeyAllocation::OnePastLastNumber(list, number), 0);
    for (const char *row : {"0000000", "0000001", "0000002", "0000005"})
        list.Add(QString::fromLatin1(row));
    EXPECT_EQ(TvdrKeyAllocation::FirstFreeNumber(list, number), 3);
    EXPECT_EQ(TvdrKeyAllocation::OnePastLastNumber(list, number), 6);
    list.Delete(0);
    EXPECT_EQ(TvdrKeyAllocation::FirstFreeNumber(list, number), 0);
    list.Add(QStringLiteral("garbage"));

    // A damaged row in front of the run must not hand out a number in use.
    TvdrStringList damaged;
    for (const char *row : {"-000005", "0000000", "0000001", "0000003"})
        damaged.Add(QString::fromLatin1(row));
    EXPECT_EQ(TvdrKeyAllocation::FirstFreeNumber(damaged, number), 2);
    // Resumed, the walk goes on from where it stopped.
    TvdrKeyAllocation::TWalk walk;
    EXPECT_EQ(TvdrKeyAllocation::FirstFreeNumber(damaged, number, walk), 2);
    damaged.Insert(walk.Row, QStringLiteral("0000002"));
    EXPECT_EQ(TvdrKeyAllocation::FirstFreeNumber(damaged, number, walk), 4);
    // Rows without a number after the last one are passed over too.
    EXPECT_EQ(TvdrKeyAllocation::OnePastLastNumber(list, number), 6);
    list.Add(QStringLiteral("-000009"));
    EXPECT_EQ(TvdrKeyAllocation::OnePastLastNumber(list, number), 6);
    TvdrStringList unnumbered;
    unnumbered.Add(QStringLiteral("garbage"));
    EXPECT_EQ(TvdrKeyAllocation::OnePastLastNumber(unnumbered, number), 0);
}

TEST(KeyAllocation, KeyedRowsAreNumberedByTheirNamesAndTheLastNumberIsNeverPassed) {
    TvdrNvList t(QStringLiteral("TvdrRepairs"));
    t.SetText(QStringLiteral("0000005=e\r\n0000001=a\r\nno name\r\n0000000=z\r\n"));
    EXPECT_EQ(TvdrKeyAllocation::FirstFreeNumber(t, TvdrKeyAllocation::NameNumber), 2);
    EXPECT_EQ(TvdrKeyAllocation::OnePastLastNumber(t, TvdrKeyAllocation::NameNumber), 6);
    EXPECT_EQ(TvdrKeyAllocation::NameNumber(QStringLiteral("12=0000013")), 12);
    EXPECT_EQ(TvdrKeyAllocation::NameNumber(QStringLiteral("0000013")), -1);
    t.SetValue(QString::number(std::numeric_limits<int>::max()), QStringLiteral("last"));
    EXPECT_THROW(TvdrKeyAllocation::OnePastLastNumber(t, TvdrKeyAllocation::NameNumber), EvdrError);
}
