#pragma once

#include "vdrEntity.h"
#include "vdrSortOrderRec.h"

#include <memory>

class TvdrSortOrderList;

// The sort orders of the car tree, one row each (TvdrSortOrderRec's
// encoding). Once the database is loaded the table keeps its rows sorted by
// whole row text. SortOrderAt and FindSortOrder decode into the table's one
// cursor record; a caller that keeps one copies it (Clone). No operation
// saves. One per process: reach it through SortOrder().
class TvdrSortOrder : public TvdrEntity {
public:
    TvdrSortOrder();

    // Null when `index` is out of range.
    TvdrSortOrderRec *SortOrderAt(int index);
    // The first row whose name equals `name` ignoring letter case; null.
    TvdrSortOrderRec *FindSortOrder(const QString &name);
    void AddSortOrder(const TvdrSortOrderRec &rec);
    std::unique_ptr<TvdrSortOrderList> SortOrderList();
    // Removes the user-defined field from every sort order.
    void RemoveUdfFromSortOrders(qint32 udfNbr);

    // Named by the first line of "SortOrderDirectionsList"; number 0; Year,
    // Make and Model ascending.
    static TvdrSortOrderRec DefaultSortOrder();

    // Sort orders may share a name: no row is found by it alone.
    QString RowKey(const QString &row) const override;

private:
    TvdrSortOrderRec m_cursor;
};

TvdrSortOrder &SortOrder();
