#include "vdrUDF.h"
#include "vdrCarsUDF.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrTestDatabase.h"
#include "vdrUdfChanges.h"

#include <gtest/gtest.h>

TEST(UDF, NumbersOrdersAndLookUps) {
    TvdrTestDatabase db;
    EXPECT_EQ(UDF().AddUdf(2, QStringLiteral(" Plate ")), 0);
    EXPECT_EQ(UDF().AddUdf(0, QStringLiteral("Tyres")), 1);
    EXPECT_EQ(UDF().AddUdf(1, QStringLiteral("plate")), 2);
    EXPECT_EQ(UDF().Get(0), QStringLiteral("0000000\t0000002\tPlate"));

    UDF().SortBySortOrder();
    EXPECT_EQ(UDF().UdfNbrAt(0), 1);
    EXPECT_EQ(UDF().UdfNbrAt(1), 2);
    EXPECT_EQ(UDF().NameAt(2), QStringLiteral("Plate"));
    EXPECT_EQ(UDF().UdfSortOrderAt(2), 2);
    // Any look-up by number or name goes back to number order.
    EXPECT_EQ(UDF().FindUdf(QStringLiteral("PLATE")), 0) << "the lower of two equal names";
    EXPECT_EQ(UDF().UdfNbrAt(0), 0);
    EXPECT_EQ(UDF().FindUdf(QStringLiteral("none")), -1);
    EXPECT_EQ(UDF().UdfName(1), QStringLiteral("Tyres"));
    EXPECT_EQ(UDF().UdfName(7), QString());

    UDF().UpdateUdf(1, 5, QStringLiteral("Tires"));
    EXPECT_EQ(UDF().Get(1), QStringLiteral("0000001\t0000005\tTires"));
    UDF().UpdateUdf(9, 0, QStringLiteral("ghost"));
    EXPECT_EQ(UDF().Count(), 3);
    UDF().RemoveUdf(1);
    EXPECT_EQ(UDF().NextUdfNbr(), 1) << "the lowest free number is given again";
    UDF().RemoveUdf(0);
    EXPECT_EQ(UDF().NextUdfNbr(), 0);
    EXPECT_EQ(UDF().AddUdf(0, QString()), 0);
    EXPECT_EQ(UDF().UdfName(0), QString()) << "names may be empty";

    UDF().SortBySortOrder();
    UDF().Save();
    db.Reopen();
    EXPECT_EQ(UDF().UdfNbrAt(0), 0) << "rows load in number order";
    EXPECT_EQ(UDF().UdfNbrAt(1), 2);
}

TEST(UDF, ANameIsStorableOnlyWhenItsRowKeepsItAsTyped) {
    EXPECT_TRUE(TvdrUDF::IsStorableName(QStringLiteral(" Tyre size = 195/65 R15 ")));
    EXPECT_TRUE(TvdrUDF::IsStorableName(QString::fromUtf8("Pr\u00fcfung \u20ac")));
    EXPECT_TRUE(TvdrUDF::IsStorableName(QString()));
    const QStringList unstorable{QStringLiteral("Plate\tno"),    QStringLiteral("Plate\nno"),
                                 QStringLiteral("Plate\r"),      QString(QLatin1String("a\0b", 3)),
                                 QString::fromUtf8("\u0141ada"), QString::fromUtf8("\u2028")};
    for (const QString &name : unstorable)
        EXPECT_FALSE(TvdrUDF::IsStorableName(name)) << name.toStdString();
}

TEST(CarsUDF, OneValuePerCarAndFieldAndNoPrefixConfusion) {
    TvdrTestDatabase db;
    CarsUDF().SetCarValue(2, 0, QStringLiteral(" AB-123 "));
    CarsUDF().SetCarValue(2, 0, QStringLiteral("CD-456"));
    CarsUDF().SetCarValue(2, 1, QString());
    CarsUDF().SetCarValue(20, 0, QStringLiteral("car 20"));
    CarsUDF().SetCarValue(3, 10, QStringLiteral("field 10"));
    EXPECT_EQ(CarsUDF().Count(), 4);
    EXPECT_EQ(CarsUDF().CarValue(2, 0), QStringLiteral("CD-456"));
    EXPECT_EQ(CarsUDF().Get(1), QStringLiteral("0000002\t0000001\t")) << "an empty value has a row";
    EXPECT_EQ(CarsUDF().CarValue(2, 1), QString());
    EXPECT_EQ(CarsUDF().CarValue(2, 7), QString());
    EXPECT_EQ(CarsUDF().CarValue(3, 1), QString()) << "field 1 is not field 10";

    CarsUDF().RemoveCarValues(2);
    EXPECT_EQ(CarsUDF().CarValue(20, 0), QStringLiteral("car 20")) << "car 20 is not car 2";
    EXPECT_EQ(CarsUDF().Count(), 2);
    CarsUDF().RemoveUdfValues(0);
    EXPECT_EQ(CarsUDF().Count(), 1);
    EXPECT_EQ(CarsUDF().CarNbrAt(0), 3);
    EXPECT_EQ(CarsUDF().UdfNbrAt(0), 10);
    EXPECT_EQ(CarsUDF().ValueAt(0), QStringLiteral("field 10"));
}

TEST(UDF, ConfirmingTheDialogRenumbersAndLeavesNothingOfDeletedFields) {
    TvdrTestDatabase db;
    for (const char *name : {"Plate", "Tyres", "Colour"})
        UDF().AddUdf(UDF().Count(), QString::fromLatin1(name));
    CarsUDF().SetCarValue(0, 0, QStringLiteral("AB-123"));
    CarsUDF().SetCarValue(0, 1, QStringLiteral("205/55"));
    TvdrSortOrderRec byPlate;
    byPlate.SetName(QStringLiteral("By plate"));
    byPlate.SortOrderNbr = 1;
    byPlate.AddSortField(0, TvdrSortOrderField::UserDefined, 0);
    SortOrder().AddSortOrder(byPlate);

    // Delete Plate (0), keep Colour and Tyres in the user's order, add one.
    ApplyUdfChanges(
        {0}, {{2, QStringLiteral("Colour")}, {-1, QStringLiteral("Owner")}, {1, QStringLiteral("Tyres")}});
    db.Reopen(); // all three tables were saved

    EXPECT_EQ(UDF().FindUdf(QStringLiteral("Owner")), 0) << "the freed number is given at once";
    EXPECT_EQ(CarsUDF().CarValue(0, 0), QString()) << "the new field inherits no value";
    EXPECT_EQ(CarsUDF().CarValue(0, 1), QStringLiteral("205/55"));
    UDF().SortBySortOrder();
    EXPECT_EQ(UDF().NameAt(0), QStringLiteral("Colour"));
    EXPECT_EQ(UDF().NameAt(1), QStringLiteral("Owner"));
    EXPECT_EQ(UDF().NameAt(2), QStringLiteral("Tyres"));
    EXPECT_EQ(UDF().UdfSortOrderAt(2), 2);
    const TvdrSortOrderRec *found = SortOrder().FindSortOrder(QStringLiteral("By plate"));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->SortFieldCount(), 0) << "the field left every sort order";
}
