#pragma once

class QPagedPaintDevice;
class QPainter;
class TvdrReport;
class TvdrReportLayout;
struct TvdrReportPage;

// Printing a report on any paged device: a printer, a print preview's
// printer, a PDF writer. The layout is in pixels at 96 per inch, whatever the
// device; painting scales it to the device's resolution.

// Sets the device to Letter paper, the report's orientation and half-inch
// margins. A print preview's printer gets this before the preview opens, so
// that it shows the right orientation.
void PrepareReportDevice(const TvdrReport &report, QPagedPaintDevice &device);

// Sets the device up as PrepareReportDevice does (the report's paper and
// orientation win over the device's), lays the report out (running its
// hooks) and paints every page on it. Raises EvdrError when painting on the
// device cannot begin or a new page cannot be started.
void PaintReport(TvdrReport &report, QPagedPaintDevice &device);

// Paints pages laid out earlier; the device keeps its own page setup.
void PaintReportLayout(const TvdrReportLayout &layout, QPagedPaintDevice &device);

// One page on a painter whose units are 96-dpi pixels and whose origin is
// the top left corner of the printable area.
void PaintReportPage(QPainter &painter, const TvdrReportPage &page);
