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
#include "vdrTableDecoder.h"
#include "vdrUDF.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

std::array<TvdrStringList *, 9> DatabaseTables() {
    return {&Options(), &Repairs(), &Maint(),   &MaintRepairs(), &MaintNotes(),
            &Cars(),    &UDF(),     &CarsUDF(), &SortOrder()};
}

namespace {

using TTableDecoder = TvdrTableDecoder<std::tuple_size_v<decltype(DatabaseTables())>>;
using TTables = TTableDecoder::TTables;
using TJobs = TTableDecoder::TJobs;

// Below this many stored bytes a second thread costs more than it saves.
constexpr qint64 kShareFrom = 128 * 1024;

// A thread that starts `work`, or none when the system has none to give.
std::thread StartThread(const std::function<void()> &work) {
    try {
        return std::thread(work);
    } catch (const std::system_error &) {
        return std::thread();
    }
}

int Cores() {
    return int(std::min(std::thread::hardware_concurrency(), 4u));
}

// Tables bound for a later take-in, and the threads that make their rows.
struct TPendingLoad {
    std::shared_ptr<TTableDecoder> Decoder;
    std::thread Worker;
    std::thread Helper;

    ~TPendingLoad() { Join(); }
    void Join() {
        for (std::thread *thread : {&Worker, &Helper})
            if (thread->joinable())
                thread->join();
    }
};

// Made after the tables, so ended before them: its thread is done with them
// before they go.
TPendingLoad &PendingLoad() {
    static TPendingLoad pending;
    return pending;
}

// The tables a start-up shows nothing of until the user opens a car: the
// events with their repairs and notes, and the cars' field values.
bool LoadsInBackground(const TvdrStringList *table) {
    return table == &Maint() || table == &MaintRepairs() || table == &MaintNotes() || table == &CarsUDF();
}

} // namespace

void BindTables(TkvxStreamFile *database, TvdrTableLoad load, std::function<void()> whenDecoded) {
    AwaitTables();
    ClearDamagedStreams();
    const TTables tables = DatabaseTables();
    TJobs jobs;
    for (size_t i = 0; i < tables.size(); ++i) {
        tables[i]->SetStreamFile(database);
        jobs[i] = tables[i]->ReadForLoad();
    }
    auto decoder = std::make_shared<TTableDecoder>(
        tables, std::move(jobs), load == TvdrTableLoad::Whole ? nullptr : std::move(whenDecoded));
    if (load == TvdrTableLoad::Whole) {
        // Helpers on the further cores (at most four threads in all). Sized
        // before the first starts: from then on the jobs are theirs.
        const int threads = decoder->StoredBytes() >= kShareFrom ? Cores() : 1;
        std::vector<std::thread> helpers;
        for (int h = 1; h < threads; ++h)
            if (std::thread helper = StartThread([&decoder] { decoder->DecodeRest(); }); helper.joinable())
                helpers.push_back(std::move(helper));
        decoder->DecodeRest();
        for (std::thread &helper : helpers)
            helper.join();
        for (size_t i = 0; i < tables.size(); ++i)
            decoder->Finish(i);
    } else {
        // Gated before the thread starts, so nothing reads a table before
        // its rows are in.
        for (size_t i = 0; i < tables.size(); ++i)
            if (LoadsInBackground(tables[i]))
                tables[i]->Lock().SetGate([decoder, i] { decoder->Finish(i); });
        PendingLoad().Decoder = decoder;
        PendingLoad().Worker = StartThread([decoder] { decoder->DecodeRest(); });
        for (size_t i = 0; i < tables.size(); ++i)
            if (!LoadsInBackground(tables[i]))
                decoder->Finish(i);
    }
    SortOrder().SetSorted(true);
}

void ReloadTable(TvdrStringList &table) {
    // Sorted while loading, the sort orders would drop rows that compare
    // equal, and the next save would drop them from the file.
    const bool sortOrders = &table == &SortOrder();
    if (sortOrders)
        SortOrder().SetSorted(false);
    table.Load();
    if (sortOrders)
        SortOrder().SetSorted(true);
    if (&table == &Repairs())
        Repairs().BuildOrder(Repairs().Descending());
}

void HelpLoadTables() {
    TPendingLoad &pending = PendingLoad();
    if (pending.Decoder && pending.Decoder->Unclaimed() && !pending.Helper.joinable() && Cores() > 1)
        pending.Helper = StartThread([decoder = pending.Decoder] { decoder->DecodeRest(); });
}

void AwaitTables() {
    // The tables first, so that they are made before the pending load.
    const TTables tables = DatabaseTables();
    // This thread takes on the jobs the background has not begun.
    if (const std::shared_ptr<TTableDecoder> decoder = PendingLoad().Decoder)
        decoder->DecodeRest();
    for (TvdrStringList *table : tables)
        table->Lock().OpenGate();
    PendingLoad().Join();
    PendingLoad().Decoder.reset();
}

QList<TvdrDamagedStream> DamagedTables() {
    const auto tables = DatabaseTables();
    const auto rank = [&tables](const TvdrDamagedStream &damage) {
        return std::find_if(
                   tables.begin(), tables.end(),
                   [&damage](const TvdrStringList *table) { return table->StreamId() == damage.StreamId; }) -
               tables.begin();
    };
    QList<TvdrDamagedStream> damaged = DamagedStreams();
    std::stable_sort(
        damaged.begin(), damaged.end(),
        [&rank](const TvdrDamagedStream &a, const TvdrDamagedStream &b) { return rank(a) < rank(b); });
    return damaged;
}

void RaiseIfTablesUnreadable() {
    AwaitTables();
    QStringList lines;
    for (const TvdrDamagedStream &damage : DamagedTables()) {
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
    AwaitTables();
    for (TvdrStringList *table : DatabaseTables()) {
        table->SetStreamFile(nullptr);
        table->Clear();
    }
    SortOrder().SetSorted(false);
}

void DetachTables() {
    AwaitTables();
    for (TvdrStringList *table : DatabaseTables())
        table->SetStreamFile(nullptr);
}
