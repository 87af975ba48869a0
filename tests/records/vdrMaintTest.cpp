#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintSortedList.h"

#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrTestDatabase.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QDateTime kNow(QDate(2004, 3, 15), QTime(17, 45));

// The system clock comes back however the test ends.
struct TFixedClock {
    TFixedClock() {
        vdrDateTime::SetClock([] { return kNow; });
    }
    ~TFixedClock() { vdrDateTime::SetClock(nullptr); }
};

void AddEvent(qint32 car, qint32 maint, const QDate &date = QDate(2004, 1, 1), qint32 mileage = 0,
              double cost = 0) {
    Maint().StoreEvent(MakeEvent(car, maint, date, mileage, cost));
}

std::vector<qint32> Order(qint32 car, quint8 column, quint8 direction) {
    const auto list = Maint().SortedList(car, column, direction);
    std::vector<qint32> numbers;
    for (int i = 0; i < list->Count(); ++i)
        numbers.push_back(list->Items(i).MaintNbr);
    return numbers;
}

struct TMileageFrom300 : TvdrMaintFilter {
    bool Matches(TvdrMaintRec &rec) const override { return rec.Mileage >= 300; }
};

} // namespace

TEST(Maint, RowsHoldDayNumbersAndCostsThatSurviveALocaleChangeAndARestart) {
    TvdrTestDatabase db;
    TvdrMaintRec rec;
    rec.SetCarNbr(2);
    rec.SetMaintNbr(5);
    rec.SetDateTime(vdrDateTime::ValueOf(QDateTime(QDate(2004, 3, 15), QTime(23, 59))));
    rec.SetMileage(120);
    rec.SetCost(45.5);
    EXPECT_EQ(rec.GetDateTime(), 731655 - 693594) << "time of day dropped";
    Maint().StoreEvent(rec);
    EXPECT_EQ(Maint().Get(0), QStringLiteral("0000002\t0000005=731655\t120\t45.5"));

    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    AddEvent(2, 6, QDate(2004, 3, 16), 1300, 1234.5);
    EXPECT_EQ(Maint().Get(1), QStringLiteral("0000002\t0000006=731656\t1300\t1234,5"));
    EXPECT_EQ(Maint().FindEvent(2, 5)->Cost, 45.5);
    Maint().Save();
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    db.Reopen();
    TvdrMaintRec *read = Maint().FindEvent(2, 6);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->EncodeKey() + QLatin1Char('=') + read->Encode(),
              QStringLiteral("0000002\t0000006=731656\t1300\t1234.5"));
    EXPECT_EQ(Maint().FindEvent(2, 7), nullptr);

    // Runs of tabs count as one separator; words that are not numbers read 0.
    rec.DecodeKey(QStringLiteral("x\t\t0000009"));
    rec.Decode(QStringLiteral("\t731581\t\t77\tlots"));
    EXPECT_EQ(rec.EncodeKey() + QLatin1Char('=') + rec.Encode(),
              QStringLiteral("0000000\t0000009=731581\t77\t0"));
    rec.SetCost(0.1 + 0.2);
    EXPECT_EQ(rec.Clone().Cost, 0.3) << "a clone carries the stored 15 digits";
}

TEST(Maint, AnUnsetDateReadsAsTodayWithoutChangingTheRow) {
    TvdrTestDatabase db;
    TFixedClock clock;
    Maint().SetText(QStringLiteral("0000001\t0000000=none\t10\t1\r\n"));
    TvdrMaintRec *rec = Maint().EventAt(0);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->GetDateTime(), vdrDateTime::ValueOf(kNow)) << "first read gives the time of day";
    EXPECT_EQ(rec->GetDateTime(), 731655 - 693594) << "later reads give midnight";
    EXPECT_EQ(Maint().Get(0), QStringLiteral("0000001\t0000000=none\t10\t1"));
    EXPECT_EQ(TvdrMaintRec().GetDate(), QDate(2004, 3, 15));
}

TEST(Maint, NumbersAreTheCarsLargestPlusOneAndRemovalsTouchOnlyTheirRows) {
    TvdrTestDatabase db;
    EXPECT_EQ(Maint().NextMaintNbr(3), 0);
    for (qint32 n = 0; n < 5; ++n)
        AddEvent(2, n);
    for (qint32 n = 0; n < 3; ++n)
        AddEvent(3, n);
    AddEvent(12, 9);
    Maint().SetText(Maint().Text() + QStringLiteral("no separator\r\n"));
    EXPECT_EQ(Maint().NextMaintNbr(3), 3);

    Maint().RemoveEvent(3, 1);
    EXPECT_EQ(Maint().NextMaintNbr(3), 3) << "a freed number in the middle is not reused";
    EXPECT_NE(Maint().FindEvent(3, 2), nullptr);
    AddEvent(3, 1);
    Maint().RemoveEvent(3, 2);
    EXPECT_EQ(Maint().NextMaintNbr(3), 2) << "the last number is given again";

    Maint().RemoveCarEvents(2);
    EXPECT_EQ(Maint().NextMaintNbr(2), 0);
    EXPECT_EQ(Maint().NextMaintNbr(12), 10);
    EXPECT_EQ(Maint().Count(), 4);
    EXPECT_EQ(Maint().EventAt(0), nullptr) << "a row without = holds no event";

    // Only the car's own rows count, found by its key: car 20's rows stand
    // right after car 2's, and a number past seven digits still counts.
    AddEvent(20, 50);
    AddEvent(2, 10000000);
    AddEvent(2, 4);
    AddEvent(21, 0);
    EXPECT_EQ(Maint().NextMaintNbr(2), 10000001);
    EXPECT_EQ(Maint().NextMaintNbr(20), 51);
    EXPECT_EQ(Maint().NextMaintNbr(4), 0);
    EXPECT_EQ(Maint().NextMaintNbr(22), 0);
}

TEST(Maint, SortedListsHoldOneCarsEventsInEachColumnAndDirection) {
    TvdrTestDatabase db;
    TFixedClock clock;
    AddEvent(1, 0, QDate(2004, 3, 16), 500, 0.5);
    AddEvent(1, 1, QDate(2003, 1, 1), 900, 0);
    AddEvent(1, 2, QDate(2004, 3, 14), 100, 20);
    AddEvent(1, 3, QDate(2004, 3, 15), 900, 0.5);
    AddEvent(2, 0, QDate(2003, 6, 1), 700, 10);
    Maint().SetValue(QStringLiteral("0000001\t0000004"), QStringLiteral("0\t300\t5")); // undated: today

    using L = TvdrMaintSortedList;
    using V = std::vector<qint32>;
    // Equal keys stay in MaintNbr order in both directions.
    EXPECT_EQ(Order(1, L::ByDate, L::Ascending), (V{1, 2, 3, 4, 0}));
    EXPECT_EQ(Order(1, L::ByDate, L::Descending), (V{0, 3, 4, 2, 1}));
    EXPECT_EQ(Order(1, L::ByMileage, L::Ascending), (V{2, 4, 0, 1, 3}));
    EXPECT_EQ(Order(1, L::ByMileage, L::Descending), (V{1, 3, 0, 4, 2}));
    EXPECT_EQ(Order(1, 7, 9), (V{1, 0, 3, 4, 2})) << "other values: cost, ascending";
    EXPECT_EQ(Order(1, L::ByCost, L::Descending), (V{2, 4, 0, 3, 1}));
    EXPECT_EQ(Order(2, L::ByDate, L::Ascending), (V{0}));

    auto list = Maint().SortedList(1, L::ByDate, L::Ascending);
    EXPECT_EQ(list->TotalCost(TMileageFrom300()), 0.5 + 0 + 0.5 + 5);
    Maint().RemoveCarEvents(1);
    EXPECT_EQ(list->Count(), 5) << "a snapshot";
    EXPECT_NE(ErrorMessageOf([&] { list->Items(5); }), "(no error)");
}
