#include "vdrSortOrder.h"

#include "vdrSingleton.h"

TvdrSortOrder::TvdrSortOrder() : TvdrEntity(QStringLiteral("TvdrSortOrder")) {
    TvdrSingleton<TvdrSortOrder>::CheckCreation("SortOrder");
}

TvdrSortOrder &SortOrder() { return TvdrSingleton<TvdrSortOrder>::Instance(); }
