#include "vdrSortOrderList.h"

#include "vdrSortOrder.h"

#include <algorithm>

TvdrSortOrderList::TvdrSortOrderList(TvdrSortOrder &table) {
    TvdrWriteGuard guard(table.Lock());
    if (table.Count() == 0)
        table.AddSortOrder(TvdrSortOrder::DefaultSortOrder());
    const int count = table.Count();
    m_items.resize(size_t(count));
    // Decoded here rather than through SortOrderAt, so the caller's cursor
    // survives building the menu.
    for (int i = 0; i < count; ++i)
        m_items[size_t(i)].Decode(table.Get(i));
    // Stable: sort orders of equal numbers keep the table's (name) order.
    std::stable_sort(
        m_items.begin(), m_items.end(),
        [](const TvdrSortOrderRec &a, const TvdrSortOrderRec &b) { return a.SortOrderNbr < b.SortOrderNbr; });
}

TvdrSortOrderRec *TvdrSortOrderList::Items(int index) {
    return index >= 0 && index < Count() ? &m_items[size_t(index)] : nullptr;
}
