#pragma once

class TvdrCarRec;
class TvdrSortOrderField;
class TvdrSortOrderRec;

// The order of two cars under a sort order: its fields in turn, the first
// that differs decides (< 0, 0, > 0). Year compares as a number; Make, Model
// and user-defined values (CarsUDF(), empty when absent) as text ignoring
// letter case; a descending field negates its result.
int CompareCars(const TvdrSortOrderRec &order, const TvdrCarRec &a, const TvdrCarRec &b);
int CompareByField(const TvdrSortOrderField &field, const TvdrCarRec &a, const TvdrCarRec &b);
