#pragma once

#include "vdrSortOrderRec.h"

#include <vector>

class TvdrSortOrder;

// Copies of every sort order, in ascending SortOrderNbr order (the menu
// order). Building it from an empty table first adds the default sort order
// to the table.
class TvdrSortOrderList {
public:
    explicit TvdrSortOrderList(TvdrSortOrder &table);

    int Count() const { return int(m_items.size()); }
    // Null when out of range.
    TvdrSortOrderRec *Items(int index);

private:
    std::vector<TvdrSortOrderRec> m_items;
};
