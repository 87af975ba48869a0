#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class TkvxSfFile;

// The rollback journal that makes every change of a container all or
// nothing. Before a change touches the database, the journal beside it
// ("<database>-journal") receives the database's length and the old bytes of
// every region the change will overwrite (the header, the old TOC block and
// any block the old TOC still counts as in use), and reaches the disk. The
// change is then written and flushed, and removing the journal commits it.
// An open that finds a journal puts the old bytes back and cuts the file to
// its old length: the database is as it was before the interrupted change.
// A journal that is incomplete (the change had not begun) is only removed.
//
// The database's write lock covers its journal: only the writer touches it.
//
// Layout, little-endian: "VDRJRNL1", old length (8 bytes), region count (4),
// then per region offset (8), length (8) and the bytes; last a CRC-32 of
// everything before it (4).
class TkvxSfJournal {
public:
    struct TRegion {
        qint64 Offset = 0;
        qint64 Length = 0;
    };

    static QString FileNameOf(const QString &databaseName);

    // Writes the journal for a change of `database` that overwrites
    // `regions` (parts past the end of the file are left out) and makes it
    // durable.
    static void Begin(TkvxSfFile &database, const QList<TRegion> &regions);
    // The change is on the disk: flushes the database and removes the
    // journal.
    static void Commit(TkvxSfFile &database);
    // Puts back what a journal of `database` holds, if there is a complete
    // one, and removes it. Returns whether the database was rolled back.
    static bool Recover(TkvxSfFile &database);
    static bool Exists(const QString &databaseName);

    // Benchmarks measure a change without its journal; nothing else turns
    // it off.
    static void SetEnabled(bool on);
    static bool Enabled();
};
