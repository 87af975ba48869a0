#pragma once

#include "vdrImportMerge.h"

#include <QString>

// Merges a document written by the XML export (and any well-formed document
// of that shape) into the open database; the pictures come from the
// document's folder.
class TvdrImportXML {
public:
    explicit TvdrImportXML(const QString &fileName);

    // Raises with the parser's message or a conversion error, naming the
    // file; the database is then as it was before.
    void Execute();

    const TvdrImportMerge &Merge() const { return m_merge; }

private:
    QString m_fileName;
    TvdrImportMerge m_merge;
};
