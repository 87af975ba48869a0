#include "vdrCars.h"

#include "vdrSingleton.h"

TvdrCars::TvdrCars() : TvdrEntity(QStringLiteral("TvdrCars")) {
    TvdrSingleton<TvdrCars>::CheckCreation("Cars");
}

TvdrCars &Cars() { return TvdrSingleton<TvdrCars>::Instance(); }
