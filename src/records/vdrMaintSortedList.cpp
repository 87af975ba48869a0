#include "vdrMaintSortedList.h"

#include "vdrError.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"

#include <algorithm>

namespace {

template <class T> int CompareValues(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

TvdrMaintSortedList::TvdrMaintSortedList(qint32 carNbr, quint8 sortColumn, quint8 sortDirection)
    : m_carNbr(carNbr), m_sortColumn(sortColumn), m_sortDirection(sortDirection) {
    TvdrMaint &table = Maint();
    {
        TvdrReadGuard guard(table.Lock());
        for (int i = 0; i < table.Count(); ++i) {
            const TvdrMaintRec *rec = table.EventAt(i);
            if (rec && rec->CarNbr == carNbr)
                m_items.push_back(rec->Clone());
        }
    }
    // An unset date reads as now the first time and as today at midnight
    // after that; settle it once, so the comparison never changes its answer
    // in the middle of the sort. After that the day number orders as the
    // date-time value does.
    for (TvdrMaintRec &item : m_items)
        item.GetDateTime();

    const auto compare = [this](const TvdrMaintRec &a, const TvdrMaintRec &b) {
        switch (m_sortColumn) {
        case ByDate:
            return CompareValues(a.Date, b.Date);
        case ByMileage:
            return CompareValues(a.Mileage, b.Mileage);
        default:
            return CompareValues(a.Cost, b.Cost);
        }
    };
    const bool descending = m_sortDirection == Descending;
    // Stable, so events with equal keys stay in MaintNbr order.
    std::stable_sort(m_items.begin(), m_items.end(), [&](const TvdrMaintRec &a, const TvdrMaintRec &b) {
        const int c = compare(a, b);
        return descending ? c > 0 : c < 0;
    });
}

TvdrMaintRec &TvdrMaintSortedList::Items(int index) {
    if (index < 0 || index >= Count())
        throw EvdrError(QStringLiteral("List index (%1) is out of bounds (%2 events of car %3)")
                            .arg(index)
                            .arg(Count())
                            .arg(m_carNbr));
    return m_items[std::size_t(index)];
}

double TvdrMaintSortedList::TotalCost(const TvdrMaintFilter &filter) {
    double total = 0.0;
    for (TvdrMaintRec &item : m_items) {
        if (filter.Matches(item))
            total += item.Cost;
    }
    return total;
}
