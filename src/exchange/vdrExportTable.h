#pragma once

#include <QStringList>

#include <vector>

class TvdrExportSink;

// One table as the exports write it: its name (the XML section, the TSV
// file's base name), its columns (the XML child elements, the TSV header)
// and what hands its rows, in table order, to a sink: numbers in plain
// decimal, dates yyyy-mm-dd, costs with two decimals and the user's decimal
// separator, texts as the tables hold them, sort fields joined by TAB.
struct TvdrExportTable {
    QString Name;
    QStringList Columns;
    void (*WriteRows)(TvdrExportSink &sink);

    // BeginTable, the rows, EndTable.
    void Write(TvdrExportSink &sink) const;
};

// The eight tables in export order (Cars, UDF, CarsUDF, Repairs, Maint,
// MaintRepairs, MaintNotes, SortOrder). Writing Repairs orders the repair
// descriptions ascending, which leaves Repairs() ordered ascending.
const std::vector<TvdrExportTable> &ExportTables();
