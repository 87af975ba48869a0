#pragma once

#include "vdrMaintRec.h"

// What narrows a car's maintenance list. Bounds are inclusive at both ends
// and not put in order: with the lower bound above the upper one nothing
// matches. Matches may store today into an event whose date is not set
// (TvdrMaintRec::GetDateTime), and changes nothing else.
class TvdrMaintFilter {
public:
    virtual ~TvdrMaintFilter() = default;
    virtual bool Matches(TvdrMaintRec &rec) const = 0;
};

class TvdrNullFilter : public TvdrMaintFilter {
public:
    bool Matches(TvdrMaintRec &rec) const override;
};

// Bounds are date-time values (days since 30 December 1899).
class TvdrDateFilter : public TvdrMaintFilter {
public:
    TvdrDateFilter(double fromDate, double toDate) : FromDate(fromDate), ToDate(toDate) {}
    bool Matches(TvdrMaintRec &rec) const override;

    double FromDate;
    double ToDate;
};

class TvdrMileageFilter : public TvdrMaintFilter {
public:
    TvdrMileageFilter(qint32 fromMileage, qint32 toMileage)
        : FromMileage(fromMileage), ToMileage(toMileage) {}
    bool Matches(TvdrMaintRec &rec) const override;

    qint32 FromMileage;
    qint32 ToMileage;
};

class TvdrCostFilter : public TvdrMaintFilter {
public:
    TvdrCostFilter(double fromCost, double toCost) : FromCost(fromCost), ToCost(toCost) {}
    bool Matches(TvdrMaintRec &rec) const override;

    double FromCost;
    double ToCost;
};

// Accepts the events that have a link to the repair.
class TvdrRepairFilter : public TvdrMaintFilter {
public:
    explicit TvdrRepairFilter(qint32 repairNbr) : RepairNbr(repairNbr) {}
    bool Matches(TvdrMaintRec &rec) const override;

    qint32 RepairNbr;
};
