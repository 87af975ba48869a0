#pragma once

#include "vdrImportMerge.h"

#include <QString>

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

    const TvdrImportMerge &Merge() const { return m_merge; }

private:
    QString m_fileName;
    TvdrImportMerge m_merge;
};
