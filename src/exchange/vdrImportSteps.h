#pragma once

#include <functional>

// The order every import follows: each step reads one table's rows from the
// file and that table is saved right after it, before the next step; the
// pictures come last, when every table is saved. The whole import is one
// change of the database (InOneTransaction): a step that fails leaves the
// database, and the tables in memory, as they were before the import.
struct TvdrImportSteps {
    std::function<void()> Cars;
    std::function<void()> Udf;
    std::function<void()> Repairs;
    std::function<void()> CarValues;
    std::function<void()> Events;
    std::function<void()> Links;
    std::function<void()> Notes;
    std::function<void()> SortOrders;
    std::function<void()> Pictures;
};

void RunImportSteps(const TvdrImportSteps &steps);
