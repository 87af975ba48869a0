#include "vdrMaintNotes.h"

#include "vdrSingleton.h"

TvdrMaintNotes::TvdrMaintNotes() : TvdrPrefixList(QStringLiteral("TvdrMaintNotes")) {
    TvdrSingleton<TvdrMaintNotes>::CheckCreation("MaintNotes");
}

TvdrMaintNotes &MaintNotes() { return TvdrSingleton<TvdrMaintNotes>::Instance(); }
