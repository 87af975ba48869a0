// Writing and reading one table stream through the container, against zlib's
// own compress and uncompress of the same bytes.

#include "kvxSfFile.h"
#include "kvxSfJournal.h"
#include "kvxStreamFile.h"
#include "vdrBenchRatios.h"
#include "vdrZlibLimit.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <zlib.h>

namespace {

// Rows shaped like maintenance events: key, date, mileage, cost.
QByteArray TableText(int rows) {
    QByteArray text;
    text.reserve(rows * 40);
    unsigned seed = 12345;
    for (int i = 0; i < rows; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += QByteArray::number(i / 50).rightJustified(7, '0') + '\t' +
                QByteArray::number(i % 50).rightJustified(7, '0') + '=' +
                QByteArray::number(730000 + int(seed % 9000)) + '\t' + QByteArray::number(seed % 250000) +
                '\t' + QByteArray::number(seed % 100000 / 100.0, 'g', 15) + "\r\n";
    }
    return text;
}

void SetBytes(benchmark::State &state, qsizetype bytes) {
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}

void BM_ContainerWrite(benchmark::State &state) {
    const QByteArray text = TableText(int(state.range(0)));
    QTemporaryDir dir;
    TkvxStreamFile sf;
    sf.Open(dir.filePath(QStringLiteral("Vandor.dat")), false);
    sf.WriteStream(QStringLiteral("TvdrOptions"), 0, QByteArray("a=1\r\n"));
    for (auto _ : state)
        sf.WriteStream(QStringLiteral("TvdrMaint"), 0, text);
    SetBytes(state, text.size());
}

void BM_ZlibCompress(benchmark::State &state) {
    const QByteArray text = TableText(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ZlibCompress(text));
    SetBytes(state, text.size());
}

void BM_ContainerRead(benchmark::State &state) {
    const QByteArray text = TableText(int(state.range(0)));
    QTemporaryDir dir;
    TkvxStreamFile sf;
    sf.Open(dir.filePath(QStringLiteral("Vandor.dat")), false);
    sf.WriteStream(QStringLiteral("TvdrMaint"), 0, text);
    for (auto _ : state)
        benchmark::DoNotOptimize(sf.ReadStream(QStringLiteral("TvdrMaint")));
    SetBytes(state, text.size());
}

void BM_ZlibUncompress(benchmark::State &state) {
    const QByteArray text = TableText(int(state.range(0)));
    const QByteArray packed = ZlibCompress(text);
    QByteArray out(text.size(), Qt::Uninitialized);
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        uncompress(reinterpret_cast<Bytef *>(out.data()), &size,
                   reinterpret_cast<const Bytef *>(packed.constData()), uLong(packed.size()));
        benchmark::DoNotOptimize(out.data());
    }
    SetBytes(state, text.size());
}

// One save of a table as the program does it: journal, write, flush,
// commit; against the same save without journal and without flushes.
void Save(benchmark::State &state, bool journal, bool flush) {
    const QByteArray text = TableText(int(state.range(0)));
    QTemporaryDir dir;
    TkvxStreamFile sf;
    sf.Open(dir.filePath(QStringLiteral("Vandor.dat")), false);
    for (int i = 0; i < 8; ++i)
        sf.WriteStream(QStringLiteral("Table%1").arg(i), 0, TableText(200 + 50 * i));
    TkvxSfJournal::SetEnabled(journal);
    TkvxSfFaults::SetFlushing(flush);
    for (auto _ : state)
        sf.WriteStream(QStringLiteral("TvdrMaint"), 0, text);
    TkvxSfJournal::SetEnabled(true);
    TkvxSfFaults::SetFlushing(true);
    SetBytes(state, text.size());
}

void BM_SaveJournaled(benchmark::State &state) {
    Save(state, true, true);
}
void BM_SaveJournalNoFlush(benchmark::State &state) {
    Save(state, true, false);
}
void BM_SavePlain(benchmark::State &state) {
    Save(state, false, false);
}

BENCHMARK(BM_SaveJournaled)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveJournalNoFlush)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePlain)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContainerWrite)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibCompress)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContainerRead)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibUncompress)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    PairWith("BM_ContainerWrite", "BM_ZlibCompress");
    PairWith("BM_ContainerRead", "BM_ZlibUncompress");
    PairWith("BM_SaveJournaled", "BM_SavePlain");
    PairWith("BM_SaveJournalNoFlush", "BM_SavePlain");
    return RunBenchmarksWithRatios(argc, argv);
}
