#include "vdrImportSteps.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrTableTransaction.h"
#include "vdrUDF.h"

void RunImportSteps(const TvdrImportSteps &steps) {
    const std::pair<const std::function<void()> *, TvdrStringList *> tables[] = {
        {&steps.Cars, &Cars()},        {&steps.Udf, &UDF()},
        {&steps.Repairs, &Repairs()},  {&steps.CarValues, &CarsUDF()},
        {&steps.Events, &Maint()},     {&steps.Links, &MaintRepairs()},
        {&steps.Notes, &MaintNotes()}, {&steps.SortOrders, &SortOrder()},
    };
    InOneTransaction(
        {&Cars(), &UDF(), &Repairs(), &CarsUDF(), &Maint(), &MaintRepairs(), &MaintNotes(), &SortOrder()},
        [&] {
            for (const auto &[step, table] : tables) {
                (*step)();
                // The merge adds descriptions without rebuilding the order each time.
                if (table == &Repairs())
                    Repairs().BuildOrder(Repairs().Descending());
                table->Save();
            }
            steps.Pictures();
        });
}
