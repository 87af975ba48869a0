// Filling the car view for a car with many user-defined fields, against
// reading the same values from the tables alone.

#include "frCars.h"
#include "kvxStreamFile.h"
#include "vdrApplication.h"
#include "vdrBenchRatios.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrDatabaseTables.h"
#include "vdrFormatSettings.h"
#include "vdrUDF.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

struct TBenchCars {
    QTemporaryDir dir;
    TkvxStreamFile db;
    qint32 car = 0;
};

// One database per field count, bound while the benchmarks run.
TBenchCars &Cars(int fields) {
    static std::map<int, std::unique_ptr<TBenchCars>> made;
    static int bound = -1;
    std::unique_ptr<TBenchCars> &data = made[fields];
    if (!data) {
        data = std::make_unique<TBenchCars>();
        data->db.Open(data->dir.filePath(QStringLiteral("Vandor.dat")), false);
        BindTables(&data->db);
        for (int car = 0; car < 20; ++car)
            ::Cars().NewCar();
        for (int i = 0; i < fields; ++i) {
            const qint32 udf = UDF().AddUdf(i, QStringLiteral("Field number %1").arg(i));
            for (int car = 0; car < 20; car += 2)
                CarsUDF().SetCarValue(car, udf, QStringLiteral("value %1 of car %2").arg(i).arg(car));
        }
        ::Cars().Save();
        UDF().Save();
        CarsUDF().Save();
        data->car = 4;
        bound = fields;
    } else if (bound != fields) {
        BindTables(&data->db);
        bound = fields;
    }
    return *data;
}

void BM_LoadCar(benchmark::State &state) {
    TBenchCars &data = Cars(int(state.range(0)));
    TfraCars view;
    view.resize(600, 400);
    view.show();
    for (auto _ : state)
        view.LoadCar(data.car);
}

void BM_CarValues(benchmark::State &state) {
    TBenchCars &data = Cars(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CarValuesForAllFields(data.car));
}

BENCHMARK(BM_LoadCar)->Arg(50)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CarValues)->Arg(50)->Arg(500)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    TvdrApplication app(argc, argv);
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    PairWith("BM_LoadCar", "BM_CarValues");
    return RunBenchmarksWithRatios(argc, argv);
}
