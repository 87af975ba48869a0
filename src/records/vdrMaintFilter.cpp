#include "vdrMaintFilter.h"

#include "vdrMaintRepairs.h"

bool TvdrNullFilter::Matches(TvdrMaintRec &) const {
    return true;
}

bool TvdrDateFilter::Matches(TvdrMaintRec &rec) const {
    const double date = rec.GetDateTime();
    return date >= FromDate && !(date > ToDate);
}

bool TvdrMileageFilter::Matches(TvdrMaintRec &rec) const {
    return rec.Mileage >= FromMileage && rec.Mileage <= ToMileage;
}

bool TvdrCostFilter::Matches(TvdrMaintRec &rec) const {
    return rec.Cost >= FromCost && !(rec.Cost > ToCost);
}

bool TvdrRepairFilter::Matches(TvdrMaintRec &rec) const {
    return MaintRepairs().HasRepair(rec.CarNbr, rec.MaintNbr, RepairNbr);
}
