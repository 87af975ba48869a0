#pragma once

#include <QString>

class TvdrReport;
class TvdrReportLayout;

// Writes the report as a PDF file: Letter, the report's orientation, its
// title in the document's properties. The file is replaced only when the
// whole document was written. Raises EvdrError naming the file when it
// cannot be written.
void WriteReportPdf(TvdrReport &report, const QString &fileName);
// The same for pages laid out earlier.
void WriteReportLayoutPdf(const TvdrReportLayout &layout, const QString &fileName);
