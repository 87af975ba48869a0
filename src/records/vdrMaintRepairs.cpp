#include "vdrMaintRepairs.h"

#include "vdrSingleton.h"

TvdrMaintRepairs::TvdrMaintRepairs() : TvdrPrefixList(QStringLiteral("TvdrMaintRepairs")) {
    TvdrSingleton<TvdrMaintRepairs>::CheckCreation("MaintRepairs");
}

TvdrMaintRepairs &MaintRepairs() { return TvdrSingleton<TvdrMaintRepairs>::Instance(); }
