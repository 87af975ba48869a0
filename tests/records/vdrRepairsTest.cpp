#include "vdrRepairs.h"
#include "kvxLang.h"
#include "vdrCars.h"
#include "vdrMaintRepairs.h"
#include "vdrTestDatabase.h"

#include <gtest/gtest.h>

namespace {

std::vector<qint32> Order() {
    std::vector<qint32> order;
    for (int i = 0; i < Repairs().OrderCount(); ++i)
        order.push_back(Repairs().RepairNbrAt(i));
    return order;
}

} // namespace

TEST(Repairs, NumbersGrowFromTheLastRow) {
    TvdrTestDatabase db;
    EXPECT_EQ(Repairs().AddRepair(QStringLiteral("Brakes")), 0);
    EXPECT_EQ(Repairs().AddRepair(QStringLiteral("Air filter")), 1);
    EXPECT_EQ(Repairs().AddRepair(QStringLiteral("Wipers")), 2);
    Repairs().RemoveRepair(2);
    EXPECT_EQ(Repairs().AddRepair(QStringLiteral("Wipers")), 2) << "the last number is given again";
    Repairs().RemoveRepair(1);
    EXPECT_EQ(Repairs().AddRepair(QStringLiteral("Oil")), 3) << "a number in the middle is not";
    EXPECT_EQ(Repairs().AddRepair(QStringLiteral("   ")), 4);
    EXPECT_EQ(Repairs().Count(), 3) << "a blank description stores nothing";
    Repairs().RepairField(3).SetAsString(QStringLiteral("  Oil change  "));
    EXPECT_EQ(Repairs().Get(2), QStringLiteral("0000003=Oil change"));
    Repairs().Save();
    db.Reopen();
    EXPECT_EQ(Repairs().Description(3), QStringLiteral("Oil change"));
}

TEST(Repairs, RowsWithoutANumberAfterTheLastArePassedOver) {
    TvdrTestDatabase db;
    // A damaged last row (its name is no number) must not make the next
    // description number 0, which every event linked to 0 would then show.
    Repairs().SetText(QStringLiteral("0000000=Brakes\r\n0000001=Oil\r\nzz=damaged\r\n"));
    EXPECT_EQ(Repairs().AddRepair(QStringLiteral("Wipers")), 2);
    EXPECT_EQ(Repairs().Description(0), QStringLiteral("Brakes"));
    EXPECT_EQ(Repairs().Description(2), QStringLiteral("Wipers"));
    EXPECT_EQ(Repairs().Count(), 4);
}

TEST(Repairs, LookUpsIgnoreCaseButNotBlanks) {
    TvdrTestDatabase db;
    Repairs().AddRepair(QStringLiteral("Oil change"));
    Repairs().AddRepair(QStringLiteral("oil CHANGE"));
    Repairs().AddRepair(QStringLiteral(" Wipers"));
    EXPECT_EQ(Repairs().FindRepair(QStringLiteral("OIL CHANGE")), 0);
    EXPECT_EQ(Repairs().FindRepair(QStringLiteral("Oil change ")), -1);
    EXPECT_EQ(Repairs().FindRepair(QStringLiteral("Wipers")), -1) << "the stored text keeps its blank";
    EXPECT_EQ(Repairs().Description(2), QStringLiteral("Wipers"));
    QStringList list{QStringLiteral("stale")};
    Repairs().GetDescriptions(list);
    EXPECT_EQ(list, QStringList({QStringLiteral("Oil change"), QStringLiteral("Wipers")}));

    EXPECT_EQ(SelectRepair(QStringLiteral("OIL change")), 0);
    EXPECT_EQ(Repairs().Count(), 3) << "an existing description is reused";
    EXPECT_EQ(SelectRepair(QStringLiteral("Tyres")), 3);
    db.Reopen();
    EXPECT_EQ(Repairs().FindRepair(QStringLiteral("tyres")), 3) << "a new one is saved";
    EXPECT_EQ(ErrorMessageOf([] { SelectRepair(QStringLiteral(" \t")); }),
              Lang().GetText(QStringLiteral("WM-RepairDescriptionIsBlank")).toStdString());
}

TEST(Repairs, DisplayOrderInBothDirections) {
    TvdrTestDatabase db;
    Repairs().AddRepair(QStringLiteral("Brakes"));
    Repairs().AddRepair(QStringLiteral("Air filter"));
    Repairs().AddRepair(QStringLiteral("Wipers"));
    Repairs().AddRepair(QStringLiteral("brakes"));
    Repairs().BuildOrder(false);
    EXPECT_EQ(Order(), std::vector<qint32>({1, 0, 3, 2})) << "equal texts stand together";
    Repairs().BuildOrder(true);
    EXPECT_TRUE(Repairs().Descending());
    EXPECT_EQ(Order(), std::vector<qint32>({2, 3, 0, 1}));
    Repairs().AddRepair(QStringLiteral("Clutch"));
    EXPECT_EQ(Order(), std::vector<qint32>({2, 4, 3, 0, 1})) << "adding keeps the direction";
    Repairs().RemoveRepair(3);
    EXPECT_EQ(Order(), std::vector<qint32>({2, 4, 0, 1}));
    EXPECT_NE(ErrorMessageOf([] { Repairs().RepairNbrAt(4); }), "(no error)");
}

TEST(Repairs, DescriptionsInUseAreReportedAndOnlyUnlinkedOnesPruned) {
    TvdrTestDatabase db;
    Repairs().AddRepair(QStringLiteral("Brakes"));
    Repairs().AddRepair(QStringLiteral("Wipers"));
    Repairs().AddRepair(QStringLiteral("Oil"));
    const qint32 car = Cars().NewCar();
    TvdrCarRec rec = Cars().CarRec(car);
    rec.Year = 2004;
    rec.SetMake(QStringLiteral("Ford"));
    rec.SetModel(QStringLiteral("Taurus"));
    Cars().StoreCarRec(rec);
    Cars().NewCar();
    for (qint32 maint : {0, 1, 2})
        MaintRepairs().AddLink(car, maint, 1);
    MaintRepairs().AddLink(1, 0, 1);

    EXPECT_EQ(RepairInUseText(0), QString());
    EXPECT_EQ(RepairInUseText(1), Lang().GetText(QStringLiteral("IM-RepairInUsePart1")) +
                                      QStringLiteral("\r\t0  \r\t2004 Ford Taurus\r\r") +
                                      Lang().GetText(QStringLiteral("IM-RepairInUsePart2")));

    Repairs().RemoveUnlinked();
    EXPECT_EQ(Repairs().Count(), 1);
    EXPECT_EQ(Repairs().Description(1), QStringLiteral("Wipers"));
    MaintRepairs().Clear();
    Repairs().RemoveUnlinked();
    EXPECT_EQ(Repairs().Count(), 0);
}
