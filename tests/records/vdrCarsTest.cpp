#include "vdrCars.h"
#include "kvxStreamFile.h"
#include "vdrCarPicture.h"
#include "vdrCarRemoval.h"
#include "vdrCarsUDF.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPicture.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(CarRec, RowsDecodeWithFallbacksAndExtensionsAreNormalised) {
    TvdrCarRec rec;
    rec.Decode(QStringLiteral("abc\tFord"));
    EXPECT_EQ(rec.Year, 2000);
    EXPECT_EQ(rec.Make, QStringLiteral("Ford"));
    EXPECT_TRUE(rec.Model.isEmpty());
    EXPECT_TRUE(rec.PictureExtension.isEmpty());
    rec.Decode(QStringLiteral("0\t\t\t"));
    EXPECT_EQ(rec.Year, 0) << "a new car's year is 0, a valid integer";
    rec.Decode(QStringLiteral("-5\t VW \t\t.JPEG"));
    EXPECT_EQ(rec.Year, -5);
    EXPECT_EQ(rec.Make, QStringLiteral("VW"));
    EXPECT_EQ(rec.PictureExtension, QStringLiteral("jpg"));

    EXPECT_EQ(TvdrCarRec::NormalizeExtension(QStringLiteral(" .Png ")), QStringLiteral("png"));
    EXPECT_EQ(TvdrCarRec::NormalizeExtension(QStringLiteral("..bmp")), QStringLiteral(".bmp"));
    EXPECT_EQ(TvdrCarRec::NormalizeExtension(QStringLiteral("JPeG")), QStringLiteral("jpg"));
    EXPECT_EQ(TvdrCarRec::NormalizeExtension(QString()), QString());

    rec.Year = 1998;
    rec.SetMake(QStringLiteral("  VW\t"));
    rec.SetModel(QString());
    EXPECT_EQ(rec.Description(), QStringLiteral("1998 VW ")) << "empty model leaves the blank";
    // A pasted TAB or line break must not add fields to the row.
    rec.SetModel(QStringLiteral("Golf\tGTI\r\nMk2"));
    EXPECT_EQ(rec.Model, QStringLiteral("Golf GTI  Mk2"));
    TvdrCarRec back;
    back.Decode(rec.Encode());
    EXPECT_EQ(back.Model, rec.Model);
    EXPECT_EQ(back.Year, 1998);
    // Nor may one in an extension (from a file name or a document), nor a NUL,
    // which would end the whole table when it is read back.
    rec.SetPictureExtension(QStringLiteral(".Jp") + QChar(0) + QStringLiteral("g\tx\r\n"));
    EXPECT_EQ(rec.PictureExtension, QStringLiteral("jp g x"));
    back.Decode(rec.Encode());
    EXPECT_EQ(back.PictureExtension, rec.PictureExtension);
}

TEST(Cars, NewCarsTakeTheFirstFreeNumberAndRowsKeepTheirForm) {
    TvdrTestDatabase db;
    EXPECT_EQ(Cars().NewCar(), 0);
    EXPECT_EQ(Cars().Get(0), QStringLiteral("0000000=0\t\t\t")) << "a new row is stored untrimmed";
    EXPECT_EQ(Cars().NewCar(), 1);
    EXPECT_EQ(Cars().NewCar(), 2);
    Cars().RemoveCar(1);
    EXPECT_EQ(Cars().NewCar(), 1);
    Cars().RemoveCar(0);
    EXPECT_EQ(Cars().NewCar(), 0);
    EXPECT_EQ(Cars().CarNbrAt(2), 2);
    EXPECT_EQ(Cars().CarNbrAt(3), -1);
    EXPECT_EQ(Cars().CarNbrAt(-1), -1);

    TvdrCarRec rec = Cars().CarRec(3);
    EXPECT_EQ(rec.Year, 2000) << "a car without a row";
    rec = Cars().CarRec(2);
    rec.Year = 2004;
    rec.SetMake(QStringLiteral(" Ford "));
    rec.SetModel(QStringLiteral("Taurus"));
    Cars().StoreCarRec(rec);
    EXPECT_EQ(Cars().Get(2), QStringLiteral("0000002=2004\tFord\tTaurus")) << "no trailing tab";
    EXPECT_EQ(Cars().CarDescription(2), QStringLiteral("2004 Ford Taurus"));
    EXPECT_FALSE(Cars().HasPicture(2));
    rec.SetPictureExtension(QStringLiteral("tiff"));
    Cars().StoreCarRec(rec);
    EXPECT_TRUE(Cars().HasPicture(2)) << "any extension counts";
    EXPECT_EQ(Cars().Get(2), QStringLiteral("0000002=2004\tFord\tTaurus\ttiff"));
    Cars().Save();
    db.Reopen();
    EXPECT_EQ(Cars().CarDescription(2), QStringLiteral("2004 Ford Taurus"));
    EXPECT_EQ(Cars().Count(), 3);
}

// The tree reads each car from its own row; it must find what a look-up by
// number finds, for rows of every shape a file may hold.
TEST(Cars, ACarReadFromItsRowIsTheCarALookUpFinds) {
    TvdrTestDatabase db;
    Cars().SetText(QStringLiteral("0000000=2004\tFord\tTaurus\tjpg\r\n"
                                  "0000001= 1999 \tCitro\u00EBn\tDS\r\n"
                                  "0000001=2001\tSecond\trow\r\n"
                                  "12=1990\tNot\tpadded\r\n"
                                  "no number=1980\tNo\tcar\r\n"
                                  "0000020\r\n"
                                  "0000030=\r\n"));
    for (int i = 0; i < Cars().Count(); ++i) {
        const qint32 carNbr = Cars().CarNbrAt(i);
        const TvdrCarRec rec = Cars().CarRecAt(i);
        ASSERT_EQ(rec.CarNbr, carNbr) << i;
        if (carNbr < 0)
            continue;
        const TvdrCarRec found = Cars().CarRec(carNbr);
        EXPECT_EQ(rec.Description(), found.Description()) << i;
        EXPECT_EQ(rec.PictureExtension, found.PictureExtension) << i;
    }
    int firstOfOne = 0;
    for (int i = 0; i < Cars().Count(); ++i)
        firstOfOne += Cars().CarRecAt(i).Description() == QStringLiteral("1999 Citro\u00EBn DS");
    EXPECT_EQ(firstOfOne, 2) << "both rows of car 1 read as the first";
    EXPECT_EQ(Cars().CarRecAt(Cars().Count()).CarNbr, -1);
}

TEST(Cars, PicturesAreStoredUnderTheCarAndCleared) {
    TvdrTestDatabase db;
    const qint32 car = Cars().NewCar();
    const QString file = db.File(QStringLiteral("photo.JPEG"));
    WriteWholeFile(file, MakeJpeg(4, 3));

    EXPECT_EQ(ErrorMessageOf([&] { InsertCarPicture(car, db.File(QStringLiteral("missing.bmp"))); }),
              db.File(QStringLiteral("missing.bmp")).toStdString() + " does not exist");
    EXPECT_FALSE(Cars().HasPicture(car)) << "a file that cannot be read changes nothing";
    EXPECT_EQ(ErrorMessageOf([&] { InsertCarPicture(car + 1, file); }), "Car (1) does not exist");
    EXPECT_FALSE(Cars().HasCar(car + 1));

    InsertCarPicture(car, file);
    EXPECT_EQ(Cars().PictureExtension(car), QStringLiteral("jpg"));
    EXPECT_EQ(db.Db().ReadStream(QStringLiteral("CarPic000000000")), ReadWholeFile(file));
    db.Reopen();
    EXPECT_EQ(Cars().PictureExtension(car), QStringLiteral("jpg")) << "the cars table was saved";

    ClearCarPicture(car);
    EXPECT_FALSE(db.Db().Toc().Exists(QStringLiteral("CarPic000000000")));
    EXPECT_FALSE(Cars().HasPicture(car));
    EXPECT_EQ(Cars().Get(0), QStringLiteral("0000000=0"));
}

TEST(Cars, APictureIsCheckedBeforeAnythingIsStored) {
    TvdrTestDatabase db;
    const qint32 car = Cars().NewCar();
    const auto refused = [&](const QString &file) {
        const std::string error = ErrorMessageOf([&] { InsertCarPicture(car, file); });
        EXPECT_FALSE(Cars().HasPicture(car)) << file.toStdString();
        EXPECT_FALSE(db.Db().Toc().Exists(TvdrPicture::StreamIdOf(car))) << file.toStdString();
        return error;
    };
    // Bytes that are not the picture the extension names.
    const QString fake = db.File(QStringLiteral("fake.jpg"));
    WriteWholeFile(fake, "not a picture at all");
    EXPECT_EQ(refused(fake),
              fake.toStdString() + " is not a valid JPEG picture: Not a JPEG file: starts with 0x6e 0x6f");
    const QString bitmap = db.File(QStringLiteral("fake.Bmp"));
    WriteWholeFile(bitmap, "BM");
    EXPECT_EQ(refused(bitmap), bitmap.toStdString() + " is not a valid bitmap: Unable to read image data");
    // What is no regular file is not opened for reading: a pipe would wait
    // for a writer and a device would never end.
    const QString fifo = db.File(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(refused(fifo),
              fifo.toStdString() + " is not a regular file: pipes, devices and sockets are not read");
    EXPECT_EQ(refused(QStringLiteral("/dev/zero")),
              "/dev/zero is not a regular file: pipes, devices and sockets are not read");
    const QString folder = db.File(QStringLiteral("folder.jpg"));
    QDir().mkdir(folder);
    EXPECT_EQ(refused(folder), folder.toStdString() + " is a folder, not a file");

    // Other extensions are kept as they are: they are never shown.
    const QString other = db.File(QStringLiteral("photo.png"));
    WriteWholeFile(other, "any bytes");
    InsertCarPicture(car, other);
    EXPECT_EQ(Cars().PictureExtension(car), QStringLiteral("png"));
}

TEST(Cars, RemovingACarLeavesNothingForTheNextCarOfItsNumber) {
    TvdrTestDatabase db;
    const qint32 gone = Cars().NewCar();
    const qint32 kept = Cars().NewCar();
    for (qint32 car : {gone, kept}) {
        CarsUDF().SetCarValue(car, 0, QStringLiteral("plate %1").arg(car));
        TvdrMaintEntry entry;
        entry.CarNbr = car;
        entry.Date = QDate(2004, 3, 15);
        entry.RepairNbrs = {0, 1};
        entry.Note = QStringLiteral("note");
        SaveMaintEvent(entry);
    }
    CarsUDF().Save();
    const QString file = db.File(QStringLiteral("car.bmp"));
    WriteWholeFile(file, MakeBitmap(3, 2));
    InsertCarPicture(gone, file);
    InsertCarPicture(kept, file);

    RemoveCarAndHistory(gone);
    db.Reopen(); // everything was saved

    EXPECT_FALSE(Cars().HasCar(gone));
    EXPECT_FALSE(db.Db().Toc().Exists(TvdrPicture::StreamIdOf(gone)));
    EXPECT_EQ(Cars().NewCar(), gone);
    EXPECT_EQ(CarsUDF().CarValue(gone, 0), QString());
    EXPECT_EQ(Maint().FindEvent(gone, 0), nullptr);
    EXPECT_EQ(Maint().NextMaintNbr(gone), 0);
    EXPECT_FALSE(MaintRepairs().HasRepair(gone, 0, 0));
    EXPECT_EQ(MaintNotes().GetNote(gone, 0), QString());
    EXPECT_FALSE(Cars().HasPicture(gone));

    // The other car keeps all of its history.
    EXPECT_EQ(CarsUDF().CarValue(kept, 0), QStringLiteral("plate 1"));
    EXPECT_NE(Maint().FindEvent(kept, 0), nullptr);
    EXPECT_TRUE(MaintRepairs().HasRepair(kept, 0, 1));
    EXPECT_EQ(MaintNotes().GetNote(kept, 0), QStringLiteral("note"));
    EXPECT_TRUE(db.Db().Toc().Exists(TvdrPicture::StreamIdOf(kept)));
}

TEST(Cars, OnlyTheAccessorCreatesTheTables) {
    EXPECT_EQ(ErrorMessageOf([] { TvdrCars(); }), "use Cars accessor function");
}
