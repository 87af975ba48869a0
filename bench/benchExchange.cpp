// Export and import of a whole database, against a plain copy of the same
// number of bytes: how close the exchange comes to the disk's own speed. The
// imports run twice: on the files as exported (rows grouped by car) and on
// the same files with the rows of every table but the cars shuffled.

#include "kvxStreamFile.h"
#include "vdrBenchRatios.h"
#include "vdrCars.h"
#include "vdrDatabaseTables.h"
#include "vdrExportTSV.h"
#include "vdrExportXML.h"
#include "vdrImportTSV.h"
#include "vdrImportXML.h"
#include "vdrSyntheticDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
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

void Copy(benchmark::State &state, qint64 bytes) {
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("from"));
    const QString to = dir.filePath(QStringLiteral("to"));
    QFile file(from);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(qsizetype(bytes), 'x'));
    file.close();
    for (auto _ : state) {
        QFile::remove(to);
        QFile::copy(from, to);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
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
void BM_CopyXmlBytes(benchmark::State &state) {
    Copy(state, Data(int(state.range(0))).xmlBytes);
}
void BM_CopyTsvBytes(benchmark::State &state) {
    Copy(state, Data(int(state.range(0))).tsvBytes);
}

#define VANDOR_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ExportXml) VANDOR_SIZES;
BENCHMARK(BM_ImportXml) VANDOR_SIZES;
BENCHMARK(BM_ImportXmlShuffled) VANDOR_SIZES;
BENCHMARK(BM_CopyXmlBytes) VANDOR_SIZES;
BENCHMARK(BM_ExportTsv) VANDOR_SIZES;
BENCHMARK(BM_ImportTsv) VANDOR_SIZES;
BENCHMARK(BM_ImportTsvShuffled) VANDOR_SIZES;
BENCHMARK(BM_CopyTsvBytes) VANDOR_SIZES;

} // namespace

int main(int argc, char **argv) {
    PairWith("BM_ExportXml", "BM_CopyXmlBytes");
    PairWith("BM_ImportXml", "BM_CopyXmlBytes");
    PairWith("BM_ExportTsv", "BM_CopyTsvBytes");
    PairWith("BM_ImportXmlShuffled", "BM_CopyXmlBytes");
    PairWith("BM_ImportTsv", "BM_CopyTsvBytes");
    PairWith("BM_ImportTsvShuffled", "BM_CopyTsvBytes");
    return RunBenchmarksWithRatios(argc, argv);
}
