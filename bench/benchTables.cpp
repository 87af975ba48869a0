// Opening a database (every table loaded) against zlib's inflate of the same
// streams; an event's add, change and delete (one command each) against
// zlib's deflate of the three tables the command saves, in CPU time, and
// against that deflate followed by the two flushed writes any durable
// command needs. On synthetic databases of 1,000, 10,000 and 100,000 events.
//
// Counters: "flushes" per command; "peak/text": the most memory the first
// run held beyond what the process held before it (TvdrPeakMemory), over the
// uncompressed text of the tables; for an open this includes the loaded
// tables themselves, "held/text" is what stays afterwards.

#include "kvxSfFaults.h"
#include "kvxStreamFile.h"
#include "vdrBenchRatios.h"
#include "vdrCars.h"
#include "vdrCodePage.h"
#include "vdrDatabaseTables.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPeakMemory.h"
#include "vdrSyntheticDatabase.h"
#include "vdrZlibLimit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <unistd.h>
#include <zlib.h>

namespace {

const QStringList kTableIds = {
    QStringLiteral("TvdrOptions"),      QStringLiteral("TvdrRepairs"),    QStringLiteral("TvdrMaint"),
    QStringLiteral("TvdrMaintRepairs"), QStringLiteral("TvdrMaintNotes"), QStringLiteral("TvdrCars"),
    QStringLiteral("TvdrUDF"),          QStringLiteral("TvdrCarsUDF"),    QStringLiteral("TvdrSortOrder")};

struct TBenchDatabase {
    QTemporaryDir dir;
    QString fileName;
    QList<QByteArray> tableBlocks; // as stored: length and zlib data
    qint64 textBytes = 0;          // the tables' uncompressed text
};

// The container the event commands work on, with every table bound to it;
// null while no database is bound.
std::unique_ptr<TkvxStreamFile> &Bound() {
    static std::unique_ptr<TkvxStreamFile> file;
    return file;
}

void Unbind() {
    if (!Bound())
        return;
    UnbindTables();
    Bound().reset();
}

// One database per size, made once and closed.
TBenchDatabase &Database(int events) {
    static std::map<int, std::unique_ptr<TBenchDatabase>> made;
    std::unique_ptr<TBenchDatabase> &database = made[events];
    if (database)
        return *database;
    Unbind();
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    database = std::make_unique<TBenchDatabase>();
    database->fileName = database->dir.filePath(QStringLiteral("Vandor.dat"));
    {
        TkvxStreamFile file;
        file.Open(database->fileName, false);
        BindTables(&file);
        FillSyntheticDatabase(events, 50);
        UnbindTables();
        file.Compact();
        for (const QString &id : kTableIds) {
            if (!file.Toc().Exists(id))
                continue;
            database->tableBlocks.append(file.RawBlock(id));
            database->textBytes += file.ReadStream(id).size();
        }
        file.Close();
    }
    // What filling left unwritten must not be flushed by a measured run.
    ::sync();
    return *database;
}

void BindDatabase(int events) {
    static int bound = -1;
    TBenchDatabase &database = Database(events);
    if (Bound() && bound == events)
        return;
    Unbind();
    Bound() = std::make_unique<TkvxStreamFile>();
    Bound()->Open(database.fileName, false);
    BindTables(Bound().get());
    bound = events;
}

void SetMemoryCounter(benchmark::State &state, const char *name, qint64 bytes, qint64 textBytes) {
    state.counters[name] = textBytes > 0 ? double(bytes) / double(textBytes) : 0.0;
}

// Runs `work` timed and `after` untimed each iteration; the first run's
// peak memory over the tables' text and the flushes per run are counters.
template <class TWork, class TAfter>
void Measure(benchmark::State &state, TvdrPeakMemory &peak, TWork work, TAfter after) {
    const TBenchDatabase &database = Database(int(state.range(0)));
    qint64 flushes = 0;
    bool first = true;
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            peak.Start();
            state.ResumeTiming();
        }
        const qint64 before = TkvxSfFaults::Flushes();
        work();
        flushes += TkvxSfFaults::Flushes() - before;
        state.PauseTiming();
        if (first)
            SetMemoryCounter(state, "peak/text", peak.Peak(), database.textBytes);
        after(first);
        first = false;
        state.ResumeTiming();
    }
    state.counters["flushes"] = benchmark::Counter(double(flushes), benchmark::Counter::kAvgIterations);
}

void BM_OpenDatabase(benchmark::State &state) {
    const TBenchDatabase &database = Database(int(state.range(0)));
    Unbind();
    TvdrPeakMemory peak;
    TkvxStreamFile file;
    Measure(
        state, peak,
        [&] {
            file.Open(database.fileName, false);
            BindTables(&file);
        },
        [&](bool first) {
            if (first)
                SetMemoryCounter(state, "held/text", peak.Held(), database.textBytes);
            DetachTables();
            UnbindTables();
            file.Close();
        });
    state.SetBytesProcessed(int64_t(state.iterations()) * database.textBytes);
}

void BM_ZlibInflateStreams(benchmark::State &state) {
    const TBenchDatabase &database = Database(int(state.range(0)));
    for (auto _ : state) {
        for (const QByteArray &block : database.tableBlocks) {
            const qint32 length = qFromLittleEndian<qint32>(block.constData());
            QByteArray text(length, Qt::Uninitialized);
            uLongf size = uLongf(length);
            uncompress(reinterpret_cast<Bytef *>(text.data()), &size,
                       reinterpret_cast<const Bytef *>(block.constData() + 4), uLong(block.size() - 4));
            benchmark::DoNotOptimize(text.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * database.textBytes);
}

// An event of the car in the middle of the table, so that the rows it
// changes lie in the middle of each table.
qint32 MiddleCar() {
    return Cars().CarNbrAt(Cars().Count() / 2);
}

void BM_EventAdd(benchmark::State &state) {
    BindDatabase(int(state.range(0)));
    const qint32 carNbr = MiddleCar();
    qint32 added = -1;
    TvdrPeakMemory peak;
    Measure(
        state, peak, [&] { added = SaveMaintEvent(SyntheticEvent(carNbr)); },
        [&](bool) { DeleteMaintEvent(carNbr, added); });
}

void BM_EventChange(benchmark::State &state) {
    BindDatabase(int(state.range(0)));
    const qint32 carNbr = MiddleCar();
    const qint32 maintNbr = Maint().NextMaintNbr(carNbr) / 2;
    TvdrMaintEntry entry = SyntheticEvent(carNbr, maintNbr);
    TvdrPeakMemory peak;
    Measure(
        state, peak,
        [&] {
            entry.Cost += 1.0;
            SaveMaintEvent(entry);
        },
        [](bool) {});
}

void BM_EventDelete(benchmark::State &state) {
    BindDatabase(int(state.range(0)));
    const qint32 carNbr = MiddleCar();
    const qint32 maintNbr = Maint().NextMaintNbr(carNbr) / 2;
    const TvdrMaintEntry entry = SyntheticEvent(carNbr, maintNbr);
    TvdrPeakMemory peak;
    Measure(
        state, peak, [&] { DeleteMaintEvent(carNbr, maintNbr); }, [&](bool) { SaveMaintEvent(entry); });
}

// The text of the three tables an event command saves.
QList<QByteArray> EventTableTexts() {
    return {vdrCodePage::FromUnicode(Maint().Text()), vdrCodePage::FromUnicode(MaintRepairs().Text()),
            vdrCodePage::FromUnicode(MaintNotes().Text())};
}

// zlib at the container's settings over the bytes of the three tables an
// event command saves.
void BM_ZlibDeflateEventTables(benchmark::State &state) {
    BindDatabase(int(state.range(0)));
    const QList<QByteArray> texts = EventTableTexts();
    for (auto _ : state)
        for (const QByteArray &text : texts)
            benchmark::DoNotOptimize(ZlibCompress(text).data());
}

// The least any durable command can do: the same deflate, then its blocks
// written to two files, each flushed before the next, as a journal and the
// database must be. The files keep their lengths, so no flush records a
// new one: the floor of the disk's share of a command.
void BM_ZlibDeflateAndFlushEventTables(benchmark::State &state) {
    BindDatabase(int(state.range(0)));
    const QList<QByteArray> texts = EventTableTexts();
    QTemporaryDir dir;
    int files[2];
    for (int i = 0; i < 2; ++i)
        files[i] = ::open(QFile::encodeName(dir.filePath(QString::number(i))).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    for (auto _ : state) {
        QList<QByteArray> blocks;
        for (const QByteArray &text : texts)
            blocks.append(ZlibCompress(text));
        for (const int file : files) {
            off_t offset = 0;
            for (const QByteArray &block : blocks) {
                if (::pwrite(file, block.constData(), size_t(block.size()), offset) != block.size())
                    state.SkipWithError("cannot write");
                offset += block.size();
            }
            ::fdatasync(file);
        }
    }
    for (const int file : files)
        ::close(file);
}

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_OpenDatabase) SIZES;
BENCHMARK(BM_ZlibInflateStreams) SIZES;
BENCHMARK(BM_EventAdd) SIZES;
BENCHMARK(BM_EventChange) SIZES;
BENCHMARK(BM_EventDelete) SIZES;
BENCHMARK(BM_ZlibDeflateEventTables) SIZES;
BENCHMARK(BM_ZlibDeflateAndFlushEventTables) SIZES;

} // namespace

int main(int argc, char **argv) {
    PairWith("BM_OpenDatabase", "BM_ZlibInflateStreams");
    PairWith("BM_EventAdd", "BM_ZlibDeflateEventTables", true);
    PairWith("BM_EventChange", "BM_ZlibDeflateEventTables", true);
    PairWith("BM_EventDelete", "BM_ZlibDeflateEventTables", true);
    for (const char *command : {"BM_EventAdd", "BM_EventChange", "BM_EventDelete"})
        PairWith(command, "BM_ZlibDeflateAndFlushEventTables", true);
    // What the flushes alone add to the deflate.
    PairWith("BM_ZlibDeflateAndFlushEventTables", "BM_ZlibDeflateEventTables", true);
    const int result = RunBenchmarksWithRatios(argc, argv);
    Unbind();
    return result;
}
