#include "vdrCarPicture.h"

#include "vdrCars.h"
#include "vdrError.h"
#include "vdrPicture.h"
#include "vdrTableTransaction.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Writing the row of a car that has none would create a car.
void CheckCar(qint32 carNbr) {
    if (!Cars().HasCar(carNbr))
        throw EvdrError(QStringLiteral("Car (%1) does not exist").arg(carNbr));
}

void StorePictureExtension(qint32 carNbr, const QString &extension) {
    TvdrCarRec rec = Cars().CarRec(carNbr);
    rec.SetPictureExtension(extension);
    Cars().StoreCarRec(rec);
    Cars().Save();
}

} // namespace

void InsertCarPicture(qint32 carNbr, const QString &fileName) {
    CheckCar(carNbr);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()));

    InOneTransaction({&Cars()}, [&] {
        TvdrPicture picture(carNbr);
        picture.SetStreamFile(Cars().StreamFile());
        picture.write(bytes);
        picture.Save();
        StorePictureExtension(carNbr, QLatin1Char('.') + QFileInfo(fileName).suffix());
    });
}

void ClearCarPicture(qint32 carNbr) {
    CheckCar(carNbr);
    InOneTransaction({&Cars()}, [&] {
        TvdrPicture picture(carNbr);
        picture.SetStreamFile(Cars().StreamFile());
        picture.Delete();
        StorePictureExtension(carNbr, QString());
    });
}
