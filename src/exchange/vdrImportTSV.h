#pragma once

#include "vdrImportMerge.h"

#include <QString>
#include <functional>

// Merges the eight files written by the TSV export, read from one folder,
// into the open database. Values that do not convert take defaults (year
// 2000, today, 0) instead of stopping the import.
class TvdrImportTSV {
public:
    // `folder` ends with a separator or not.
    explicit TvdrImportTSV(const QString &folder);

    // A missing table file raises, naming it; the database is then as it was
    // before.
    void Execute();

    const TvdrImportMerge &Merge() const { return m_merge; }

    // Hands every line after the header to `row`; a line ends at LF or CR
    // LF, a lone CR is dropped, blank lines are skipped. Reads line by line.
    void ReadFile(const QString &name, const std::function<void(const QString &line)> &row) const;

private:
    QString m_folder;
    TvdrImportMerge m_merge;
};
