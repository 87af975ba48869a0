#include "vdrDatabaseTables.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrError.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrStreamDamage.h"
#include "vdrUDF.h"

std::array<TvdrStringList *, 9> DatabaseTables() {
    return {&Options(), &Repairs(), &Maint(),   &MaintRepairs(), &MaintNotes(),
            &Cars(),    &UDF(),     &CarsUDF(), &SortOrder()};
}

void BindTables(TkvxStreamFile *database) {
    ClearDamagedStreams();
    for (TvdrStringList *table : DatabaseTables()) {
        table->SetStreamFile(database);
        table->Load();
    }
    SortOrder().SetSorted(true);
}

void RaiseIfTablesUnreadable() {
    QStringList lines;
    for (const TvdrDamagedStream &damage : DamagedStreams()) {
        QString line = QStringLiteral("table %1 of %2 cannot be read (%3), so nothing was done")
                           .arg(damage.StreamId, damage.FileName, damage.Error);
        if (!damage.KeptAs.isEmpty())
            line += QStringLiteral("; its bytes are kept as %1").arg(damage.KeptAs);
        lines.append(line);
    }
    if (!lines.isEmpty())
        throw EvdrError(lines.join(QLatin1Char('\n')));
}

void UnbindTables() {
    for (TvdrStringList *table : DatabaseTables()) {
        table->SetStreamFile(nullptr);
        table->Clear();
    }
    SortOrder().SetSorted(false);
}

void DetachTables() {
    for (TvdrStringList *table : DatabaseTables())
        table->SetStreamFile(nullptr);
}
