#pragma once

#include "vdrQrPageHeader.h"
#include "vdrReport.h"

#include <memory>

class TvdrReportLabel;
class TvdrReportShape;

// Every repair description, one per line, in the display order the repair
// descriptions view last chose (ascending or descending).
class TfrmQrRepair : public TvdrReport {
public:
    TfrmQrRepair();

    // Rebuilds the display order in its current direction: an order that a
    // removal of unused descriptions left stale, or that nothing built yet,
    // would name rows that are gone or leave rows out.
    void BeforeGenerate() override;

    TvdrQrPageHeader Header;
    TvdrReportShape &qrsTop;
    TvdrReportLabel &qrlDescriptionColumnHeading;
    TvdrReportShape &qrsBottom;
    TvdrReportLabel &qrlDescription;
};

std::unique_ptr<TfrmQrRepair> CreateRepairReport();
