// Export and import of a whole database, against a plain copy of the same
// number of bytes: how close the exchange comes to the disk's own speed.

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

#include <map>
#include <memory>

namespace {

// A synthetic database of `events` events, exported once both ways.
struct TBenchData {
    QTemporaryDir dir;
    QString database = dir.filePath(QStringLiteral("source.dat"));
    QString xml = dir.filePath(QStringLiteral("xml"));
    QString tsv = dir.filePath(QStringLiteral("tsv"));
    qint64 xmlBytes = 0;
    qint64 tsvBytes = 0;
};

qint64 FolderBytes(const QString &folder) {
    qint64 total = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        total += file.size();
    return total;
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

void BM_ExportXml(benchmark::State &state) { Export<TvdrExportXML>(state, true); }
void BM_ExportTsv(benchmark::State &state) { Export<TvdrExportTSV>(state, false); }
void BM_ImportXml(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    Import<TvdrImportXML>(state, data.xml + QStringLiteral("/VandorDB.xml"), data.xmlBytes);
}
void BM_ImportTsv(benchmark::State &state) {
    const TBenchData &data = Data(int(state.range(0)));
    Import<TvdrImportTSV>(state, data.tsv, data.tsvBytes);
}
void BM_CopyXmlBytes(benchmark::State &state) { Copy(state, Data(int(state.range(0))).xmlBytes); }
void BM_CopyTsvBytes(benchmark::State &state) { Copy(state, Data(int(state.range(0))).tsvBytes); }

#define VANDOR_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ExportXml) VANDOR_SIZES;
BENCHMARK(BM_ImportXml) VANDOR_SIZES;
BENCHMARK(BM_CopyXmlBytes) VANDOR_SIZES;
BENCHMARK(BM_ExportTsv) VANDOR_SIZES;
BENCHMARK(BM_ImportTsv) VANDOR_SIZES;
BENCHMARK(BM_CopyTsvBytes) VANDOR_SIZES;

} // namespace

int main(int argc, char **argv) {
    PairWith("BM_ExportXml", "BM_CopyXmlBytes");
    PairWith("BM_ImportXml", "BM_CopyXmlBytes");
    PairWith("BM_ExportTsv", "BM_CopyTsvBytes");
    PairWith("BM_ImportTsv", "BM_CopyTsvBytes");
    return RunBenchmarksWithRatios(argc, argv);
}
