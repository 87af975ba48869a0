#pragma once

#include "vdrImportMerge.h"

#include <QString>

class QIODevice;
class TXMLVandorDBType;

// Merges a document written by the XML export (and any well-formed document
// of that shape) into the open database; the pictures come from the
// document's folder.
class TvdrImportXML {
public:
    explicit TvdrImportXML(const QString &fileName);

    // Reads and converts every row and checks every picture first: a
    // document that fails anywhere raises (naming the file, and the element,
    // row and line where it can) and changes nothing. The merge is one change
    // of the database.
    void Execute();
    // Every row of the document, converted; raises as Execute does.
    TvdrImportRows ReadRows() const;
    // The same for the document `device` holds, named `name` in errors; the
    // rows name no picture folder.
    static TvdrImportRows ReadRows(QIODevice &device, const QString &name);

    const TvdrImportMerge &Merge() const { return m_merge; }

private:
    // The document is dropped before the rows are merged.
    static TvdrImportRows RowsOf(const TXMLVandorDBType &doc);

    QString m_fileName;
    TvdrImportMerge m_merge;
};
