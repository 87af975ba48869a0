// Export and import of a whole database, each beside its limit in the same
// run: an export against a plain write of the same bytes to as many files,
// each written safely as the export must write it (a new file beside the
// name, flushed to disk, renamed over the old one); the XML import
// against pugixml's parse of the file, zlib's deflate (the container's
// settings) of the tables it gives and a write of those blocks flushed to
// disk; the TSV import against reading its files plus the same deflate and
// write. The imports run twice: on the files as exported (rows grouped by
// car) and on the same files with the rows of every table but the cars
// shuffled.
//
// Peak memory: each operation once more in a forked child, whose VmHWM
// (/proc/self/status) at the end, less its VmRSS when it started (the free
// heap given back first), is the memory the operation added at its peak;
// shown as peak_MiB and as peak_x_text, that over the uncompressed table
// text (the table streams' bytes); kept_x_text is what the child still
// holds afterwards (an import's new tables in memory). A child's peak that an XML import owes
// to pugixml's document is shown apart as dom_x_text (measured by parsing
// the file alone the same way).

#include "kvxStreamFile.h"
#include "vdrBenchRatios.h"
#include "vdrCars.h"
#include "vdrDatabaseTables.h"
#include "vdrExportTSV.h"
#include "vdrExportXML.h"
#include "vdrImportTSV.h"
#include "vdrImportXML.h"
#include "vdrPeakMemory.h"
#include "vdrPrivateFile.h"
#include "vdrSyntheticDatabase.h"

#include "vdrMaint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>

namespace {

// A synthetic database of `events` events, exported once both ways.
struct TBenchData {
    QTemporaryDir dir;
    QString database = dir.filePath(QStringLiteral("source.dat"));
    QString xml = dir.filePath(QStringLiteral("xml"));
    QString tsv = dir.filePath(QStringLiteral("tsv"));
    QString xmlShuffled = dir.filePath(QStringLiteral("xml-shuffled"));
    QString tsvShuffled = dir.filePath(QStringLiteral("tsv-shuffled"));
    qint64 xmlBytes = 0;
    qint64 tsvBytes = 0;
    // The exported files' bytes, by name.
    std::map<QString, QByteArray> xmlFiles;
    std::map<QString, QByteArray> tsvFiles;
    // The table streams an import into an empty database leaves.
    QList<QByteArray> tables;
    qint64 tableBytes = 0;
};

qint64 FolderBytes(const QString &folder) {
    qint64 total = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        total += file.size();
    return total;
}

// Lines [first, end) in a fixed random order, the same in every run.
void ShuffleLines(QList<QByteArray> &lines, qsizetype first, qsizetype end) {
    std::mt19937 rng(20240611);
    std::shuffle(lines.begin() + first, lines.begin() + end, rng);
}

// Copies the folder's files; `shuffle` reorders those it names.
void CopyShuffled(const QString &from, const QString &to,
                  const std::function<void(const QString &name, QList<QByteArray> &lines)> &shuffle) {
    QDir().mkpath(to);
    for (const QFileInfo &info : QDir(from).entryInfoList(QDir::Files)) {
        QFile in(info.filePath());
        in.open(QIODevice::ReadOnly);
        QList<QByteArray> lines = in.readAll().split('\n');
        shuffle(info.fileName(), lines);
        QFile out(QDir(to).filePath(info.fileName()));
        out.open(QIODevice::WriteOnly);
        out.write(lines.join('\n'));
    }
}

// Every row of the TSV files but those of Cars.tsv, UDF.tsv and Repairs.tsv.
void ShuffleTsv(const QString &name, QList<QByteArray> &lines) {
    static const QStringList kept = {QStringLiteral("Cars.tsv"), QStringLiteral("UDF.tsv"),
                                     QStringLiteral("Repairs.tsv")};
    if (name.endsWith(QLatin1String(".tsv")) && !kept.contains(name))
        ShuffleLines(lines, 1, lines.size() - 1); // the header and the empty end stay
}

// The rows of the XML sections whose rows belong to cars and events.
void ShuffleXml(const QString &name, QList<QByteArray> &lines) {
    if (name != QLatin1String("VandorDB.xml"))
        return;
    for (const char *section : {"CarsUDF", "Maint", "MaintRepairs", "MaintNotes"}) {
        const QByteArray start = "<" + QByteArray(section) + ">\r";
        const QByteArray end = "</" + QByteArray(section) + ">\r";
        const qsizetype first = lines.indexOf(start) + 1;
        ShuffleLines(lines, first, lines.indexOf(end, first));
    }
}

// The folder's files whose names end with `suffix`, read whole.
std::map<QString, QByteArray> FilesOf(const QString &folder, const QString &suffix) {
    std::map<QString, QByteArray> files;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files)) {
        if (!info.fileName().endsWith(suffix))
            continue;
        QFile file(info.filePath());
        file.open(QIODevice::ReadOnly);
        files[info.fileName()] = file.readAll();
    }
    return files;
}

const char *const kTableIds[] = {"TvdrCars",  "TvdrUDF",          "TvdrCarsUDF",    "TvdrRepairs",
                                 "TvdrMaint", "TvdrMaintRepairs", "TvdrMaintNotes", "TvdrSortOrder"};

QList<QByteArray> ImportedTables(const QString &document, const QString &scratch) {
    const QString target = scratch + QStringLiteral("/imported.dat");
    TkvxStreamFile db;
    db.Open(target, false);
    BindTables(&db);
    TvdrImportXML(document).Execute();
    QList<QByteArray> tables;
    for (const char *id : kTableIds)
        tables.append(db.ReadStream(QLatin1String(id)));
    UnbindTables();
    db.Close();
    QFile::remove(target);
    return tables;
}

const TBenchData &Data(int events) {
    static std::map<int, std::unique_ptr<TBenchData>> cache;
    std::unique_ptr<TBenchData> &data = cache[events];
    if (!data) {
        data = std::make_unique<TBenchData>();
        TkvxStreamFile db;
        db.Open(data->database, false);
        BindTables(&db);
        FillSyntheticDatabase(events);
        QDir().mkpath(data->xml);
        QDir().mkpath(data->tsv);
        TvdrExportXML(data->xml).Execute();
        TvdrExportTSV(data->tsv).Execute();
        UnbindTables();
        db.Close();
        CopyShuffled(data->xml, data->xmlShuffled, ShuffleXml);
        CopyShuffled(data->tsv, data->tsvShuffled, ShuffleTsv);
        data->xmlBytes = FolderBytes(data->xml);
        data->tsvBytes = FolderBytes(data->tsv);
        data->xmlFiles = FilesOf(data->xml, QStringLiteral("VandorDB.xml"));
        data->tsvFiles = FilesOf(data->tsv, QStringLiteral(".tsv"));
        data->tables = ImportedTables(data->xml + QStringLiteral("/VandorDB.xml"), data->dir.path());
        for (const QByteArray &table : data->tables)
            data->tableBytes += table.size();
    }
    return *data;
}

// The source database bound for the length of one benchmark.
class TBoundDatabase {
public:
    TBoundDatabase(const QString &fileName, bool readOnly) {
        m_db.Open(fileName, readOnly);
        BindTables(&m_db);
    }
    ~TBoundDatabase() {
        UnbindTables();
        m_db.Close();
    }

private:
    TkvxStreamFile m_db;
};

template <class TExport> void Export(benchmark::State &state, bool xml) {
    const TBenchData &data = Data(int(state.range(0)));
    QTemporaryDir out;
    TBoundDatabase db(data.database, true);
    for (auto _ : state)
        TExport(out.path()).Execute();
    state.SetBytesProcessed(int64_t(state.iterations()) * (xml ? data.xmlBytes : data.tsvBytes));
}

template <class TImport> void Import(benchmark::State &state, const QString &source, qint64 bytes) {
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("Vandor.dat"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        {
            TBoundDatabase db(target, false);
            state.ResumeTiming();
            TImport(source).Execute();
            state.PauseTiming();
            if (Cars().Count() == 0)
                state.SkipWithError("nothing was imported");
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}

// Writes `bytes` to a new file and flushes it to disk.
void WriteFlushed(const QString &fileName, const QByteArray &bytes) {
    QFile file(fileName);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    file.flush();
    ::fsync(file.handle());
}

// Each file written anew as the export must write it: into a new file
// beside its name, flushed to disk and renamed over the old one.
void WriteFiles(benchmark::State &state, const std::map<QString, QByteArray> &files, qint64 bytes) {
    QTemporaryDir dir;
    for (auto _ : state) {
        for (const auto &[name, content] : files) {
            TvdrPrivateFile file(dir.filePath(name));
            file.Open();
            file.write(content);
            file.Commit();
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}

// Every table deflated as the container does and the blocks written to a
// new file, flushed.
void DeflateAndWrite(const QList<QByteArray> &tables, const QString &fileName) {
    QByteArray blocks;
    for (const QByteArray &table : tables) {
        z_stream zs{};
        deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
        QByteArray out(qsizetype(deflateBound(&zs, uLong(table.size()))), Qt::Uninitialized);
        zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(table.constData()));
        zs.avail_in = uInt(table.size());
        zs.next_out = reinterpret_cast<Bytef *>(out.data());
        zs.avail_out = uInt(out.size());
        deflate(&zs, Z_FINISH);
        out.truncate(qsizetype(zs.total_out));
        deflateEnd(&zs);
        blocks += out;
    }
    WriteFlushed(fileName, blocks);
}

void ParseDeflateWrite(benchmark::State &state, const TBenchData &data) {
    const QByteArray document = QFile::encodeName(data.xml + QStringLiteral("/VandorDB.xml"));
    QTemporaryDir dir;
    for (auto _ : state) {
        pugi::xml_document parsed;
        if (!parsed.load_file(document.constData()))
            state.SkipWithError("the document does not parse");
        DeflateAndWrite(data.tables, dir.filePath(QStringLiteral("tables")));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.xmlBytes);
}

void ReadDeflateWrite(benchmark::State &state, const TBenchData &data) {
    QTemporaryDir dir;
    for (auto _ : state) {
        for (const auto &[name, content] : data.tsvFiles) {
            QFile file(data.tsv + QLatin1Char('/') + name);
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll());
        }
        DeflateAndWrite(data.tables, dir.filePath(QStringLiteral("tables")));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.tsvBytes);
}

struct TPeak {
    qint64 Peak = -1; // what the operation added to the peak
    qint64 Kept = -1; // what it still holds when done: the imported tables
};

// What `operation` adds to resident memory, run in a child.
TPeak PeakOf(const std::function<void()> &operation) {
    malloc_trim(0);
    TPeak peak;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return peak;
    const pid_t child = ::fork();
    if (child == 0) {
        TvdrPeakMemory::MapFilePages();
        TvdrPeakMemory memory;
        memory.Start();
        operation();
        peak.Peak = memory.Peak();
        peak.Kept = memory.Held();
        [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &peak, sizeof peak);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    if (::read(pipeEnds[0], &peak, sizeof peak) != sizeof peak)
        peak = TPeak();
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return peak;
}

void ReportPeak(benchmark::State &state, const TBenchData &data, TPeak peak, qint64 dom = 0) {
    state.counters["peak_MiB"] = double(peak.Peak) / (1024.0 * 1024.0);
    state.counters["peak_x_text"] = double(peak.Peak - dom) / double(data.tableBytes);
    state.counters["kept_x_text"] = double(peak.Kept) / double(data.tableBytes);
    if (dom > 0)
        state.counters["dom_x_text"] = double(dom) / double(data.tableBytes);
}

template <class TExport> void ExportPeak(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    QTemporaryDir out;
    TBoundDatabase db(data.database, true);
    TPeak peak;
    for (auto _ : state)
        peak = PeakOf([&out] { TExport(out.path()).Execute(); });
    ReportPeak(state, data, peak);
}

template <class TImport> void ImportPeak(benchmark::State &state, const QString &source, qint64 dom) {
    const TBenchData &data = Data(int(state.range(0)));
    QTemporaryDir out;
    TBoundDatabase db(out.filePath(QStringLiteral("Vandor.dat")), false);
    TPeak peak;
    for (auto _ : state)
        peak = PeakOf([&source] { TImport(source).Execute(); });
    ReportPeak(state, data, peak, dom);
}

void BM_ExportXml(benchmark::State &state) {
    Export<TvdrExportXML>(state, true);
}
void BM_ExportTsv(benchmark::State &state) {
    Export<TvdrExportTSV>(state, false);
}
void BM_ImportXml(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    Import<TvdrImportXML>(state, data.xml + QStringLiteral("/VandorDB.xml"), data.xmlBytes);
}
void BM_ImportTsv(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    Import<TvdrImportTSV>(state, data.tsv, data.tsvBytes);
}
void BM_ImportXmlShuffled(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    Import<TvdrImportXML>(state, data.xmlShuffled + QStringLiteral("/VandorDB.xml"), data.xmlBytes);
}
void BM_ImportTsvShuffled(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    Import<TvdrImportTSV>(state, data.tsvShuffled, data.tsvBytes);
}
void BM_WriteXmlBytes(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    WriteFiles(state, data.xmlFiles, data.xmlBytes);
}
void BM_WriteTsvBytes(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    WriteFiles(state, data.tsvFiles, data.tsvBytes);
}
void BM_ParseDeflateWrite(benchmark::State &state) {
    ParseDeflateWrite(state, Data(int(state.range(0))));
}
void BM_ReadDeflateWrite(benchmark::State &state) {
    ReadDeflateWrite(state, Data(int(state.range(0))));
}
void BM_ExportXmlPeak(benchmark::State &state) {
    ExportPeak<TvdrExportXML>(state);
}
void BM_ExportTsvPeak(benchmark::State &state) {
    ExportPeak<TvdrExportTSV>(state);
}
void BM_ImportXmlPeak(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    const QString document = data.xml + QStringLiteral("/VandorDB.xml");
    const QByteArray name = QFile::encodeName(document);
    // pugixml's document alone: the file parsed in place, as the import does.
    const qint64 dom = PeakOf([&name] {
                           pugi::xml_document parsed;
                           parsed.load_file(name.constData());
                       }).Peak;
    ImportPeak<TvdrImportXML>(state, document, dom);
}
void BM_ImportTsvPeak(benchmark::State &state) {
    ImportPeak<TvdrImportTSV>(state, Data(int(state.range(0))).tsv, 0);
}

#define VANDOR_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ExportXml) VANDOR_SIZES;
BENCHMARK(BM_WriteXmlBytes) VANDOR_SIZES;
BENCHMARK(BM_ExportTsv) VANDOR_SIZES;
BENCHMARK(BM_WriteTsvBytes) VANDOR_SIZES;
BENCHMARK(BM_ImportXml) VANDOR_SIZES;
BENCHMARK(BM_ImportXmlShuffled) VANDOR_SIZES;
BENCHMARK(BM_ParseDeflateWrite) VANDOR_SIZES;
BENCHMARK(BM_ImportTsv) VANDOR_SIZES;
BENCHMARK(BM_ImportTsvShuffled) VANDOR_SIZES;
BENCHMARK(BM_ReadDeflateWrite) VANDOR_SIZES;
// One run each: a fork per iteration.
BENCHMARK(BM_ExportXmlPeak) VANDOR_SIZES->Iterations(1);
BENCHMARK(BM_ExportTsvPeak) VANDOR_SIZES->Iterations(1);
BENCHMARK(BM_ImportXmlPeak) VANDOR_SIZES->Iterations(1);
BENCHMARK(BM_ImportTsvPeak) VANDOR_SIZES->Iterations(1);

} // namespace

int main(int argc, char **argv) {
    // Targets: exports at most 3x, imports at most 2x.
    PairWith("BM_ExportXml", "BM_WriteXmlBytes");
    PairWith("BM_ExportTsv", "BM_WriteTsvBytes");
    PairWith("BM_ImportXml", "BM_ParseDeflateWrite");
    PairWith("BM_ImportXmlShuffled", "BM_ParseDeflateWrite");
    PairWith("BM_ImportTsv", "BM_ReadDeflateWrite");
    PairWith("BM_ImportTsvShuffled", "BM_ReadDeflateWrite");
    return RunBenchmarksWithRatios(argc, argv);
}
