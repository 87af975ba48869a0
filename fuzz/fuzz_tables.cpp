// Arbitrary stream text under every table's stream id of a fresh database,
// loaded as the program loads a database and read the ways the windows and
// the exports read it: no row may crash anything, and every table must save
// back what it loaded.

#include "vdrFuzzSupport.h"

#include "kvxStreamFile.h"
#include "vdrCarComparer.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrDatabaseTables.h"
#include "vdrListItem.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrUDF.h"

#include <vector>

namespace {

// Bounds the per-row work of inputs with many rows: look-ups for the first
// kRowsRead rows, whole-table scans for the first kRowsScanned.
constexpr int kRowsRead = 64;
constexpr int kRowsScanned = 4;

void ReadCarsAndFields() {
    std::vector<TvdrCarRec> cars;
    for (int i = 0; i < Cars().Count() && i < kRowsRead; ++i) {
        const qint32 carNbr = Cars().CarNbrAt(i);
        cars.push_back(Cars().CarRec(carNbr));
        Cars().CarDescription(carNbr);
        Cars().HasPicture(carNbr);
        CarsUDF().CarValue(carNbr, 0);
    }
    for (int i = 0; i < UDF().Count() && i < kRowsRead; ++i) {
        const qint32 udfNbr = UDF().UdfNbrAt(i);
        UDF().UdfSortOrderAt(i);
        if (i >= kRowsScanned)
            continue;
        UDF().UdfName(udfNbr);
        UDF().FindUdf(UDF().NameAt(i));
    }
    UDF().NextUdfNbr();
    for (int i = 0; i < CarsUDF().Count() && i < kRowsRead; ++i)
        CarsUDF().CarValue(CarsUDF().CarNbrAt(i), CarsUDF().UdfNbrAt(i)) + CarsUDF().ValueAt(i);

    std::unique_ptr<TvdrSortOrderList> orders = SortOrder().SortOrderList();
    for (int o = 0; o < orders->Count() && o < 8; ++o) {
        const TvdrSortOrderRec *order = orders->Items(o);
        SortOrder().FindSortOrder(order->SortOrderName);
        for (size_t a = 0; a < cars.size(); ++a)
            CompareCars(*order, cars[a], cars[(a + 1) % cars.size()]);
    }
}

void ReadEvents() {
    Repairs().BuildOrder(false);
    QStringList descriptions;
    Repairs().GetDescriptions(descriptions);
    for (int i = 0; i < Repairs().OrderCount() && i < kRowsRead; ++i) {
        const qint32 repairNbr = Repairs().RepairNbrAt(i);
        Repairs().FindRepair(Repairs().Description(repairNbr));
        if (i < kRowsScanned)
            MaintRepairs().IsRepairUnlinked(repairNbr);
    }
    for (int i = 0; i < Maint().Count() && i < kRowsRead; ++i) {
        const TvdrMaintRec *found = Maint().EventAt(i);
        if (!found)
            continue;
        const TvdrMaintRec rec = found->Clone();
        Maint().FindEvent(rec.CarNbr, rec.MaintNbr);
        TvdrListItems items;
        MaintRepairs().GetEventRepairs(rec.CarNbr, rec.MaintNbr, 0, items);
        MaintRepairs().ListEventRepairs(rec.CarNbr, rec.MaintNbr, items);
        MaintNotes().GetNote(rec.CarNbr, rec.MaintNbr);
        if (i >= kRowsScanned)
            continue;
        Maint().NextMaintNbr(rec.CarNbr);
        for (const quint8 column : {TvdrMaintSortedList::ByDate, TvdrMaintSortedList::ByCost}) {
            std::unique_ptr<TvdrMaintSortedList> list = Maint().SortedList(rec.CarNbr, column, 1);
            list->TotalCost(TvdrNullFilter());
            list->TotalCost(TvdrRepairFilter(0));
        }
    }
    for (int i = 0; i < MaintRepairs().Count() && i < kRowsScanned; ++i) {
        const TvdrMaintRepairs::TLink link = MaintRepairs().LinkAt(i);
        QStringList cars;
        MaintRepairs().CarsUsingRepair(link.RepairNbr, cars);
    }
    for (int i = 0; i < MaintNotes().Count() && i < kRowsRead; ++i) {
        const TvdrMaintNotes::TNote note = MaintNotes().NoteAt(i);
        MaintNotes().GetNote(note.CarNbr, note.MaintNbr);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray text = FuzzBytes(data, size);
    TvdrFuzzDatabase database;
    UnbindTables();
    TvdrStringList *const tables[] = {&Options(), &Repairs(), &Maint(),   &MaintRepairs(), &MaintNotes(),
                                      &Cars(),    &UDF(),     &CarsUDF(), &SortOrder()};
    for (TvdrStringList *table : tables)
        database.Db().WriteStream(table->StreamId(), 0, text);
    database.Bind();
    Try([] { Options().GetValue(QStringLiteral("TfrmMain.tvwMain.Width")); });
    Try(ReadCarsAndFields);
    Try(ReadEvents);
    Try(ExportToMemory);
    // What the program loaded it saves back unchanged, and loads again so.
    for (TvdrStringList *table : tables) {
        const QString loaded = table->Text();
        table->Save();
        ReloadTable(*table);
        if (table->Text() != loaded)
            FuzzFail("a table reads back different after a save");
    }
    return 0;
}
