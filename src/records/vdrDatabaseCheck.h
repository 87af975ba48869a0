#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TkvxStreamFile;

// One thing wrong in a database file.
struct TvdrCheckProblem {
    QString StreamId;
    int Line = 0; // the row's line in the stream, from 1; 0 for the stream as a whole
    QString Reason;

    // "<StreamId>: <reason>", or "<StreamId> line <n>: <reason>".
    QString AsText() const;
};

// Finds what the tables forgive on load and so never tell: a stream that does
// not inflate (it loads empty), a row that is not of its table's shape (it
// reads as zeros, or a look-up never finds it), a picture whose car has no
// row, a journal kept aside beside the file instead of being applied. Only
// reads, so the container may be open read-only.
class TvdrDatabaseCheck {
public:
    // Whether `streamId` names one of the tables (compared without case).
    static bool IsTable(const QString &streamId);

    // The rows of table `streamId` that do not have its shape, and the
    // repeated keys of a keyed table (a look-up finds only one of them).
    // Nothing for a stream that is no table.
    static QList<TvdrCheckProblem> CheckRows(const QString &streamId, const QStringList &lines);

    // Every stream in use; the problems ordered by stream Id, then line.
    static QList<TvdrCheckProblem> CheckDatabase(TkvxStreamFile &db);
};
