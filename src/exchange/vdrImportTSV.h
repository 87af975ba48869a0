#pragma once

#include "vdrImportMerge.h"
#include "vdrImportRows.h"

#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

// Merges the eight files written by the TSV export, read from one folder,
// into the open database. Values convert as in the XML import
// (vdrImportValue): a value that does not convert stops the import.
class TvdrImportTSV {
public:
    // `folder` ends with a separator or not.
    explicit TvdrImportTSV(const QString &folder);

    // Merges the eight files, each read and converted when its table's
    // turn comes, so that one file's rows at a time are held beside the
    // tables: a file set that fails anywhere (a file missing, a value that
    // does not convert, a picture that does not decode) raises naming the
    // file, the column, the row and the line, and changes nothing. The
    // merge is one change of the database.
    void Execute();

    const TvdrImportMerge &Merge() const { return m_merge; }

    // The eight files, in the order they are read.
    static const QStringList &FileNames();
    // The rows of file `name` (one of FileNames()) read from `device` into
    // `rows`; raises as Execute does, naming `path`.
    static void ReadTable(const QString &name, QIODevice &device, const QString &path, TvdrImportRows &rows);

    // Hands every line after the header to `row` with its line number (from
    // 1); a line ends at LF or CR LF, a lone CR is dropped, blank lines are
    // skipped. Reads line by line; a line longer than a table row may hold
    // is refused before it is read whole. Errors name `path`.
    static void ReadFile(QIODevice &device, const QString &path,
                         const std::function<void(const QString &line, int lineNumber)> &row);
    // The same for file `name` of the folder.
    void ReadFile(const QString &name,
                  const std::function<void(const QString &line, int lineNumber)> &row) const;

private:
    QString m_folder;
    TvdrImportMerge m_merge;
};
