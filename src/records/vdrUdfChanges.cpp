#include "vdrUdfChanges.h"

#include "vdrCarsUDF.h"
#include "vdrSortOrder.h"
#include "vdrTableTransaction.h"
#include "vdrUDF.h"

void ApplyUdfChanges(const QList<qint32> &deleted, const QList<TvdrUdfEntry> &entries) {
    InOneTransaction({&UDF(), &CarsUDF(), &SortOrder()}, [&] {
        for (qint32 udfNbr : deleted) {
            UDF().RemoveUdf(udfNbr);
            CarsUDF().RemoveUdfValues(udfNbr);
            SortOrder().RemoveUdfFromSortOrders(udfNbr);
        }
        for (int i = 0; i < entries.size(); ++i) {
            if (entries[i].UdfNbr < 0)
                UDF().AddUdf(i, entries[i].Name);
            else
                UDF().UpdateUdf(entries[i].UdfNbr, i, entries[i].Name);
        }
        SortOrder().Save();
        CarsUDF().Save();
        UDF().Save();
    });
}
