#include "vdrCars.h"

#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrKeyAllocation.h"
#include "vdrSingleton.h"
#include "vdrStrUtils.h"

TvdrCars::TvdrCars() : TvdrEntity(QStringLiteral("TvdrCars")) {
    TvdrSingleton<TvdrCars>::CheckCreation("Cars");
}

TvdrCars &Cars() {
    return TvdrSingleton<TvdrCars>::Instance();
}

qint32 TvdrCars::NewCar() {
    const qint32 carNbr = TvdrKeyAllocation::FirstFreeNumber(*this, TvdrKeyAllocation::NameNumber);
    SetValue(TvdrCmRtn::FormatKey(carNbr), TvdrCarRec().Encode());
    Save();
    return carNbr;
}

void TvdrCars::RemoveCar(qint32 carNbr) {
    DeleteName(TvdrCmRtn::FormatKey(carNbr));
}

TvdrField &TvdrCars::CarField(qint32 carNbr) {
    return Field(TvdrCmRtn::FormatKey(carNbr));
}

qint32 TvdrCars::CarNbrAt(int index) const {
    TvdrReadGuard guard(Lock());
    if (index < 0 || index >= Count())
        return -1;
    return TvdrKeyAllocation::StoredNameNumber(Lines().At(index));
}

bool TvdrCars::HasCar(qint32 carNbr) const {
    return IndexOfName(TvdrCmRtn::FormatKey(carNbr)) >= 0;
}

TvdrCarRec TvdrCars::CarRec(qint32 carNbr) const {
    TvdrCarRec rec;
    rec.CarNbr = carNbr;
    rec.Decode(Trim(GetValue(TvdrCmRtn::FormatKey(carNbr))));
    return rec;
}

TvdrCarRec TvdrCars::CarRecAt(int index) const {
    TvdrReadGuard guard(Lock());
    TvdrCarRec rec;
    rec.CarNbr = -1;
    if (index < 0 || index >= Count())
        return rec;
    const QByteArrayView row = Lines().At(index);
    const qint32 carNbr = TvdrKeyAllocation::StoredNameNumber(row);
    if (carNbr < 0)
        return rec;
    // A name written otherwise, or a second row of one name (rows stand in
    // name order), is not what look-ups by number find: the car is what
    // they find.
    const QByteArrayView name = NameBytes(row);
    char key[TvdrCmRtn::kKeyBytes];
    if (name != QByteArrayView(key, TvdrCmRtn::FormatKey(carNbr, key)) ||
        (index > 0 && NameBytes(Lines().At(index - 1)) == name))
        return CarRec(carNbr);
    rec.CarNbr = carNbr;
    rec.Decode(Trim(vdrCodePage::ToUnicode(row.sliced(name.size() + 1))));
    return rec;
}

QString TvdrCars::CarDescription(qint32 carNbr) const {
    return CarRec(carNbr).Description();
}

bool TvdrCars::HasPicture(qint32 carNbr) const {
    return !PictureExtension(carNbr).isEmpty();
}

QString TvdrCars::PictureExtension(qint32 carNbr) const {
    return CarRec(carNbr).PictureExtension;
}

QString TvdrCars::RowProblem(const QString &row) const {
    const QString problem = TvdrEntity::RowProblem(row);
    return problem.isEmpty() ? NumberKeyProblem(row) : problem;
}

void TvdrCars::StoreCarRec(const TvdrCarRec &rec) {
    CarField(rec.CarNbr).SetAsString(rec.Encode());
}
