#pragma once

#include <QString>

class QWidget;

// The File > Export and File > Import commands: the folder or file is asked
// for, the work runs in the background (RunInBackground), and a sentence
// for the status bar says what was written or merged. An export that left
// out pictures which do not decode warns, naming their cars, once the rest
// is written. Each returns false
// when the user cancelled the dialog; errors of the export or import are
// raised, as the exporters and importers raise them.
namespace vdrExchangeCommands {

bool ExportXML(QWidget *parent, QString &done);
bool ExportTSV(QWidget *parent, QString &done);
// True only when the import ran to its end: the caller rebuilds the tree.
bool ImportXML(QWidget *parent, QString &done);
bool ImportTSV(QWidget *parent, QString &done);

} // namespace vdrExchangeCommands
