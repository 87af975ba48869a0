#pragma once

#include "vdrExport.h"

class QIODevice;
struct TvdrExportTable;

// The whole database as eight tab-separated files ("Cars.tsv" ...), a
// header line and one line per row each, code page 1252, CR LF after every
// line; then the pictures. A sort order's fields are joined by "T", since
// the TAB separates the columns.
class TvdrExportTSV : public TvdrExport {
public:
    using TvdrExport::TvdrExport;

    // Streams each file into a new file beside its name and renames it over
    // that name, then writes the pictures.
    void Execute() override;

    // Streams the file of `table` (one of ExportTables()) to `device`;
    // raises "cannot write <name>: <the device's error>" when a write fails.
    static void WriteFile(const TvdrExportTable &table, QIODevice &device, const QString &name);
};
