// Arbitrary stream text under every table's stream id, then the commands a
// user gives on such a database: an event added, changed and deleted, a car
// saved, the fields dialog confirmed, a car removed. None may crash; an
// error is an answer; and what the commands leave in the tables, done or
// undone, must load back so from the file.

#include "vdrFuzzSupport.h"

#include "kvxStreamFile.h"
#include "vdrCarRemoval.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrDatabaseTables.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintRec.h"
#include "vdrRepairs.h"
#include "vdrStringList.h"
#include "vdrUDF.h"
#include "vdrUdfChanges.h"

namespace {

// The commands aim at the rows the input holds, so that they meet its damage.
struct TTargets {
    qint32 CarNbr = 0;
    qint32 RepairNbr = 0;
    bool HasEvent = false;
    TvdrMaintEntry Event;
};

TTargets Targets() {
    TTargets targets;
    if (Cars().Count() > 0)
        targets.CarNbr = Cars().CarNbrAt(0);
    Repairs().BuildOrder(false);
    if (Repairs().OrderCount() > 0)
        targets.RepairNbr = Repairs().RepairNbrAt(0);
    if (Maint().Count() > 0)
        if (TvdrMaintRec *rec = Maint().EventAt(0)) {
            targets.HasEvent = true;
            targets.Event.CarNbr = rec->CarNbr;
            targets.Event.MaintNbr = rec->MaintNbr;
            targets.Event.Date = rec->GetDate();
            targets.Event.Mileage = rec->Mileage;
            targets.Event.Cost = rec->Cost;
        }
    return targets;
}

void AddEvent(const TTargets &targets) {
    TvdrMaintEntry entry;
    entry.CarNbr = targets.CarNbr;
    entry.Date = QDate(2020, 2, 29);
    entry.Mileage = 1000;
    entry.Cost = 12.5;
    entry.RepairNbrs = {targets.RepairNbr, targets.RepairNbr + 1};
    entry.Note = QStringLiteral("new\r\nnote");
    SaveMaintEvent(entry);
}

void ChangeEvent(const TTargets &targets) {
    if (!targets.HasEvent)
        return;
    TvdrMaintEntry entry = targets.Event;
    entry.Mileage += 1;
    entry.RepairNbrs = {targets.RepairNbr};
    entry.Note = QStringLiteral("changed");
    SaveMaintEvent(entry);
}

void SaveFirstCar(const TTargets &targets) {
    TvdrCarEntry entry;
    entry.CarNbr = targets.CarNbr;
    entry.Year = 1999;
    entry.Make = QStringLiteral("Make");
    entry.Model = QStringLiteral("Model");
    entry.Values = CarValuesForAllFields(targets.CarNbr);
    if (!entry.Values.isEmpty())
        entry.Values.first().second = QStringLiteral("value");
    SaveCar(entry);
}

// The first definition deleted, the others kept in their order, one added.
void ConfirmFields() {
    QList<qint32> deleted;
    QList<TvdrUdfEntry> entries;
    for (int i = 0; i < UDF().Count() && i < 8; ++i) {
        if (i == 0)
            deleted.append(UDF().UdfNbrAt(i));
        else
            entries.append({UDF().UdfNbrAt(i), UDF().NameAt(i)});
    }
    entries.append({-1, QStringLiteral("New field")});
    ApplyUdfChanges(deleted, entries);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray text = FuzzBytes(data, size);
    TvdrFuzzDatabase database;
    UnbindTables();
    for (TvdrStringList *table : DatabaseTables())
        database.Db().WriteStream(table->StreamId(), 0, text);
    database.Bind();
    const TTargets targets = Targets();
    Try([&] { AddEvent(targets); });
    Try([&] { ChangeEvent(targets); });
    Try([&] { SaveFirstCar(targets); });
    Try(ConfirmFields);
    if (targets.HasEvent)
        Try([&] { DeleteMaintEvent(targets.Event.CarNbr, targets.Event.MaintNbr); });
    Try([&] { RemoveCarAndHistory(targets.CarNbr); });
    database.CheckReload();
    return 0;
}
