// An event's add (its row, repair links and note: three tables) as the one
// transaction the program makes of it, against the same three saves each
// made alone, and against the same saves with neither journal nor flush
// (the bare writes). On synthetic databases of 1,000, 10,000 and 100,000
// events.

#include "kvxSfFile.h"
#include "kvxSfJournal.h"
#include "kvxStreamFile.h"
#include "vdrBenchRatios.h"
#include "vdrCars.h"
#include "vdrDatabaseTables.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrSyntheticDatabase.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <unistd.h>

namespace {

struct TBenchDatabase {
    QTemporaryDir dir;
    TkvxStreamFile file;
};

// One database per size, made once; its tables bound while it is measured.
void Bind(int events) {
    static std::map<int, std::unique_ptr<TBenchDatabase>> made;
    static int bound = -1;
    if (bound == events)
        return;
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    UnbindTables();
    std::unique_ptr<TBenchDatabase> &database = made[events];
    if (!database) {
        database = std::make_unique<TBenchDatabase>();
        database->file.Open(database->dir.filePath(QStringLiteral("Vandor.dat")), false);
        BindTables(&database->file);
        FillSyntheticDatabase(events, 50);
        // What filling left unwritten must not be flushed by the first run.
        ::sync();
    } else {
        BindTables(&database->file);
    }
    bound = events;
}

// What the command did before it was one transaction.
void SavesAlone(const TvdrMaintEntry &entry) {
    TvdrMaintRec rec;
    rec.SetCarNbr(entry.CarNbr);
    rec.SetMaintNbr(Maint().NextMaintNbr(entry.CarNbr));
    rec.SetDate(entry.Date);
    rec.SetMileage(entry.Mileage);
    rec.SetCost(entry.Cost);
    Maint().StoreEvent(rec);
    Maint().Save();
    for (qint32 repairNbr : entry.RepairNbrs)
        MaintRepairs().AddLink(rec.CarNbr, rec.MaintNbr, repairNbr);
    MaintRepairs().Save();
    MaintNotes().AddNote(rec.CarNbr, rec.MaintNbr, entry.Note);
    MaintNotes().Save();
}

void BM_EventAddTransaction(benchmark::State &state) {
    Bind(int(state.range(0)));
    const TvdrMaintEntry entry = SyntheticEvent(Cars().CarNbrAt(0));
    for (auto _ : state)
        SaveMaintEvent(entry);
}

void BM_EventAddSavesAlone(benchmark::State &state) {
    Bind(int(state.range(0)));
    const TvdrMaintEntry entry = SyntheticEvent(Cars().CarNbrAt(0));
    for (auto _ : state)
        SavesAlone(entry);
}

void BM_EventAddBareWrites(benchmark::State &state) {
    Bind(int(state.range(0)));
    const TvdrMaintEntry entry = SyntheticEvent(Cars().CarNbrAt(0));
    TkvxSfJournal::SetEnabled(false);
    TkvxSfFaults::SetFlushing(false);
    for (auto _ : state)
        SaveMaintEvent(entry);
    TkvxSfJournal::SetEnabled(true);
    TkvxSfFaults::SetFlushing(true);
}

BENCHMARK(BM_EventAddTransaction)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventAddSavesAlone)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventAddBareWrites)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    PairWith("BM_EventAddTransaction", "BM_EventAddSavesAlone");
    PairWith("BM_EventAddTransaction", "BM_EventAddBareWrites");
    PairWith("BM_EventAddSavesAlone", "BM_EventAddBareWrites");
    const int result = RunBenchmarksWithRatios(argc, argv);
    UnbindTables();
    return result;
}
