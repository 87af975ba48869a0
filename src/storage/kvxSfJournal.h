#pragma once

#include "kvxSfPending.h"

#include <QList>
#include <QPair>
#include <QString>

class TkvxSfFile;

// The rollback journal that makes every change of a container all or
// nothing. A change is held in memory (TkvxSfPending) until it commits; then
// the journal beside the database ("<database>-journal") receives the old
// and the new bytes of every region in use that the change will overwrite or
// cut away (TkvxSfJournalImage), first byte last, and reaches the disk with
// its folder. The change is then written and flushed, and zeroing the
// journal's first byte commits it. The writer keeps that journal open, at
// its length (cut back when it grew past 4 MiB), for its next change, which
// then flushes the journal's bytes alone: its name is on the disk already,
// and its length does not change.
// The writer removes it when it closes the database. An open that finds a
// journal puts the old bytes back and cuts the file to its old length: the
// database is as it was before the interrupted change. A journal that is
// empty or begins with a zero byte holds no change and is only removed;
// bytes past the length a journal states are left from a longer one.
//
// A journal cut off while it was written (shorter than it says) means the
// change had not begun: it is only removed. A journal that is damaged, that
// reaches past the format's 2 GiB limit, that is no regular file, or that
// does not belong to the file as it is, is never applied: it is kept aside
// as "<database>-journal.refused" (".refused2", ...), logged, and listed by
// KeptAside until someone removes it.
//
// The database's write lock covers its journal: only the writer touches it.
class TkvxSfJournal {
public:
    static QString FileNameOf(const QString &databaseName);
    // Whether there is anything at the journal's name, a link included.
    static bool Exists(const QString &databaseName);

    // Whether a journal may hold a change: anything at its name but a
    // regular file that is empty or begins with a zero byte.
    static bool HoldsChange(const QString &databaseName);

    // Writes the journal for the change `pending` makes to `database`,
    // covering `regions` (the parts in use before the change that it touches)
    // and makes it durable. `kept` is the journal this writer kept from its
    // last change; it is written again while it is still the file at the
    // journal's name and holds no change. Otherwise the journal is created
    // anew, never through a link, and kept: a file already at its name fails
    // the change. On failure nothing of it is left.
    static void Begin(TkvxSfFile &database, const TkvxSfPending &pending, const QList<TkvxSfRange> &regions,
                      std::unique_ptr<TkvxSfFile> &kept);
    // The change is on the disk: flushes the database and marks the kept
    // journal as holding no change (removes it when none is kept).
    static void Commit(TkvxSfFile &database, std::unique_ptr<TkvxSfFile> &kept);
    // The writer is done with `databaseName`: removes its kept journal if it
    // is still there and holds no change, and closes it.
    static void Release(const QString &databaseName, std::unique_ptr<TkvxSfFile> &kept);

    enum class TOutcome { NoJournal, RolledBack, Removed, KeptAside };
    struct TRecovery {
        TOutcome Outcome = TOutcome::NoJournal;
        QString Message; // a log line for the last two outcomes
    };
    // Deals with a journal of `database`, as above.
    static TRecovery Recover(TkvxSfFile &database);

    // The journals kept aside beside `database`, each with why it would not
    // be applied to the file as it is now.
    static QList<QPair<QString, QString>> KeptAside(const TkvxSfFile &database);

    // Benchmarks measure a change without its journal; nothing else turns
    // it off.
    static void SetEnabled(bool on);
    static bool Enabled();
};
