#include "vdrCarSave.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrTableTransaction.h"
#include "vdrUDF.h"

void SaveCar(const TvdrCarEntry &entry) {
    InOneTransaction({&Cars(), &CarsUDF()}, [&] {
        TvdrCarRec rec;
        rec.CarNbr = entry.CarNbr;
        rec.Year = entry.Year;
        rec.SetMake(entry.Make);
        rec.SetModel(entry.Model);
        rec.SetPictureExtension(Cars().PictureExtension(entry.CarNbr));
        Cars().StoreCarRec(rec);
        Cars().Save();
        for (const auto &value : entry.Values)
            CarsUDF().SetCarValue(entry.CarNbr, value.first, value.second);
        CarsUDF().Save();
    });
}

QList<QPair<qint32, QString>> CarValuesForAllFields(qint32 carNbr) {
    QList<QPair<qint32, QString>> values;
    UDF().SortBySortOrder();
    for (int i = 0; i < UDF().Count(); ++i) {
        const qint32 udfNbr = UDF().UdfNbrAt(i);
        values.append({udfNbr, CarsUDF().CarValue(carNbr, udfNbr)});
    }
    return values;
}
