#include "vdrSyntheticDatabase.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPicture.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrUDF.h"

#include <QDate>

#include <initializer_list>

void FillSyntheticDatabase(int events, int eventsPerCar) {
    const QStringList makes = {QStringLiteral("Ford"), QStringLiteral("Volvo"), QStringLiteral("Saab"),
                               QStringLiteral("Fiat")};
    const int cars = qMax(1, events / qMax(1, eventsPerCar));
    for (int f = 0; f < 3; ++f)
        UDF().AddUdf(f, QStringLiteral("Field %1").arg(f));
    for (int r = 0; r < 40; ++r)
        Repairs().AddRepair(QStringLiteral("Repair description %1").arg(r));
    unsigned seed = 12345;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    int event = 0;
    for (int c = 0; c < cars; ++c) {
        TvdrCarRec car;
        car.CarNbr = Cars().NewCar();
        car.Year = 1990 + int(next(30));
        car.SetMake(makes[int(next(4))]);
        car.SetModel(QStringLiteral("Model %1").arg(next(100)));
        if (c % 10 == 0) {
            car.SetPictureExtension(QStringLiteral("jpg"));
            TvdrPicture picture(car.CarNbr);
            picture.SetStreamFile(Cars().StreamFile());
            picture.Save(); // an empty picture exports as an empty file
        }
        Cars().StoreCarRec(car);
        for (int f = 0; f < 3; ++f)
            CarsUDF().SetCarValue(car.CarNbr, f, QStringLiteral("value %1").arg(next(1000)));
        const int carEvents = (events - event) / (cars - c);
        QDate date(2000, 1, 1);
        for (int m = 0; m < carEvents; ++m, ++event) {
            date = date.addDays(1 + int(next(20)));
            TvdrMaintRec rec;
            rec.SetCarNbr(car.CarNbr);
            rec.SetMaintNbr(m);
            rec.SetDate(date);
            rec.SetMileage(int(m * 500 + next(400)));
            rec.SetCost(next(100000) / 100.0);
            Maint().StoreEvent(rec);
            MaintRepairs().AddLink(car.CarNbr, m, qint32(next(40)));
            if (next(2))
                MaintRepairs().AddLink(car.CarNbr, m, qint32(next(40)));
            if (m % 4 == 0)
                MaintNotes().AddNote(car.CarNbr, m,
                                     QStringLiteral("Checked at %1 km,\r\nall fine").arg(rec.Mileage));
        }
    }
    SortOrder().SortOrderList();
    TvdrSortOrderRec byField;
    byField.SetName(QStringLiteral("By field"));
    byField.SortOrderNbr = 1;
    byField.AddSortField(1, TvdrSortOrderField::UserDefined, 0);
    SortOrder().AddSortOrder(byField);
    for (TvdrStringList *table : std::initializer_list<TvdrStringList *>{
             &Cars(), &UDF(), &CarsUDF(), &Repairs(), &Maint(), &MaintRepairs(), &MaintNotes(), &SortOrder()})
        table->Save();
}

TvdrMaintEntry SyntheticEvent(qint32 carNbr, qint32 maintNbr) {
    TvdrMaintEntry entry;
    entry.CarNbr = carNbr;
    entry.MaintNbr = maintNbr;
    entry.Date = QDate(2020, 5, 1);
    entry.Mileage = 123456;
    entry.Cost = 99.5;
    entry.RepairNbrs = {3, 7};
    entry.Note = QStringLiteral("new tyres\r\nand a wheel alignment");
    return entry;
}
