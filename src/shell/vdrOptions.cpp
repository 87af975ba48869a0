#include "vdrOptions.h"

#include "vdrSingleton.h"

TvdrOptions::TvdrOptions() : TvdrEntity(QStringLiteral("TvdrOptions")) {
    TvdrSingleton<TvdrOptions>::CheckCreation("Options");
}

TvdrOptions &Options() { return TvdrSingleton<TvdrOptions>::Instance(); }
