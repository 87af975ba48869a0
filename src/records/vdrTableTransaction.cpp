#include "vdrTableTransaction.h"

#include "kvxSfFaults.h"
#include "kvxStreamFile.h"
#include "kvxTransaction.h"
#include "vdrDatabaseTables.h"
#include "vdrStringList.h"

namespace {

void Reload(std::initializer_list<TvdrStringList *> tables, TkvxStreamFile &file) {
    // A container closed by a failure would load every table empty.
    if (!file.IsOpen())
        return;
    for (TvdrStringList *table : tables)
        ReloadTable(*table);
}

} // namespace

void InOneTransaction(std::initializer_list<TvdrStringList *> tables, const std::function<void()> &work) {
    TkvxStreamFile *file = nullptr;
    for (TvdrStringList *table : tables)
        if (!file)
            file = table->StreamFile();
    if (!file || !file->IsOpen()) {
        work();
        return;
    }
    try {
        TkvxTransaction transaction(*file);
        work();
        transaction.Commit();
    } catch (const EkvxSfStop &) {
        // A kill in a test: nothing more happens in this process.
        throw;
    } catch (...) {
        Reload(tables, *file);
        throw;
    }
}
