// Inputs far larger than an owner's, as a damaged or crafted file brings
// them: a sort order row of many fields, a table of contents of many
// entries or of many empty gaps, a TSV file set of many cars, fields and
// descriptions. Each against the plain split of the same bytes, so
// the ratio stays flat as the size grows when the work is linear.

#include "kvxSfToc.h"
#include "kvxStreamFile.h"
#include "vdrBenchRatios.h"
#include "vdrCars.h"
#include "vdrDatabaseTables.h"
#include "vdrImportTSV.h"
#include "vdrSortOrderRec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>

namespace {

QString ManyFieldsRow(int fields) {
    return QStringLiteral("Huge=1\t") + QString(fields, QLatin1Char('\t')) + QStringLiteral("3|1|1");
}

// `count` TOC records of one-byte streams, back to back from offset 4.
QByteArray TocRecords(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(4 + i) +
                "\x01"
                "1\x01"
                "0\x01"
                "0\x01"
                "S" +
                QByteArray::number(i) + '\x02';
    return text;
}

// Fifty empty gaps per entry in front of the entries.
QByteArray GappedToc(int entries) {
    return QByteArray(50 * entries, '\x02') + TocRecords(entries);
}

void WriteFile(const QString &name, const QByteArray &bytes) {
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

void BM_SortOrderRowManyFields(benchmark::State &state) {
    const QString row = ManyFieldsRow(int(state.range(0)));
    for (auto _ : state) {
        TvdrSortOrderRec rec;
        rec.Decode(row);
        benchmark::DoNotOptimize(rec.SortFieldCount());
    }
}

void BM_SplitManyFields(benchmark::State &state) {
    const QString row = ManyFieldsRow(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(row.split(QLatin1Char('\t')));
}

void BM_TocManyEntries(benchmark::State &state) {
    const QByteArray text = TocRecords(int(state.range(0)));
    for (auto _ : state) {
        TkvxSfToc toc;
        toc.FromText(text);
        benchmark::DoNotOptimize(toc.Count());
    }
}

void BM_SplitTocRecords(benchmark::State &state) {
    const QByteArray text = TocRecords(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(text.split('\x02'));
}

void BM_OpenManyEmptyGaps(benchmark::State &state) {
    const int entries = int(state.range(0));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("Vandor.dat"));
    QByteArray file(4 + entries, 'x');
    const QByteArray block = TkvxStreamFile::Compress(GappedToc(entries));
    qToLittleEndian<qint32>(qint32(block.size()), file.data());
    WriteFile(name, file + block);
    for (auto _ : state) {
        TkvxStreamFile sf;
        sf.Open(name, true);
        benchmark::DoNotOptimize(sf.Toc().Count());
    }
}

void BM_InflateGappedToc(benchmark::State &state) {
    const QByteArray block = TkvxStreamFile::Compress(GappedToc(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(TkvxStreamFile::Decompress(block).split('\x02'));
}

// `cars` cars and half as many fields and descriptions, all new to the
// database, so every one is numbered and added.
struct TNamesSet {
    QTemporaryDir dir;
    qint64 bytes = 0;

    explicit TNamesSet(int cars) {
        const std::pair<const char *, QByteArray> files[] = {
            {"Cars.tsv", "CarNbr\tYear\tMake\tModel\tPictureExtension\r\n"},
            {"UDF.tsv", "UdfNbr\tSortOrder\tName\r\n"},
            {"Repairs.tsv", "RepairNbr\tDescription\r\n"},
            {"CarsUDF.tsv", "CarNbr\tUdfNbr\tValue\r\n"},
            {"Maint.tsv", "CarNbr\tMaintNbr\tDate\tMileage\tCost\r\n"},
            {"MaintRepairs.tsv", "CarNbr\tMaintNbr\tRepairNbr\r\n"},
            {"MaintNotes.tsv", "CarNbr\tMaintNbr\tNote\r\n"},
            {"SortOrder.tsv", "SortOrderName\tSortOrderNbr\tSortOrderFields\r\n"}};
        for (auto [name, text] : files) {
            const QByteArray file(name);
            for (int i = 0; file == "Cars.tsv" && i < cars; ++i)
                text += QByteArray::number(i) + "\t2000\tMake\tModel\t\r\n";
            for (int i = 0; file == "UDF.tsv" && i < cars / 2; ++i)
                text += QByteArray::number(i) + "\t0\tField " + QByteArray::number(i) + "\r\n";
            for (int i = 0; file == "Repairs.tsv" && i < cars / 2; ++i)
                text += QByteArray::number(i) + "\tRepair " + QByteArray::number(i) + "\r\n";
            WriteFile(dir.filePath(QString::fromLatin1(name)), text);
            bytes += text.size();
        }
    }
};

void BM_ImportTsvManyNames(benchmark::State &state) {
    const TNamesSet set(int(state.range(0)));
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("Vandor.dat"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        TkvxStreamFile db;
        db.Open(target, false);
        BindTables(&db);
        state.ResumeTiming();
        TvdrImportTSV(set.dir.path()).Execute();
        state.PauseTiming();
        if (Cars().Count() != state.range(0))
            state.SkipWithError("the cars were not imported");
        UnbindTables();
        db.Close();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * set.bytes);
}

// The files read and cut into lines and columns, nothing more.
void BM_SplitNamesFiles(benchmark::State &state) {
    const TNamesSet set(int(state.range(0)));
    for (auto _ : state) {
        for (const QString &name : QDir(set.dir.path()).entryList(QDir::Files)) {
            QFile file(set.dir.filePath(name));
            file.open(QIODevice::ReadOnly);
            for (const QByteArray &line : file.readAll().split('\n'))
                benchmark::DoNotOptimize(line.split('\t'));
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * set.bytes);
}

#define VANDOR_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_SortOrderRowManyFields) VANDOR_SIZES;
BENCHMARK(BM_SplitManyFields) VANDOR_SIZES;
BENCHMARK(BM_TocManyEntries) VANDOR_SIZES;
BENCHMARK(BM_SplitTocRecords) VANDOR_SIZES;
BENCHMARK(BM_OpenManyEmptyGaps) VANDOR_SIZES;
BENCHMARK(BM_InflateGappedToc) VANDOR_SIZES;
BENCHMARK(BM_ImportTsvManyNames) VANDOR_SIZES;
BENCHMARK(BM_SplitNamesFiles) VANDOR_SIZES;

} // namespace

int main(int argc, char **argv) {
    PairWith("BM_SortOrderRowManyFields", "BM_SplitManyFields");
    PairWith("BM_TocManyEntries", "BM_SplitTocRecords");
    PairWith("BM_OpenManyEmptyGaps", "BM_InflateGappedToc");
    PairWith("BM_ImportTsvManyNames", "BM_SplitNamesFiles");
    return RunBenchmarksWithRatios(argc, argv);
}
