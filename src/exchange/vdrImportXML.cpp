#include "vdrImportXML.h"

#include "vdrDateTime.h"
#include "vdrImportSteps.h"
#include "xdbVandorDB.h"

#include <QFileInfo>

TvdrImportXML::TvdrImportXML(const QString &fileName) : m_fileName(fileName) {}

void TvdrImportXML::Execute() {
    const std::unique_ptr<TXMLVandorDBType> document = LoadDocument(m_fileName);
    const TXMLVandorDBType &doc = *document;
    // Each row's elements are read in document order, so the first bad one
    // is the one reported.
    TvdrImportSteps steps;
    steps.Cars = [&] {
        for (int i = 0; i < doc.Cars().Count(); ++i) {
            const TXMLCarsRow row = doc.Cars().Row(i);
            const qint32 carNbr = row.CarNbr();
            const qint32 year = row.Year();
            m_merge.AddCar(QString::number(carNbr), year, row.Make(), row.Model(), row.PictureExtension());
        }
    };
    steps.Udf = [&] {
        for (int i = 0; i < doc.UDF().Count(); ++i) {
            const TXMLUDFRow row = doc.UDF().Row(i);
            const qint32 udfNbr = row.UdfNbr();
            const qint32 sortOrder = row.SortOrder();
            m_merge.AddUdf(QString::number(udfNbr), sortOrder, row.Name());
        }
    };
    steps.Repairs = [&] {
        for (int i = 0; i < doc.Repairs().Count(); ++i) {
            const TXMLRepairsRow row = doc.Repairs().Row(i);
            m_merge.AddRepair(QString::number(row.RepairNbr()), row.Description());
        }
    };
    steps.CarValues = [&] {
        for (int i = 0; i < doc.CarsUDF().Count(); ++i) {
            const TXMLCarsUDFRow row = doc.CarsUDF().Row(i);
            const qint32 carNbr = row.CarNbr();
            const qint32 udfNbr = row.UdfNbr();
            m_merge.AddCarValue(QString::number(carNbr), QString::number(udfNbr), row.Value());
        }
    };
    steps.Events = [&] {
        for (int i = 0; i < doc.Maint().Count(); ++i) {
            const TXMLMaintRow row = doc.Maint().Row(i);
            const qint32 carNbr = row.CarNbr();
            const qint32 maintNbr = row.MaintNbr();
            const qint32 dayNumber = vdrDateTime::DayNumberOf(row.Date());
            const qint32 mileage = row.Mileage();
            const double cost = row.Cost();
            m_merge.AddEvent(QString::number(carNbr), maintNbr, dayNumber, mileage, cost);
        }
    };
    steps.Links = [&] {
        for (int i = 0; i < doc.MaintRepairs().Count(); ++i) {
            const TXMLMaintRepairsRow row = doc.MaintRepairs().Row(i);
            const qint32 carNbr = row.CarNbr();
            const qint32 maintNbr = row.MaintNbr();
            const qint32 repairNbr = row.RepairNbr();
            m_merge.AddLink(QString::number(carNbr), maintNbr, QString::number(repairNbr));
        }
    };
    steps.Notes = [&] {
        for (int i = 0; i < doc.MaintNotes().Count(); ++i) {
            const TXMLMaintNotesRow row = doc.MaintNotes().Row(i);
            const qint32 carNbr = row.CarNbr();
            const qint32 maintNbr = row.MaintNbr();
            m_merge.AddNote(QString::number(carNbr), maintNbr, row.Note());
        }
    };
    steps.SortOrders = [&] {
        for (int i = 0; i < doc.SortOrder().Count(); ++i) {
            const TXMLSortOrderRow row = doc.SortOrder().Row(i);
            const QString name = row.SortOrderName();
            const qint32 sortOrderNbr = row.SortOrderNbr();
            const QString fields = row.SortOrderFields();
            m_merge.AddSortOrder(name, QString::number(sortOrderNbr),
                                 fields.isEmpty() ? QStringList() : fields.split(QLatin1Char('\t')));
        }
    };
    const QString folder = QFileInfo(m_fileName).absolutePath();
    steps.Pictures = [&] {
        for (int i = 0; i < doc.Cars().Count(); ++i) {
            const TXMLCarsRow row = doc.Cars().Row(i);
            m_merge.AddPicture(folder, QString::number(row.CarNbr()), row.PictureExtension());
        }
    };
    RunImportSteps(steps);
}
