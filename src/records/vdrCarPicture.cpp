#include "vdrCarPicture.h"

#include "vdrCars.h"
#include "vdrError.h"
#include "vdrLimits.h"
#include "vdrPicture.h"
#include "vdrPictureImage.h"
#include "vdrRegularFile.h"
#include "vdrTableTransaction.h"

#include <QDir>
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
    const QByteArray bytes =
        vdrRegularFile::ReadAll(fileName, vdrLimits::kMaxStreamBytes, QStringLiteral("a picture"));
    const QString extension = TvdrCarRec::NormalizeExtension(QFileInfo(fileName).suffix());
    // A picture that does not decode could never be shown, and every export
    // would have to leave it out.
    DecodeCarPicture(bytes, extension, QDir::toNativeSeparators(fileName));

    InOneTransaction({&Cars()}, [&] {
        TvdrPicture picture(carNbr);
        picture.SetStreamFile(Cars().StreamFile());
        picture.write(bytes);
        picture.Save();
        StorePictureExtension(carNbr, extension);
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
