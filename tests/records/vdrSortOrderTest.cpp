#include "vdrSortOrder.h"
#include "kvxLang.h"
#include "kvxStreamFile.h"
#include "vdrCarComparer.h"
#include "vdrCarRec.h"
#include "vdrCarsUDF.h"
#include "vdrSortOrderList.h"
#include "vdrTestDatabase.h"

#include <gtest/gtest.h>

namespace {

TvdrSortOrderRec Decoded(const QString &row) {
    TvdrSortOrderRec rec;
    rec.Decode(row);
    return rec;
}

void AddRows(const QStringList &rows) {
    for (const QString &row : rows)
        SortOrder().AddSortOrder(Decoded(row));
}

QString FirstDirection() {
    return Lang()
        .GetText(QStringLiteral("SortOrderDirectionsList"))
        .split(QStringLiteral("\r\n"))
        .first()
        .trimmed();
}

} // namespace

TEST(SortOrderRec, RowsDecodeAndEncodeBackToTheSameText) {
    const TvdrSortOrderRec byMake = Decoded(QStringLiteral("By make=1\t1|0|0\t0|0|1"));
    EXPECT_EQ(byMake.SortOrderName, QStringLiteral("By make"));
    EXPECT_EQ(byMake.SortOrderNbr, 1);
    ASSERT_EQ(byMake.SortFieldCount(), 2);
    EXPECT_EQ(byMake.SortFieldAt(0)->FieldNbr, TvdrSortOrderField::Make);
    EXPECT_EQ(byMake.SortFieldAt(1)->Direction, 1);
    EXPECT_EQ(byMake.SortFieldAt(2), nullptr);
    for (const QString &row : {QStringLiteral("By make=1\t1|0|0"), QStringLiteral("No fields=12"),
                               QStringLiteral("Udf=-3\t4|1|1\t2|0|0")})
        EXPECT_EQ(Decoded(row).Clone().Encode(), row);

    // Short, empty and out-of-range parts; a row without "=" is all number.
    const TvdrSortOrderRec odd = Decoded(QStringLiteral(" Odd =x\t7|1\t\t5|257|-1\tq"));
    EXPECT_EQ(odd.Encode(), QStringLiteral("Odd=0\t7|1|0\t0|0|0\t5|1|255\t0|0|0"));
    EXPECT_EQ(Decoded(QStringLiteral("5")).Encode(), QStringLiteral("=5"));

    TvdrSortOrderRec rec = Decoded(QStringLiteral("A=0\t1|0|0\t2|0|0"));
    rec.DeleteSortField(5);
    rec.DeleteSortField(0);
    EXPECT_EQ(rec.FieldsText(), QStringLiteral("2|0|0"));
    rec.Decode(QStringLiteral("B=3"));
    EXPECT_EQ(rec.SortFieldCount(), 0);
}

TEST(SortOrderRec, ARowOfAVeryGreatManyFieldsDecodesEveryField) {
    // A damaged row of 300000 TABs (its time: vandor_bench_hostile).
    const TvdrSortOrderRec rec =
        Decoded(QStringLiteral("Huge=1\t") + QString(300000, QLatin1Char('\t')) + QStringLiteral("3|1|1"));
    ASSERT_EQ(rec.SortFieldCount(), 300001);
    EXPECT_EQ(rec.SortFieldAt(0)->FieldNbr, 0);
    EXPECT_EQ(rec.SortFieldAt(300000)->FieldNbr, 3);
    EXPECT_EQ(rec.SortFieldAt(300000)->Direction, 1);
}

TEST(SortOrder, DefaultSortOrderIsAddedOnceAndNamedByTheLanguage) {
    TvdrTestDatabase db;
    ASSERT_FALSE(FirstDirection().isEmpty());
    for (int round = 0; round < 2; ++round) {
        std::unique_ptr<TvdrSortOrderList> list = SortOrder().SortOrderList();
        ASSERT_EQ(list->Count(), 1);
        EXPECT_EQ(list->Items(0)->Encode(), FirstDirection() + QStringLiteral("=0\t0|0|0\t1|0|0\t2|0|0"));
        EXPECT_EQ(SortOrder().Count(), 1);
    }

    const QString languageText = Lang().Text();
    Lang().DeleteName(QStringLiteral("SortOrderDirectionsList"));
    const QString fallback = TvdrSortOrder::DefaultSortOrder().SortOrderName;
    Lang().SetText(languageText);
    EXPECT_EQ(fallback, QStringLiteral("Ascending"));
}

TEST(SortOrder, ListFollowsNumbersAndFindIgnoresCase) {
    TvdrTestDatabase db;
    // Rows of longer names sort ahead of "year=" here, out of name order.
    AddRows({QStringLiteral("Year 2=4"), QStringLiteral("Year-new=2"), QStringLiteral("Year-old=3\t1|0|0"),
             QStringLiteral("year=1\t0|0|1"), QStringLiteral("Yearly=0"), QStringLiteral("Z=1")});
    std::unique_ptr<TvdrSortOrderList> list = SortOrder().SortOrderList();
    QStringList names;
    for (int i = 0; i < list->Count(); ++i)
        names << list->Items(i)->SortOrderName;
    // Equal numbers keep the table's order.
    EXPECT_EQ(names.join(QLatin1Char(',')), QStringLiteral("Yearly,year,Z,Year-new,Year-old,Year 2"));

    ASSERT_NE(SortOrder().FindSortOrder(QStringLiteral("YEAR")), nullptr);
    EXPECT_EQ(SortOrder().FindSortOrder(QStringLiteral("YEAR"))->Encode(), QStringLiteral("year=1\t0|0|1"));
    EXPECT_EQ(SortOrder().FindSortOrder(QStringLiteral("Years")), nullptr);
    EXPECT_EQ(SortOrder().SortOrderAt(SortOrder().Count()), nullptr);
}

TEST(SortOrder, RemovingAUdfKeepsBuiltInFieldsAndEmptiedSortOrders) {
    TvdrTestDatabase db;
    AddRows({QStringLiteral("Mixed=1\t4|1|0\t4|0|0\t5|1|1\t4|1|1"), QStringLiteral("Only udf=0\t4|1|1"),
             QStringLiteral("Odd kind=2\t4|2|0\t3|1|0")});
    SortOrder().RemoveUdfFromSortOrders(4);
    EXPECT_EQ(SortOrder().Text(),
              QStringLiteral("Mixed=1\t4|0|0\t5|1|1\r\nOdd kind=2\t3|1|0\r\nOnly udf=0\r\n"));
}

TEST(SortOrder, SavedRowsComeBackAfterReopen) {
    TvdrTestDatabase db;
    AddRows({QStringLiteral("zeta=1\t4|1|1"), QStringLiteral("Alpha=0\t2|0|1"), QStringLiteral("Empty=2")});
    const QString saved = SortOrder().Text();
    SortOrder().Save();
    SortOrder().AddSortOrder(TvdrSortOrder::DefaultSortOrder());
    db.Reopen();
    EXPECT_EQ(SortOrder().Text(), saved);
    EXPECT_TRUE(SortOrder().Sorted());
    EXPECT_EQ(SortOrder().FindSortOrder(QStringLiteral("ZETA"))->FieldsText(), QStringLiteral("4|1|1"));
}

TEST(SortOrder, RowsLoadedFromTheFileAreAllKeptAndOnlyLaterAdditionsIgnoreEqualOnes) {
    TvdrTestDatabase db;
    const QByteArray rows = "Year=0\t0|0|0\r\nBy make=1\t1|0|0\r\nBY MAKE=1\t1|0|0\r\nBy make=1\t1|0|0\r\n";
    db.Reopen([&rows](const QString &fileName) {
        TkvxStreamFile file;
        file.Open(fileName, false);
        file.WriteStream(QStringLiteral("TvdrSortOrder"), 0, rows);
        file.Close();
    });
    ASSERT_TRUE(SortOrder().Sorted());
    EXPECT_EQ(SortOrder().Count(), 4) << "equal rows of the file stay";
    SortOrder().Add(QStringLiteral("by MAKE=1\t1|0|0"));
    SortOrder().Add(QStringLiteral("Model=2\t2|0|0"));
    EXPECT_EQ(SortOrder().Count(), 5) << "an equal row added now does not";
    SortOrder().Save();
    db.Reopen();
    EXPECT_EQ(SortOrder().Text(),
              QStringLiteral("By make=1\t1|0|0\r\nBY MAKE=1\t1|0|0\r\nBy make=1\t1|0|0\r\n"
                             "Model=2\t2|0|0\r\nYear=0\t0|0|0\r\n"));
}

TEST(CarOrder, FieldsDecideInTurnWithCaseIgnoredAndDirectionsApplied) {
    TvdrTestDatabase db;
    TvdrCarRec older;
    older.CarNbr = 0;
    older.Year = 1998;
    older.SetMake(QStringLiteral("ford"));
    older.SetModel(QStringLiteral("Taurus"));
    TvdrCarRec newer = older;
    newer.CarNbr = 1;
    newer.Year = 2004;
    newer.SetMake(QStringLiteral("FORD"));
    CarsUDF().SetCarValue(0, 4, QStringLiteral("b-plate"));
    CarsUDF().SetCarValue(1, 4, QStringLiteral("A-plate"));

    TvdrSortOrderRec order;
    order.AddSortField(TvdrSortOrderField::Make, TvdrSortOrderField::BuiltIn, 0);
    order.AddSortField(TvdrSortOrderField::Model, TvdrSortOrderField::BuiltIn, 0);
    EXPECT_EQ(CompareCars(order, older, newer), 0) << "makes differing in case only are equal";
    order.AddSortField(TvdrSortOrderField::Year, TvdrSortOrderField::BuiltIn, 1);
    EXPECT_GT(CompareCars(order, older, newer), 0) << "descending year: the newest first";
    EXPECT_LT(CompareCars(order, newer, older), 0);

    TvdrSortOrderRec byPlate;
    byPlate.AddSortField(4, TvdrSortOrderField::UserDefined, 0);
    byPlate.AddSortField(TvdrSortOrderField::Year, TvdrSortOrderField::BuiltIn, 0);
    EXPECT_GT(CompareCars(byPlate, older, newer), 0) << "A-plate before b-plate, case ignored";
    CarsUDF().RemoveCarValues(1);
    EXPECT_GT(CompareCars(byPlate, older, newer), 0) << "a missing value is empty and sorts first";
    CarsUDF().RemoveCarValues(0);
    EXPECT_LT(CompareCars(byPlate, older, newer), 0) << "equal values pass on to the year";
    EXPECT_EQ(CompareCars(TvdrSortOrderRec(), older, newer), 0) << "no fields leave the order alone";
}
