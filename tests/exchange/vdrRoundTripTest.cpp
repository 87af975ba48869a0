#include "kvxStreamFile.h"
#include "vdrCarPicture.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrExportTSV.h"
#include "vdrExportXML.h"
#include "vdrFormatSettings.h"
#include "vdrImportTSV.h"
#include "vdrImportXML.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrPicture.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"
#include "vdrUDF.h"

#include <QDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Everything a user sees of the database, without the car numbers that an
// import gives anew: one line per car with its fields, picture and events,
// then the field names, descriptions and sort orders.
QStringList Content() {
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    QStringList cars;
    for (int i = 0; i < Cars().Count(); ++i) {
        const TvdrCarRec car = Cars().CarRec(Cars().CarNbrAt(i));
        TvdrPicture picture(car.CarNbr);
        picture.SetStreamFile(Cars().StreamFile());
        picture.Load();
        QString line = car.Encode() + QStringLiteral(" picture %1").arg(qHash(picture.data()));
        UDF().SortBySortOrder();
        for (int f = 0; f < UDF().Count(); ++f)
            line += QStringLiteral(" [%1=%2]")
                        .arg(UDF().NameAt(f), CarsUDF().CarValue(car.CarNbr, UDF().UdfNbrAt(f)));
        const auto events = Maint().SortedList(car.CarNbr, 0, 0);
        for (int e = 0; e < events->Count(); ++e) {
            TvdrMaintRec &rec = events->Items(e);
            TvdrListItems repairs;
            MaintRepairs().GetEventRepairs(car.CarNbr, rec.MaintNbr, 0, repairs);
            line += QStringLiteral(" {%1 %2 %3}")
                        .arg(rec.MaintNbr)
                        .arg(rec.Encode(), MaintNotes().StoredNote(car.CarNbr, rec.MaintNbr));
            for (const TvdrListItem &repair : repairs)
                line += QLatin1Char('<') + repair.Caption + QLatin1Char('>');
        }
        cars.append(line);
    }
    std::sort(cars.begin(), cars.end());
    QStringList all = cars;
    UDF().SortBySortOrder();
    for (int f = 0; f < UDF().Count(); ++f)
        all.append(QStringLiteral("field %1 at %2").arg(UDF().NameAt(f)).arg(UDF().UdfSortOrderAt(f)));
    Repairs().BuildOrder(false);
    for (int r = 0; r < Repairs().OrderCount(); ++r)
        all.append(QStringLiteral("repair ") + Repairs().Description(Repairs().RepairNbrAt(r)));
    const auto orders = SortOrder().SortOrderList();
    for (int s = 0; s < orders->Count(); ++s) {
        QString line = QStringLiteral("order ") + orders->Items(s)->SortOrderName;
        for (int f = 0; f < orders->Items(s)->SortFieldCount(); ++f) {
            const TvdrSortOrderField *field = orders->Items(s)->SortFieldAt(f);
            line += QLatin1Char(' ') +
                    (field->IsUserDefined() ? UDF().UdfName(field->FieldNbr) : field->Encode());
        }
        all.append(line);
    }
    return all;
}

qint32 AddCar(qint32 year, const QString &make, const QString &model) {
    TvdrCarEntry entry;
    entry.CarNbr = Cars().NewCar();
    entry.Year = year;
    entry.Make = make;
    entry.Model = model;
    entry.Values = CarValuesForAllFields(entry.CarNbr);
    SaveCar(entry);
    return entry.CarNbr;
}

// A database with every kind of row, its export folders, and its content.
struct TSource {
    TvdrTempFolder folder;
    QString xml = folder.File(QStringLiteral("xml"));
    QString tsv = folder.File(QStringLiteral("tsv"));
    QStringList content;

    TSource() {
        TvdrTestDatabase db;
        TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
        const qint32 plate = UDF().AddUdf(0, QStringLiteral("Plate"));
        const qint32 tyres = UDF().AddUdf(1, QStringLiteral("Tyres"));
        const qint32 oil = Repairs().AddRepair(QStringLiteral("Oil change"));
        const qint32 oilToo = Repairs().AddRepair(QStringLiteral("oil change"));
        const qint32 brakes = Repairs().AddRepair(QString::fromUtf8("Bremsbel\xC3\xA4ge"));
        Repairs().Save();
        UDF().Save();

        // A car 0 that is removed again, so the exported numbers have a gap.
        const qint32 gone = Cars().NewCar();
        const qint32 ford = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        const qint32 vw = AddCar(1998, QString::fromUtf8("Citro\xC3\xABn"), QStringLiteral("DS & <co>"));
        AddCar(2010, QString(), QString());
        Cars().RemoveCar(gone);
        Cars().Save();
        CarsUDF().SetCarValue(ford, plate, QStringLiteral("AB-123"));
        CarsUDF().SetCarValue(vw, tyres, QStringLiteral("205/55 R16"));
        CarsUDF().Save();
        const QString picture = folder.File(QStringLiteral("p.jpg"));
        WriteWholeFile(picture, MakeJpeg(16, 9));
        InsertCarPicture(ford, picture);
        WriteWholeFile(picture + QStringLiteral(".bmp"), MakeBitmap(7, 3));
        InsertCarPicture(vw, picture + QStringLiteral(".bmp"));

        TvdrMaintEntry e;
        e.CarNbr = ford;
        e.Date = QDate(2004, 3, 15);
        e.Mileage = 12000;
        e.Cost = 45.5;
        e.RepairNbrs = {oil, brakes};
        e.Note = QString::fromUtf8("line one\r\n\ttabbed \\ back\\slash, d\xC3\xA9j\xC3\xA0 vu");
        SaveMaintEvent(e);
        e.Date = QDate(2005, 1, 2);
        e.Cost = 1234.56;
        e.RepairNbrs = {oilToo};
        e.Note.clear();
        SaveMaintEvent(e);
        e.CarNbr = vw;
        e.MaintNbr = 7;
        e.Cost = 0.01;
        e.Note = QStringLiteral("\\n is no line break here");
        SaveMaintEvent(e);

        TvdrSortOrderRec order;
        order.SetName(QStringLiteral("By plate"));
        order.SortOrderNbr = 1;
        order.AddSortField(plate, TvdrSortOrderField::UserDefined, 1);
        order.AddSortField(TvdrSortOrderField::Make, TvdrSortOrderField::BuiltIn, 0);
        SortOrder().SortOrderList();
        SortOrder().AddSortOrder(order);
        TvdrSortOrderRec bare;
        bare.SetName(QStringLiteral("Unsorted"));
        bare.SortOrderNbr = 2;
        SortOrder().AddSortOrder(bare);
        SortOrder().Save();

        db.Reopen();
        QDir().mkpath(xml);
        QDir().mkpath(tsv);
        TvdrExportXML(xml).Execute();
        TvdrExportTSV(tsv).Execute();
        content = Content();
    }
};

const TSource &Source() {
    static const TSource source;
    return source;
}

} // namespace

TEST(RoundTrip, XmlAndTsvCarryEverythingIntoAnEmptyDatabase) {
    const TSource &source = Source();
    ASSERT_GE(source.content.size(), 10);
    for (const bool viaXml : {true, false}) {
        SCOPED_TRACE(viaXml ? "XML" : "TSV");
        TvdrTestDatabase db;
        // Another locale on this machine: costs must come back all the same.
        TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
        if (viaXml)
            TvdrImportXML(source.xml + QStringLiteral("/VandorDB.xml")).Execute();
        else
            TvdrImportTSV(source.tsv).Execute();
        db.Reopen();
        EXPECT_EQ(Content(), source.content);
        EXPECT_EQ(Cars().CarNbrAt(0), 0) << "new numbers from 0";
    }
}

TEST(RoundTrip, ImportingTwiceDoublesTheCarsAndNothingElse) {
    const TSource &source = Source();
    for (const bool viaXml : {true, false}) {
        SCOPED_TRACE(viaXml ? "XML" : "TSV");
        TvdrTestDatabase db;
        for (int i = 0; i < 2; ++i) {
            if (viaXml)
                TvdrImportXML(source.xml + QStringLiteral("/VandorDB.xml")).Execute();
            else
                TvdrImportTSV(source.tsv).Execute();
        }
        db.Reopen();
        const QStringList content = Content();
        const qsizetype cars = Cars().Count();
        EXPECT_EQ(cars, 6);
        // Each car twice, then the same fields, descriptions and sort orders.
        QStringList expected;
        for (qsizetype i = 0; i < 3; ++i)
            expected << source.content[i] << source.content[i];
        std::sort(expected.begin(), expected.end());
        expected += source.content.mid(3);
        EXPECT_EQ(content, expected);
    }
}
