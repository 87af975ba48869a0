#include "vdrImportXML.h"

#include "vdrDateTime.h"
#include "vdrMaintNotes.h"
#include "xdbVandorDB.h"

#include <QFileInfo>

TvdrImportXML::TvdrImportXML(const QString &fileName) : m_fileName(fileName) {}

TvdrImportRows TvdrImportXML::ReadRows() const {
    TvdrImportRows rows = RowsOf(*LoadDocument(m_fileName));
    rows.PictureFolder = QFileInfo(m_fileName).absolutePath();
    return rows;
}

TvdrImportRows TvdrImportXML::ReadRows(QIODevice &device, const QString &name) {
    return RowsOf(*LoadDocument(device, name));
}

TvdrImportRows TvdrImportXML::RowsOf(const TXMLVandorDBType &doc) {
    TvdrImportRows rows;
    // Each row's elements are read in document order, so the first bad one
    // is the one reported.
    for (int i = 0; i < doc.Cars().Count(); ++i) {
        const TXMLCarsRow row = doc.Cars().Row(i);
        TvdrImportRows::TCar car;
        car.CarNbr = row.CarNbr();
        car.Year = row.Year();
        car.Make = row.Make();
        car.Model = row.Model();
        car.PictureExtension = row.PictureExtension();
        row.CheckRowTexts({car.Make.size(), car.Model.size(), car.PictureExtension.size()});
        rows.Cars.append(car);
    }
    for (int i = 0; i < doc.UDF().Count(); ++i) {
        const TXMLUDFRow row = doc.UDF().Row(i);
        const qint32 udfNbr = row.UdfNbr();
        const qint32 sortOrder = row.SortOrder();
        const QString name = row.Name();
        row.CheckRowTexts({name.size()});
        rows.Udfs.append({udfNbr, sortOrder, name});
    }
    for (int i = 0; i < doc.Repairs().Count(); ++i) {
        const TXMLRepairsRow row = doc.Repairs().Row(i);
        const qint32 repairNbr = row.RepairNbr();
        const QString description = row.Description();
        row.CheckRowTexts({description.size()});
        rows.Repairs.append({repairNbr, description});
    }
    for (int i = 0; i < doc.CarsUDF().Count(); ++i) {
        const TXMLCarsUDFRow row = doc.CarsUDF().Row(i);
        const qint32 carNbr = row.CarNbr();
        const qint32 udfNbr = row.UdfNbr();
        const QString value = row.Value();
        row.CheckRowTexts({value.size()});
        rows.CarValues.append({carNbr, udfNbr, value});
    }
    for (int i = 0; i < doc.Maint().Count(); ++i) {
        const TXMLMaintRow row = doc.Maint().Row(i);
        TvdrImportRows::TEvent event;
        event.CarNbr = row.CarNbr();
        event.MaintNbr = row.MaintNbr();
        event.DayNumber = vdrDateTime::DayNumberOf(row.Date());
        event.Mileage = row.Mileage();
        event.Cost = row.Cost();
        rows.Events.append(event);
    }
    for (int i = 0; i < doc.MaintRepairs().Count(); ++i) {
        const TXMLMaintRepairsRow row = doc.MaintRepairs().Row(i);
        const qint32 carNbr = row.CarNbr();
        const qint32 maintNbr = row.MaintNbr();
        rows.Links.append({carNbr, maintNbr, row.RepairNbr()});
    }
    for (int i = 0; i < doc.MaintNotes().Count(); ++i) {
        const TXMLMaintNotesRow row = doc.MaintNotes().Row(i);
        const qint32 carNbr = row.CarNbr();
        const qint32 maintNbr = row.MaintNbr();
        const QString note = row.Note();
        row.CheckRowTexts({TvdrMaintNotes::StoredForm(note).size()});
        rows.Notes.append({carNbr, maintNbr, note});
    }
    for (int i = 0; i < doc.SortOrder().Count(); ++i) {
        const TXMLSortOrderRow row = doc.SortOrder().Row(i);
        TvdrImportRows::TSortOrder sortOrder;
        sortOrder.Name = row.SortOrderName();
        sortOrder.SortOrderNbr = row.SortOrderNbr();
        const QString fields = row.SortOrderFields();
        row.CheckRowTexts({sortOrder.Name.size(), fields.size()});
        if (!fields.isEmpty())
            sortOrder.Fields = fields.split(QLatin1Char('\t'));
        rows.SortOrders.append(sortOrder);
    }
    return rows;
}

void TvdrImportXML::Execute() {
    m_merge.Execute(ReadRows());
}
