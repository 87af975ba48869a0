#include "vdrUDF.h"

#include "vdrSingleton.h"

TvdrUDF::TvdrUDF() : TvdrStringList(QStringLiteral("TvdrUDF")) {
    TvdrSingleton<TvdrUDF>::CheckCreation("UDF");
    SetSorted(true);
}

TvdrUDF &UDF() { return TvdrSingleton<TvdrUDF>::Instance(); }
