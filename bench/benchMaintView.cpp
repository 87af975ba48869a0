// The maintenance view at 1,000 and 10,000 events of one car, offscreen:
// opening it, a column click and a refresh with a filter, each against
// building the sorted list alone (with the filter walked over it for the
// filtered refresh), so the ratio is the widget work's share.

#include "fmMaintFilter.h"
#include "frMaint.h"
#include "kvxStreamFile.h"
#include "ui_fmMaintFilter.h"
#include "vdrApplication.h"
#include "vdrBenchRatios.h"
#include "vdrDatabaseTables.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"

#include <QDate>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr qint32 kCar = 3;

struct TBenchDatabase {
    QTemporaryDir dir;
    TkvxStreamFile db;
};

// One open database per size, holding `events` events of car kCar, bound
// while that size runs.
void Select(int events) {
    static std::map<int, std::unique_ptr<TBenchDatabase>> made;
    static int bound = -1;
    if (bound == events)
        return;
    if (bound >= 0)
        UnbindTables();
    std::unique_ptr<TBenchDatabase> &database = made[events];
    const bool fresh = !database;
    if (fresh) {
        database = std::make_unique<TBenchDatabase>();
        database->db.Open(database->dir.filePath(QStringLiteral("Vandor.dat")), false);
    }
    BindTables(&database->db);
    bound = events;
    if (!fresh)
        return;
    for (int r = 0; r < 40; ++r)
        Repairs().AddRepair(QStringLiteral("Repair description %1").arg(r), false);
    Repairs().BuildOrder(false);
    unsigned seed = 4711;
    const auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    QDate date(1995, 1, 1);
    for (int m = 0; m < events; ++m) {
        date = date.addDays(1 + int(next(5)));
        TvdrMaintRec rec;
        rec.SetCarNbr(kCar);
        rec.SetMaintNbr(m);
        rec.SetDate(date);
        rec.SetMileage(int(m * 50 + next(40)));
        rec.SetCost(next(100000) / 100.0);
        Maint().StoreEvent(rec);
        MaintRepairs().AddLink(kCar, m, qint32(next(40)));
        if (m % 4 == 0)
            MaintNotes().AddNote(kCar, m, QStringLiteral("Note of event %1").arg(m));
    }
    Maint().Save();
    MaintRepairs().Save();
    MaintNotes().Save();
    // Every benchmark sees the tables as loaded from the file, as the program
    // has them, not as the rows were added one by one.
    UnbindTables();
    BindTables(&database->db);
}

QList<QIcon> SortImages() {
    QList<QIcon> images;
    for (int a : {9, 3}) {
        QPixmap glyph(12, 12);
        glyph.fill(Qt::lightGray);
        QPainter painter(&glyph);
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygon({QPoint(3, a), QPoint(6, 12 - a), QPoint(9, a)}));
        painter.end();
        images.append(QIcon(glyph));
    }
    return images;
}

// A shown view of a realistic size, opened on the car sorted by cost, as
// the sorted lists it is measured against are.
std::unique_ptr<TfraMaint> OpenView() {
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintSortColumn), QStringLiteral("2"));
    Options().SetValue(QLatin1String(vdrOptionKeys::MaintSortOrder), QStringLiteral("0"));
    auto view = std::make_unique<TfraMaint>();
    view->resize(640, 480);
    view->show();
    view->SetSortImages(SortImages());
    view->LoadMaint(kCar);
    QCoreApplication::processEvents();
    return view;
}

// The middle half of the mileages, chosen in the filter dialog.
void ApplyMileageFilter(TfraMaint &view) {
    QueueDialogScript([](QDialog &dialog) {
        auto &filter = static_cast<TfrmMaintFilter &>(dialog);
        filter.Form().pgcFilter->setCurrentIndex(TfrmMaintFilter::pgMileage);
        const int count = filter.Form().cboFromMileage->count();
        filter.Form().cboFromMileage->setCurrentIndex(count / 4);
        filter.Form().cboToMileage->setCurrentIndex(3 * count / 4);
        filter.btnOKClick();
    });
    view.ExecuteFilter();
}

void BM_LoadMaint(benchmark::State &state) {
    Select(int(state.range(0)));
    std::unique_ptr<TfraMaint> view = OpenView();
    for (auto _ : state) {
        view->LoadMaint(kCar);
        QCoreApplication::processEvents();
    }
}

void BM_ColumnClick(benchmark::State &state) {
    Select(int(state.range(0)));
    std::unique_ptr<TfraMaint> view = OpenView();
    for (auto _ : state) {
        view->lvwMaintColumnClick(3); // Cost: the direction turns each time
        QCoreApplication::processEvents();
    }
}

void BM_RefreshFiltered(benchmark::State &state) {
    Select(int(state.range(0)));
    std::unique_ptr<TfraMaint> view = OpenView();
    ApplyMileageFilter(*view);
    for (auto _ : state) {
        view->RefreshMaintList(kCar, -1, TvdrMaintSortedList::Ascending, TvdrMaintSortedList::ByCost);
        QCoreApplication::processEvents();
    }
}

void BM_SortedList(benchmark::State &state) {
    Select(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<TvdrMaintSortedList> list =
            Maint().SortedList(kCar, TvdrMaintSortedList::ByCost, TvdrMaintSortedList::Ascending);
        benchmark::DoNotOptimize(list->Count());
    }
}

void BM_SortedListFiltered(benchmark::State &state) {
    const int events = int(state.range(0));
    Select(events);
    const TvdrMileageFilter filter(events * 50 / 4, events * 50 * 3 / 4);
    for (auto _ : state) {
        std::unique_ptr<TvdrMaintSortedList> list =
            Maint().SortedList(kCar, TvdrMaintSortedList::ByCost, TvdrMaintSortedList::Ascending);
        benchmark::DoNotOptimize(list->TotalCost(filter));
    }
}

#define VANDOR_SIZES ->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
// The limits run last: a list built after the view's runs is built faster
// (the heap is warm), so the ratios err on the side of the view costing more.
BENCHMARK(BM_LoadMaint) VANDOR_SIZES;
BENCHMARK(BM_ColumnClick) VANDOR_SIZES;
BENCHMARK(BM_RefreshFiltered) VANDOR_SIZES;
BENCHMARK(BM_SortedList) VANDOR_SIZES;
BENCHMARK(BM_SortedListFiltered) VANDOR_SIZES;

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    TvdrApplication app(argc, argv);
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    PairWith("BM_LoadMaint", "BM_SortedList");
    PairWith("BM_ColumnClick", "BM_SortedList");
    PairWith("BM_RefreshFiltered", "BM_SortedListFiltered");
    return RunBenchmarksWithRatios(argc, argv);
}
