#include "vdrRepairs.h"

#include "vdrSingleton.h"

TvdrRepairs::TvdrRepairs() : TvdrEntity(QStringLiteral("TvdrRepairs")) {
    TvdrSingleton<TvdrRepairs>::CheckCreation("Repairs");
}

TvdrRepairs &Repairs() { return TvdrSingleton<TvdrRepairs>::Instance(); }
