#include "vdrCarComparer.h"

#include "vdrCarRec.h"
#include "vdrCarsUDF.h"
#include "vdrCompareText.h"
#include "vdrSortOrderRec.h"

namespace {

int Sign(int c) {
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace

int CompareByField(const TvdrSortOrderField &field, const TvdrCarRec &a, const TvdrCarRec &b) {
    int c = 0;
    if (field.IsUserDefined())
        c = CompareText(CarsUDF().CarValue(a.CarNbr, field.FieldNbr),
                        CarsUDF().CarValue(b.CarNbr, field.FieldNbr));
    else if (field.FieldNbr == TvdrSortOrderField::Year)
        c = a.Year < b.Year ? -1 : (a.Year > b.Year ? 1 : 0);
    else if (field.FieldNbr == TvdrSortOrderField::Make)
        c = CompareText(a.Make, b.Make);
    else
        c = CompareText(a.Model, b.Model);
    c = Sign(c);
    return field.Direction != 0 ? -c : c;
}

int CompareCars(const TvdrSortOrderRec &order, const TvdrCarRec &a, const TvdrCarRec &b) {
    for (int i = 0; i < order.SortFieldCount(); ++i) {
        const int c = CompareByField(*order.SortFieldAt(i), a, b);
        if (c != 0)
            return c;
    }
    return 0;
}
