#include "vdrMaint.h"

#include "vdrSingleton.h"

TvdrMaint::TvdrMaint() : TvdrEntity(QStringLiteral("TvdrMaint")) {
    TvdrSingleton<TvdrMaint>::CheckCreation("Maint");
}

TvdrMaint &Maint() { return TvdrSingleton<TvdrMaint>::Instance(); }
