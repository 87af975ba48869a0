#pragma once

#include <QtGlobal>

#include <functional>

// Raised by the test seam: the process's work stops here, every file left as
// a kill would leave it. Not an EvdrError, so no handler of ordinary
// failures takes it for one.
struct EkvxSfStop {};

// Test seam: every operation that changes a file (create, write, cut, flush,
// rename, remove) is counted across the process. StopAt(k) makes the k-th
// such operation raise EkvxSfStop instead of running; with `torn`, a k-th
// write first writes half of its bytes. FailAt(k, error) makes the k-th
// operation fail as the system would with errno `error` (ENOSPC: a full
// disk, EIO: a failing disk).
class TkvxSfFaults {
public:
    // Both also start the counts anew.
    static void StopAt(qint64 k, bool torn = false);
    static void FailAt(qint64 k, int error);
    // Stops and fails nothing any more; the counts go on.
    static void Reset();
    // Operations counted since the last StopAt or FailAt.
    static qint64 Count();
    // Whether a planned stop was raised since the last StopAt or FailAt
    // (Reset keeps it): what follows must leave the files as a kill would.
    static bool Stopped();
    // Flushes of a file or a folder asked for since the last StopAt or
    // FailAt, made or not.
    static qint64 Flushes();
    // Without flushes to the disk a stop still leaves what a kill would;
    // only a power cut could tell. For tests that stop thousands of times.
    static void SetFlushing(bool on);
    static bool Flushing();
    // Runs once, the next time a database is opened for writing, between
    // opening it and taking its lock: where another writer can slip in.
    static void SetBeforeLock(std::function<void()> hook);

    // For the file operations themselves: counts one and says how it goes.
    // A planned stop raises EkvxSfStop here; Tear is only given to writes
    // (`canTear`), which then write half and raise EkvxSfStop themselves.
    enum class TOutcome { Run, Tear, Fail };
    static TOutcome Next(bool canTear, bool isFlush = false);
    // The errno of a planned failure.
    static int FailError();
    static void RunBeforeLock();
};
