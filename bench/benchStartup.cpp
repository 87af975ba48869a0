// Start-up to a shown, painted main window whose thread is free for the user
// (the events still load in the background), and to every table in, against
// opening the database and loading every table alone; shut-down against a
// compaction alone. Offscreen, on a synthetic database (the argument is its
// number of events; the cars are 500, or fewer for the smallest size).

#include "fmMain.h"
#include "kvxStreamFile.h"
#include "vdrApplication.h"
#include "vdrBenchRatios.h"
#include "vdrCarRec.h"
#include "vdrCars.h"
#include "vdrDatabaseTables.h"
#include "vdrExtFiles.h"
#include "vdrFormatSettings.h"
#include "vdrLog.h"
#include "vdrProgramFolder.h"
#include "vdrSyntheticDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <malloc.h>
#include <map>
#include <memory>

namespace {

struct TBenchProgram {
    QTemporaryDir dir;
    QString database;
};

// A program folder with the language file, an .ini naming the database,
// and the database itself, made once per size.
const TBenchProgram &Program(int events) {
    static std::map<int, std::unique_ptr<TBenchProgram>> made;
    std::unique_ptr<TBenchProgram> &program = made[events];
    if (program)
        return *program;
    program = std::make_unique<TBenchProgram>();
    SetProgramFolder(program->dir.path());
    QFile::copy(QStringLiteral(VANDOR_BIN_DIR "/vdrLang.dat"),
                program->dir.filePath(QStringLiteral("vdrLang.dat")));
    ExtFiles().SetDBFolder(program->dir.path());
    ExtFiles().SetLogFolder(program->dir.path());
    program->database = ExtFiles().DBFileName();
    TkvxStreamFile db;
    db.Open(program->database, false);
    BindTables(&db);
    FillSyntheticDatabase(events);
    const int cars = events >= 100000 ? 500 : events / 200;
    while (Cars().Count() < cars) {
        TvdrCarRec rec = Cars().CarRec(Cars().NewCar());
        rec.Year = 1990 + Cars().Count() % 30;
        rec.SetMake(QStringLiteral("Make %1").arg(Cars().Count() % 17));
        rec.SetModel(QStringLiteral("Model %1").arg(Cars().Count()));
        Cars().StoreCarRec(rec);
    }
    Cars().Save();
    UnbindTables();
    db.Compact();
    db.Close();
    return *program;
}

void Select(int events) {
    SetProgramFolder(Program(events).dir.path());
}

// The window started and shown, or null when start-up failed.
std::unique_ptr<TfrmMain> StartWindow(benchmark::State &state) {
    auto window = std::make_unique<TfrmMain>();
    if (!window->FormCreate()) {
        state.SkipWithError("start-up failed");
        return nullptr;
    }
    window->show();
    QCoreApplication::processEvents();
    return window;
}

// Leaves the process as a new one would be for the next start: the tables
// empty (shut-down only detaches them, and the next start would otherwise
// free the last run's rows inside its own time) and their memory given back,
// so that the trim at start-up finds as little to do as in a new process.
void EndWindow(std::unique_ptr<TfrmMain> &window) {
    window->FormDestroy();
    window.reset();
    UnbindTables();
    malloc_trim(0);
    Log().SetEnabled(false);
}

// Times `operation` alone: the steps around it, which prepare and clean up,
// are left out without the cost of pausing the benchmark's timers.
template <class TOperation> void Timed(benchmark::State &state, TOperation &&operation) {
    const auto start = std::chrono::steady_clock::now();
    operation();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

void BM_StartUp(benchmark::State &state) {
    Select(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<TfrmMain> window;
        Timed(state, [&] { window = StartWindow(state); });
        if (!window)
            break;
        EndWindow(window);
    }
}

// The same, until the tables that start-up loads in the background are in
// as well.
void BM_StartUpAllLoaded(benchmark::State &state) {
    Select(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<TfrmMain> window;
        Timed(state, [&] {
            window = StartWindow(state);
            if (window)
                window->FinishTableLoads();
        });
        if (!window)
            break;
        EndWindow(window);
    }
}

void BM_OpenAndLoad(benchmark::State &state) {
    Select(int(state.range(0)));
    const QString fileName = ExtFiles().DBFileName();
    for (auto _ : state) {
        TkvxStreamFile db;
        Timed(state, [&] {
            db.Open(fileName, false);
            BindTables(&db);
        });
        UnbindTables();
        db.Close();
        malloc_trim(0); // memory from the system, as for a start-up
    }
}

void BM_ShutDown(benchmark::State &state) {
    Select(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<TfrmMain> window = StartWindow(state);
        if (!window)
            break;
        // A user closes the window well after the tables are in.
        window->FinishTableLoads();
        Timed(state, [&] { window->FormDestroy(); });
        EndWindow(window);
    }
}

// A compaction with something to do: as at shut-down, the options table was
// just written anew, which leaves its old block as a gap, and the tables were
// loaded before it, as a shut-down finds them.
void BM_Compact(benchmark::State &state) {
    Select(int(state.range(0)));
    const QString fileName = ExtFiles().DBFileName();
    for (auto _ : state) {
        {
            // Written and closed first: the journal the change keeps goes
            // with that close, as a shut-down after no command has none.
            TkvxStreamFile writer;
            writer.Open(fileName, false);
            writer.WriteStream(QStringLiteral("TvdrOptions"), 0,
                               writer.ReadStream(QStringLiteral("TvdrOptions")) + "x=1\r\n");
            writer.Close();
        }
        TkvxStreamFile db;
        db.Open(fileName, false);
        BindTables(&db);
        Timed(state, [&] {
            db.Compact();
            db.Close();
        });
        UnbindTables();
        malloc_trim(0);
    }
}

#define VANDOR_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime()
BENCHMARK(BM_StartUp) VANDOR_SIZES;
BENCHMARK(BM_StartUpAllLoaded) VANDOR_SIZES;
BENCHMARK(BM_OpenAndLoad) VANDOR_SIZES;
BENCHMARK(BM_ShutDown) VANDOR_SIZES;
BENCHMARK(BM_Compact) VANDOR_SIZES;

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    TvdrApplication app(argc, argv);
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    PairWith("BM_StartUp", "BM_OpenAndLoad");
    PairWith("BM_StartUpAllLoaded", "BM_OpenAndLoad");
    PairWith("BM_ShutDown", "BM_Compact");
    return RunBenchmarksWithRatios(argc, argv);
}
