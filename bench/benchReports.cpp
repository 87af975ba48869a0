// The maintenance report of one car: the engine's layout alone against
// writing the same pages as PDF, at growing numbers of events. The layout is
// the part the engine adds; writing PDF is what any report costs.

#include "kvxStreamFile.h"
#include "qrMaint.h"
#include "vdrBenchRatios.h"
#include "vdrDatabaseTables.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintSortedList.h"
#include "vdrReportLayout.h"
#include "vdrReportPdf.h"
#include "vdrSyntheticDatabase.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// A database of one car with `events` events, made once per size.
QString Database(int events) {
    static QTemporaryDir dir;
    static std::map<int, QString> files;
    QString &file = files[events];
    if (file.isEmpty()) {
        file = dir.filePath(QStringLiteral("events%1.dat").arg(events));
        TkvxStreamFile db;
        db.Open(file, false);
        BindTables(&db);
        FillSyntheticDatabase(events, events);
        UnbindTables();
        db.Close();
    }
    return file;
}

// The maintenance report of the database's car, as the view hands it over:
// sorted by date, no filter. The database stays bound while it lives.
class TBoundReport {
public:
    explicit TBoundReport(int events) {
        m_db.Open(Database(events), true);
        BindTables(&m_db);
        m_list = Maint().SortedList(0, TvdrMaintSortedList::ByDate, TvdrMaintSortedList::Ascending);
        Report = CreateMaintReport(0, *m_list, 0, m_filter);
    }
    ~TBoundReport() {
        Report.reset();
        UnbindTables();
        m_db.Close();
    }

    std::unique_ptr<TfrmQrMaint> Report;

private:
    TkvxStreamFile m_db;
    std::unique_ptr<TvdrMaintSortedList> m_list;
    TvdrNullFilter m_filter;
};

void BM_ReportLayout(benchmark::State &state) {
    TBoundReport bound(int(state.range(0)));
    size_t pages = 0;
    for (auto _ : state) {
        const TvdrReportLayout layout(*bound.Report);
        pages = layout.Pages().size();
    }
    state.counters["pages"] = double(pages);
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

void BM_ReportPdf(benchmark::State &state) {
    TBoundReport bound(int(state.range(0)));
    const TvdrReportLayout layout(*bound.Report);
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state)
        WriteReportLayoutPdf(layout, file);
    state.counters["pages"] = double(layout.Pages().size());
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

#define VANDOR_SIZES ->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ReportLayout) VANDOR_SIZES;
BENCHMARK(BM_ReportPdf) VANDOR_SIZES;

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    PairWith("BM_ReportLayout", "BM_ReportPdf");
    return RunBenchmarksWithRatios(argc, argv);
}
