#pragma once

#include "vdrExport.h"

class QIODevice;

// The whole database as one UTF-8 document, "VandorDB.xml": a declaration,
// the root element, eight table sections of one line per row, every line
// ending in CR LF; then the pictures.
class TvdrExportXML : public TvdrExport {
public:
    using TvdrExport::TvdrExport;

    // Streams the document into a new file beside "VandorDB.xml" and
    // renames it over that name, then writes the pictures.
    void Execute() override;

    // Streams the document to `device`, row by row, as it reads the tables;
    // raises "cannot write <name>: <the device's error>" when a write fails.
    static void WriteDocument(QIODevice &device, const QString &name);

    // & < > " ' and TAB as references; "&" first.
    static QString XmlEscape(const QString &text);

    // The schema address in the root element.
    static QString SchemaLocation();
};
