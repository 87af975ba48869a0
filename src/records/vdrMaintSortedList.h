#pragma once

#include "vdrMaintRec.h"

#include <vector>

class TvdrMaintFilter;

// A private, sorted snapshot of one car's events: later changes to the
// table do not reach it; its owner builds a new one.
class TvdrMaintSortedList {
public:
    enum : quint8 { ByDate = 0, ByMileage = 1, ByCost = 2 };
    enum : quint8 { Ascending = 0, Descending = 1 };

    // Clones the car's events from Maint() and sorts them: SortColumn 0 by
    // date, 1 by mileage, any other by cost; SortDirection 1 descending, any
    // other ascending. Events with equal keys keep ascending MaintNbr order.
    TvdrMaintSortedList(qint32 carNbr, quint8 sortColumn, quint8 sortDirection);

    qint32 CarNbr() const { return m_carNbr; }
    quint8 SortColumn() const { return m_sortColumn; }
    quint8 SortDirection() const { return m_sortDirection; }

    int Count() const { return int(m_items.size()); }
    // The list's own record, 0-based; raises out of range.
    TvdrMaintRec &Items(int index);

    // The sum of the costs of the events `filter` accepts.
    double TotalCost(const TvdrMaintFilter &filter);

private:
    qint32 m_carNbr;
    quint8 m_sortColumn;
    quint8 m_sortDirection;
    std::vector<TvdrMaintRec> m_items;
};
