#include "vdrMaintFilterValues.h"

#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintSortedList.h"
#include "vdrTestDatabase.h"

#include <gtest/gtest.h>

namespace {

QStringList Texts(const TvdrFilterValues &values) {
    QStringList texts;
    for (const TvdrFilterValue &value : values)
        texts.append(value.Text);
    return texts;
}

// The MaintNbrs of car 1 that `filter` accepts, in MaintNbr order.
QList<qint32> Accepted(const TvdrMaintFilter &filter) {
    QList<qint32> numbers;
    const auto list = Maint().SortedList(1, TvdrMaintSortedList::ByDate, TvdrMaintSortedList::Ascending);
    for (int i = 0; i < list->Count(); ++i)
        if (filter.Matches(list->Items(i)))
            numbers.append(list->Items(i).MaintNbr);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

TEST(MaintFilterValues, OneEntryPerShownTextAscendingByValueWhateverTheListOrder) {
    TvdrTestDatabase db;
    Maint().StoreEvent(MakeEvent(1, 0, QDate(2004, 5, 2), 12345, 10.004));
    Maint().StoreEvent(MakeEvent(1, 1, QDate(2004, 1, 9), 999, 250));
    Maint().StoreEvent(MakeEvent(1, 2, QDate(2004, 5, 2), 1234567, 10.001));
    Maint().StoreEvent(MakeEvent(1, 3, QDate(2004, 1, 10), -1500, 9.5));
    Maint().StoreEvent(MakeEvent(2, 0, QDate(1999, 1, 1), 5, 1)); // another car's
    const auto list = Maint().SortedList(1, TvdrMaintSortedList::ByCost, TvdrMaintSortedList::Descending);

    const TvdrMaintFilterValues values = TvdrMaintFilterValues::Of(*list);
    EXPECT_EQ(Texts(values.Dates), QStringList({"1/9/2004", "1/10/2004", "5/2/2004"}))
        << "by date, not by text";
    EXPECT_EQ(Texts(values.Mileages), QStringList({"-1,500", "999", "12,345", "1,234,567"}));
    EXPECT_EQ(Texts(values.Costs), QStringList({"9.50", "10.00", "250.00"}));
    EXPECT_DOUBLE_EQ(values.Costs[1].Low, 10.001);
    EXPECT_DOUBLE_EQ(values.Costs[1].High, 10.004);
    EXPECT_DOUBLE_EQ(values.Dates[0].Low, vdrDateTime::ValueOf(QDateTime(QDate(2004, 1, 9), QTime(0, 0))));

    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    const TvdrMaintFilterValues comma = TvdrMaintFilterValues::Of(*list);
    EXPECT_EQ(Texts(comma.Mileages), Texts(values.Mileages)) << "mileages are comma-grouped in every locale";
    EXPECT_EQ(Texts(comma.Costs), QStringList({"9,50", "10,00", "250,00"}));
    EXPECT_EQ(comma.Dates[0].Text, QStringLiteral("09.01.2004"));
}

TEST(MaintFilterValues, RangeFiltersTakeInEveryEventShowingTheChosenTexts) {
    TvdrTestDatabase db;
    Maint().StoreEvent(MakeEvent(1, 0, QDate(2004, 5, 2), 100, 10.004));
    Maint().StoreEvent(MakeEvent(1, 1, QDate(2004, 1, 9), 200, 250));
    Maint().StoreEvent(MakeEvent(1, 2, QDate(2004, 5, 2), 300, 10.001));
    const auto list = Maint().SortedList(1, TvdrMaintSortedList::ByDate, TvdrMaintSortedList::Ascending);
    const TvdrMaintFilterValues values = TvdrMaintFilterValues::Of(*list);
    ASSERT_EQ(values.Costs.size(), 2u);
    ASSERT_EQ(values.Dates.size(), 2u);

    const TvdrFilterValue &tenCents = values.Costs[0];
    EXPECT_EQ(Accepted(*RangeFilter(TvdrRangePage::Cost, tenCents, tenCents)), QList<qint32>({0, 2}))
        << "both costs show as 10.00";
    EXPECT_EQ(Accepted(*RangeFilter(TvdrRangePage::Cost, values.Costs.front(), values.Costs.back())),
              QList<qint32>({0, 1, 2}))
        << "the preset range covers every event";

    const TvdrFilterValue &may = values.Dates[1];
    EXPECT_EQ(Accepted(*RangeFilter(TvdrRangePage::Date, may, may)), QList<qint32>({0, 2}));
    EXPECT_EQ(Accepted(*RangeFilter(TvdrRangePage::Date, values.Dates[1], values.Dates[0])), QList<qint32>())
        << "From after To accepts nothing";

    EXPECT_EQ(Accepted(*RangeFilter(TvdrRangePage::Mileage, values.Mileages[1], values.Mileages[2])),
              QList<qint32>({1, 2}));
}
