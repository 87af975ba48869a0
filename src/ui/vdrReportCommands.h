#pragma once

#include <QString>

class QWidget;
class TvdrReport;

// What the Print, Print preview and Save report as PDF commands do with a
// report once it is made.
namespace vdrReportCommands {

// The modal print preview, with a button that saves the report as PDF.
// A page that fails to paint is written to the log, not shown.
void Preview(TvdrReport &report, QWidget *parent);

// The default printer, without a dialog. Where no printer is set up the
// user is told so and offered the PDF instead. A failure while printing is
// written to the log, not shown.
void Print(TvdrReport &report, QWidget *parent);

// Asks for a file name and writes the report there as PDF; false when the
// user cancelled. `written` names the file. Errors are raised.
bool SaveAsPdf(TvdrReport &report, QWidget *parent, QString &written);

// Whether a printer is set up on this system; tests decide (-1: ask it).
bool HavePrinter();
void SetHavePrinter(int have);

} // namespace vdrReportCommands
