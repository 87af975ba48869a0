#include "vdrExportTable.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrUDF.h"

namespace {

QString Number(qint64 n) { return QString::number(n); }

TvdrExportTable Table(const char *name, const char *columns) {
    return {QString::fromLatin1(name), QString::fromLatin1(columns).split(QLatin1Char(' ')), {}};
}

TvdrExportTable CarsTable() {
    TvdrExportTable t = Table("Cars", "CarNbr Year Make Model PictureExtension");
    for (int i = 0; i < Cars().Count(); ++i) {
        const TvdrCarRec car = Cars().CarRec(Cars().CarNbrAt(i));
        t.Rows.append({Number(car.CarNbr), Number(car.Year), car.Make, car.Model, car.PictureExtension});
    }
    return t;
}

TvdrExportTable UdfTable() {
    TvdrExportTable t = Table("UDF", "UdfNbr SortOrder Name");
    for (int i = 0; i < UDF().Count(); ++i)
        t.Rows.append({Number(UDF().UdfNbrAt(i)), Number(UDF().UdfSortOrderAt(i)), UDF().NameAt(i)});
    return t;
}

TvdrExportTable CarsUdfTable() {
    TvdrExportTable t = Table("CarsUDF", "CarNbr UdfNbr Value");
    for (int i = 0; i < CarsUDF().Count(); ++i)
        t.Rows.append({Number(CarsUDF().CarNbrAt(i)), Number(CarsUDF().UdfNbrAt(i)), CarsUDF().ValueAt(i)});
    return t;
}

TvdrExportTable RepairsTable() {
    TvdrExportTable t = Table("Repairs", "RepairNbr Description");
    Repairs().BuildOrder(false);
    for (int i = 0; i < Repairs().OrderCount(); ++i) {
        const qint32 repairNbr = Repairs().RepairNbrAt(i);
        t.Rows.append({Number(repairNbr), Repairs().Description(repairNbr)});
    }
    return t;
}

TvdrExportTable MaintTable() {
    TvdrExportTable t = Table("Maint", "CarNbr MaintNbr Date Mileage Cost");
    const TvdrFormatSettings &formats = TvdrFormatSettings::Current();
    for (int i = 0; i < Maint().Count(); ++i) {
        TvdrMaintRec *rec = Maint().EventAt(i);
        if (!rec)
            continue;
        t.Rows.append({Number(rec->CarNbr), Number(rec->MaintNbr), rec->GetDate().toString(QStringLiteral("yyyy-MM-dd")),
                       Number(rec->Mileage), formats.Fixed2(rec->Cost)});
    }
    return t;
}

TvdrExportTable MaintRepairsTable() {
    TvdrExportTable t = Table("MaintRepairs", "CarNbr MaintNbr RepairNbr");
    for (int i = 0; i < MaintRepairs().Count(); ++i) {
        const TvdrMaintRepairs::TLink link = MaintRepairs().LinkAt(i);
        t.Rows.append({Number(link.CarNbr), Number(link.MaintNbr), Number(link.RepairNbr)});
    }
    return t;
}

TvdrExportTable MaintNotesTable() {
    TvdrExportTable t = Table("MaintNotes", "CarNbr MaintNbr Note");
    for (int i = 0; i < MaintNotes().Count(); ++i) {
        const TvdrMaintNotes::TNote note = MaintNotes().NoteAt(i);
        t.Rows.append({Number(note.CarNbr), Number(note.MaintNbr), note.StoredNote});
    }
    return t;
}

TvdrExportTable SortOrderTable() {
    TvdrExportTable t = Table("SortOrder", "SortOrderName SortOrderNbr SortOrderFields");
    for (int i = 0; i < SortOrder().Count(); ++i) {
        const TvdrSortOrderRec *rec = SortOrder().SortOrderAt(i);
        t.Rows.append({rec->SortOrderName, Number(rec->SortOrderNbr), rec->FieldsText()});
    }
    return t;
}

} // namespace

QList<TvdrExportTable> ExportTables() {
    return {CarsTable(),  UdfTable(),          CarsUdfTable(),     RepairsTable(),
            MaintTable(), MaintRepairsTable(), MaintNotesTable(), SortOrderTable()};
}
