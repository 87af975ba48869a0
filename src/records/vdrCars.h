#pragma once

#include "vdrCarRec.h"
#include "vdrEntity.h"

// The cars: one row per car, name FormatKey(CarNbr), value a TvdrCarRec's
// encoding. CarNbr is how every other table refers to a car. One per
// process: reach it through Cars().
class TvdrCars : public TvdrEntity {
public:
    TvdrCars();

    // Takes the first free number, stores the row of a fresh record
    // ("0", TAB, TAB, TAB) and saves the table.
    qint32 NewCar();
    // Removes the row only: no save, no cascade (RemoveCarAndHistory does both).
    void RemoveCar(qint32 carNbr);
    // The table's field bound to the car's row; writing it replaces the row
    // (trimmed), an empty text removes it. The caller saves.
    TvdrField &CarField(qint32 carNbr);
    // The number in the name of row `index`; -1 out of range or not a number.
    qint32 CarNbrAt(int index) const;
    bool HasCar(qint32 carNbr) const;

    // The car's row decoded; a car without a row reads as year 2000 and
    // empty texts. Leaves the table's field alone.
    TvdrCarRec CarRec(qint32 carNbr) const;
    // The car of row `index`, as CarRec(CarNbrAt(index)) gives it, read from
    // the row itself where it can; CarNbr is -1 for a row without a number.
    TvdrCarRec CarRecAt(int index) const;
    QString CarDescription(qint32 carNbr) const;
    bool HasPicture(qint32 carNbr) const;
    QString PictureExtension(qint32 carNbr) const;
    // Writes `rec` as the row of rec.CarNbr through the car's field. The
    // caller saves.
    void StoreCarRec(const TvdrCarRec &rec);

    // Keyed by one record number.
    QString RowProblem(const QString &row) const override;
};

TvdrCars &Cars();
