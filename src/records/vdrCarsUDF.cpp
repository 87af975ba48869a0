#include "vdrCarsUDF.h"

#include "vdrSingleton.h"

TvdrCarsUDF::TvdrCarsUDF() : TvdrPrefixList(QStringLiteral("TvdrCarsUDF")) {
    TvdrSingleton<TvdrCarsUDF>::CheckCreation("CarsUDF");
}

TvdrCarsUDF &CarsUDF() { return TvdrSingleton<TvdrCarsUDF>::Instance(); }
