#pragma once

#include "vdrExport.h"

// The whole database as eight tab-separated files ("Cars.tsv" ...), a
// header line and one line per row each, code page 1252, CR LF after every
// line; then the pictures. A sort order's fields are joined by "T", since
// the TAB separates the columns.
class TvdrExportTSV : public TvdrExport {
public:
    using TvdrExport::TvdrExport;

    void Execute() override;
};
