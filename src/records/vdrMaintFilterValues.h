#pragma once

#include <QString>

#include <memory>
#include <vector>

class TvdrMaintFilter;
class TvdrMaintSortedList;

// One entry of a range list of the filter dialog: the text shown and the
// smallest and largest value among the events that show that text. Costs
// show with two decimals, so 10.001 and 10.004 share "10.00": a range
// chosen by texts must take in every event that shows them.
struct TvdrFilterValue {
    QString Text;
    double Low = 0;
    double High = 0;
};
using TvdrFilterValues = std::vector<TvdrFilterValue>;

// The range lists of the filter dialog, built from all events of a sorted
// list (whatever filter the view applies): one entry per distinct text,
// ascending by value.
struct TvdrMaintFilterValues {
    TvdrFilterValues Dates;    // short date text; date-time values
    TvdrFilterValues Mileages; // always comma-grouped, whatever the locale
    TvdrFilterValues Costs;    // fixed, two decimals, no grouping

    // Settles an event without a valid date on today (GetDateTime).
    static TvdrMaintFilterValues Of(TvdrMaintSortedList &list);
};

// The range pages of the filter dialog, by page index.
enum class TvdrRangePage { Date = 1, Mileage = 2, Cost = 3 };

// The filter of a range page from the "From" and "To" entries: from the
// lowest value showing `from`'s text to the highest showing `to`'s. Not put
// in order: "From" after "To" accepts nothing.
std::unique_ptr<TvdrMaintFilter> RangeFilter(TvdrRangePage page, const TvdrFilterValue &from,
                                             const TvdrFilterValue &to);
