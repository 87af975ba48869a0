#include "vdrMaintEvents.h"

#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrTableTransaction.h"

namespace {

qint32 StoreMaintEvent(const TvdrMaintEntry &entry) {
    TvdrMaintRec rec;
    rec.SetCarNbr(entry.CarNbr);
    rec.SetMaintNbr(entry.MaintNbr < 0 ? Maint().NextMaintNbr(entry.CarNbr) : entry.MaintNbr);
    rec.SetDate(entry.Date);
    rec.SetMileage(entry.Mileage);
    rec.SetCost(entry.Cost);
    Maint().StoreEvent(rec);
    Maint().Save();

    // An event's repairs and note, stored as they were, cost no save.
    MaintRepairs().ChangeUnder(rec.CarNbr, rec.MaintNbr, [&] {
        MaintRepairs().RemoveEventLinks(rec.CarNbr, rec.MaintNbr);
        for (qint32 repairNbr : entry.RepairNbrs)
            MaintRepairs().AddLink(rec.CarNbr, rec.MaintNbr, repairNbr);
    });
    MaintNotes().ChangeUnder(rec.CarNbr, rec.MaintNbr, [&] {
        MaintNotes().RemoveNote(rec.CarNbr, rec.MaintNbr);
        if (!TvdrMaintNotes::StoredForm(entry.Note).isEmpty())
            MaintNotes().AddNote(rec.CarNbr, rec.MaintNbr, entry.Note);
    });
    return rec.MaintNbr;
}

} // namespace

qint32 SaveMaintEvent(const TvdrMaintEntry &entry) {
    qint32 maintNbr = -1;
    InOneTransaction({&Maint(), &MaintRepairs(), &MaintNotes()}, [&] { maintNbr = StoreMaintEvent(entry); });
    return maintNbr;
}

void DeleteMaintEvent(qint32 carNbr, qint32 maintNbr) {
    InOneTransaction({&Maint(), &MaintRepairs(), &MaintNotes()}, [&] {
        Maint().RemoveEvent(carNbr, maintNbr);
        Maint().Save();
        MaintRepairs().ChangeUnder(carNbr, maintNbr,
                                   [&] { MaintRepairs().RemoveEventLinks(carNbr, maintNbr); });
        MaintNotes().ChangeUnder(carNbr, maintNbr, [&] { MaintNotes().RemoveNote(carNbr, maintNbr); });
    });
}
