#include "vdrMaintFilter.h"
#include "vdrDateTime.h"
#include "vdrMaintRepairs.h"
#include "vdrTestDatabase.h"

#include <gtest/gtest.h>

TEST(MaintFilter, BoundsAreInclusiveAndAReversedRangeAcceptsNothing) {
    TvdrMaintRec low = MakeEvent(0, 0, QDate(2004, 3, 15), 10000, 0.0);
    TvdrMaintRec high = MakeEvent(0, 1, QDate(2004, 3, 16), 20000, 0.5);
    TvdrMaintRec below = MakeEvent(0, 2, QDate(2004, 3, 14), 9999, -0.01);
    TvdrMaintRec above = MakeEvent(0, 3, QDate(2004, 3, 17), 20001, 0.51);

    const TvdrMileageFilter mileage(10000, 20000);
    EXPECT_TRUE(mileage.Matches(low));
    EXPECT_TRUE(mileage.Matches(high));
    EXPECT_FALSE(mileage.Matches(below));
    EXPECT_FALSE(mileage.Matches(above));

    const TvdrCostFilter noCost(0.0, 0.0);
    EXPECT_TRUE(noCost.Matches(low));
    EXPECT_FALSE(noCost.Matches(high));
    const TvdrCostFilter cost(0.0, 0.5);
    EXPECT_TRUE(cost.Matches(high));
    EXPECT_FALSE(cost.Matches(above));
    EXPECT_FALSE(cost.Matches(below));

    const double day = vdrDateTime::ValueOf(QDateTime(QDate(2004, 3, 15), QTime(0, 0)));
    const TvdrDateFilter oneDay(day, day);
    EXPECT_TRUE(oneDay.Matches(low));
    EXPECT_FALSE(oneDay.Matches(high));
    EXPECT_FALSE(oneDay.Matches(below));
    const TvdrDateFilter twoDays(day, day + 1);
    EXPECT_TRUE(twoDays.Matches(high));
    EXPECT_FALSE(twoDays.Matches(above));

    for (TvdrMaintRec *rec : {&low, &high, &below, &above}) {
        EXPECT_FALSE(TvdrMileageFilter(20000, 10000).Matches(*rec));
        EXPECT_FALSE(TvdrCostFilter(1.0, 0.0).Matches(*rec));
        EXPECT_FALSE(TvdrDateFilter(day + 1, day).Matches(*rec));
        EXPECT_TRUE(TvdrNullFilter().Matches(*rec));
    }
}

TEST(MaintFilter, RepairFilterLooksAtTheEventsOwnLinksOnly) {
    TvdrTestDatabase db;
    MaintRepairs().AddLink(2, 5, 1);
    MaintRepairs().AddLink(2, 5, 4);
    MaintRepairs().AddLink(3, 5, 7);
    TvdrMaintRec event = MakeEvent(2, 5, QDate(2004, 1, 1), 0, 0);
    TvdrMaintRec other = MakeEvent(3, 5, QDate(2004, 1, 1), 0, 0);
    EXPECT_TRUE(TvdrRepairFilter(4).Matches(event));
    EXPECT_TRUE(TvdrRepairFilter(1).Matches(event));
    EXPECT_FALSE(TvdrRepairFilter(7).Matches(event));
    EXPECT_FALSE(TvdrRepairFilter(1).Matches(other)) << "same event number, other car";
}

TEST(MaintFilter, AnEventWithoutDateCountsAsToday) {
    vdrDateTime::SetClock([] { return QDateTime(QDate(2010, 6, 1), QTime(15, 30)); });
    TvdrMaintRec undated = MakeEvent(0, 0, QDate(), 0, 0);
    const double today = vdrDateTime::ValueOf(QDateTime(QDate(2010, 6, 1), QTime(0, 0)));
    EXPECT_TRUE(TvdrDateFilter(today, today + 1).Matches(undated));
    EXPECT_TRUE(TvdrDateFilter(today, today).Matches(undated)) << "now today at midnight";
    vdrDateTime::SetClock(nullptr);
}
