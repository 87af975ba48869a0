#include "vdrImportSteps.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrUDF.h"

void RunImportSteps(const TvdrImportSteps &steps) {
    const std::pair<const std::function<void()> *, TvdrStringList *> tables[] = {
        {&steps.Cars, &Cars()},          {&steps.Udf, &UDF()},          {&steps.Repairs, &Repairs()},
        {&steps.CarValues, &CarsUDF()},  {&steps.Events, &Maint()},     {&steps.Links, &MaintRepairs()},
        {&steps.Notes, &MaintNotes()},   {&steps.SortOrders, &SortOrder()},
    };
    for (const auto &[step, table] : tables) {
        try {
            (*step)();
        } catch (...) {
            // The cars made so far stay in the file, as they would if each
            // new car were saved at once.
            if (table == &Cars())
                Cars().Save();
            throw;
        }
        // The merge adds descriptions without rebuilding the order each time.
        if (table == &Repairs())
            Repairs().BuildOrder(Repairs().Descending());
        table->Save();
    }
    steps.Pictures();
}
