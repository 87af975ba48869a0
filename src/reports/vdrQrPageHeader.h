#pragma once

#include <QString>

class TvdrReport;
class TvdrReportBand;
class TvdrReportLabel;

// The page header every report starts its pages with: today's date on the
// left, the page number on the right, the program's title and the report's
// name centred and bold. The texts come from the language table; the date
// and the page number are taken as each page is laid out.
class TvdrQrPageHeader {
public:
    // Adds the four labels to `band` and takes its hook. `nameKey` is the
    // language key of the report's name, printed at `nameTop`.
    TvdrQrPageHeader(const TvdrReport &report, TvdrReportBand &band, const QString &nameKey, double nameTop);

    void Fill(int pageNumber);

    TvdrReportLabel &qrlRptDate;
    TvdrReportLabel &qrlPageNbr;
    TvdrReportLabel &qrlTitle;
    TvdrReportLabel &qrlRptName;
};
