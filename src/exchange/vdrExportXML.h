#pragma once

#include "vdrExport.h"

#include <QStringList>

// The whole database as one UTF-8 document, "VandorDB.xml": a declaration,
// the root element, eight table sections of one line per row, every line
// ending in CR LF; then the pictures.
class TvdrExportXML : public TvdrExport {
public:
    using TvdrExport::TvdrExport;

    // Builds the whole document, writes it in one go, then the pictures.
    void Execute() override;
    // The document's lines, as the last Execute built them.
    const QStringList &Lines() const { return m_lines; }

    // & < > " ' and TAB as references; "&" first.
    static QString XmlEscape(const QString &text);

    // The schema address in the root element.
    static QString SchemaLocation();

private:
    QStringList m_lines;
};
