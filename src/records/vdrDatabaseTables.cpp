#include "vdrDatabaseTables.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrError.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrStreamDamage.h"
#include "vdrUDF.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <system_error>
#include <thread>
#include <vector>

std::array<TvdrStringList *, 9> DatabaseTables() {
    return {&Options(), &Repairs(), &Maint(),   &MaintRepairs(), &MaintNotes(),
            &Cars(),    &UDF(),     &CarsUDF(), &SortOrder()};
}

namespace {

// Below this many stored bytes a second thread costs more than it saves.
constexpr qint64 kShareFrom = 128 * 1024;

// Inflates and splits every table's stream, on this thread and on one more
// per further core (at most four in all); each takes the largest job left.
template <size_t N>
void DecodeAll(const std::array<TvdrStringList *, N> &tables, std::array<TvdrStringList::TLoadJob, N> &jobs) {
    std::array<size_t, N> order;
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(),
              [&jobs](size_t a, size_t b) { return jobs[a].Block.size() > jobs[b].Block.size(); });
    qint64 stored = 0;
    for (const auto &job : jobs)
        stored += job.Block.size();
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < N; i = next++)
            tables[order[i]]->DecodeForLoad(jobs[order[i]]);
    };
    const int cores = int(std::min(std::thread::hardware_concurrency(), 4u));
    std::vector<std::thread> helpers;
    for (int h = 1; stored >= kShareFrom && h < cores; ++h) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error &) {
            break; // no thread to be had: this one does the rest
        }
    }
    work();
    for (std::thread &helper : helpers)
        helper.join();
}

} // namespace

void BindTables(TkvxStreamFile *database) {
    ClearDamagedStreams();
    const auto tables = DatabaseTables();
    std::array<TvdrStringList::TLoadJob, std::tuple_size_v<decltype(tables)>> jobs;
    for (size_t i = 0; i < tables.size(); ++i) {
        tables[i]->SetStreamFile(database);
        jobs[i] = tables[i]->ReadForLoad();
    }
    DecodeAll(tables, jobs);
    for (size_t i = 0; i < tables.size(); ++i)
        tables[i]->FinishLoad(jobs[i]);
    SortOrder().SetSorted(true);
}

void RaiseIfTablesUnreadable() {
    QStringList lines;
    for (const TvdrDamagedStream &damage : DamagedStreams()) {
        QString line = QStringLiteral("table %1 of %2 cannot be read (%3), so nothing was done")
                           .arg(damage.StreamId, damage.FileName, damage.Error);
        if (!damage.KeptAs.isEmpty())
            line += QStringLiteral("; its bytes are kept as %1").arg(damage.KeptAs);
        lines.append(line);
    }
    if (!lines.isEmpty())
        throw EvdrError(lines.join(QLatin1Char('\n')));
}

void UnbindTables() {
    for (TvdrStringList *table : DatabaseTables()) {
        table->SetStreamFile(nullptr);
        table->Clear();
    }
    SortOrder().SetSorted(false);
}

void DetachTables() {
    for (TvdrStringList *table : DatabaseTables())
        table->SetStreamFile(nullptr);
}
