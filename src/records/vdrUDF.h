#pragma once

#include "vdrStringList.h"

// The user-defined field definitions: rows FormatKey(UdfNbr), TAB,
// FormatKey(SortOrder), TAB, Name. The rows have two orders: by number (the
// list sorted by whole row text) and by position (ascending SortOrder).
// Look-ups and additions switch to number order first; a caller that walks
// the definitions by index for display calls SortBySortOrder right before.
// No operation saves. One per process: reach it through UDF().
class TvdrUDF : public TvdrStringList {
public:
    TvdrUDF();

    // NextUdfNbr(), then the row with the trimmed name.
    qint32 AddUdf(qint32 sortOrder, const QString &name);
    // The row of a number the caller found free by the same rule, for many
    // additions in a row (an import), which NextUdfNbr would walk each time.
    void AddUdfAs(qint32 udfNbr, qint32 sortOrder, const QString &name);
    // The lowest number from 0 that no definition uses before the first gap.
    qint32 NextUdfNbr();
    void RemoveUdf(qint32 udfNbr);
    // Nothing when the number has no row.
    void UpdateUdf(qint32 udfNbr, qint32 sortOrder, const QString &name);
    void SortByNumber();
    void SortBySortOrder();
    QString UdfName(qint32 udfNbr);
    // The lowest number whose name equals `name` ignoring letter case; -1.
    qint32 FindUdf(const QString &name);

    // Whether `name` is stored as it stands, trimming apart: no TAB, line
    // break or NUL (the row would change them into blanks) and nothing the
    // code page cannot hold.
    static bool IsStorableName(const QString &name);

    // Fields of row `index` in the current order.
    qint32 UdfNbrAt(int index) const;
    qint32 UdfSortOrderAt(int index) const;
    QString NameAt(int index) const;

    // A field number and a position (which may be negative) lead the row.
    QString RowProblem(const QString &row) const override;

private:
    // The row index of `udfNbr` in number order, or -1.
    int IndexOfUdf(qint32 udfNbr);
};

TvdrUDF &UDF();
