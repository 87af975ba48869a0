#pragma once

#include <QList>
#include <QStringList>

// One table as the exports write it: its name (the XML section, the TSV
// file's base name), its columns (the XML child elements, the TSV header)
// and its rows, every value already in its written form: numbers in plain
// decimal, dates yyyy-mm-dd, costs with two decimals and the user's decimal
// separator, texts as the tables hold them, sort fields joined by TAB.
struct TvdrExportTable {
    QString Name;
    QStringList Columns;
    QList<QStringList> Rows;
};

// The eight tables in export order (Cars, UDF, CarsUDF, Repairs, Maint,
// MaintRepairs, MaintNotes, SortOrder), rows in table order; the repair
// descriptions ascending, which leaves Repairs() ordered ascending.
QList<TvdrExportTable> ExportTables();

// The column of a sort order's fields.
inline constexpr const char *kSortOrderFieldsColumn = "SortOrderFields";
