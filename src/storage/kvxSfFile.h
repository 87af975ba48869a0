#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// The container's access to its file: positioned reads and writes, cut,
// flush and the cross-process write lock. Every byte the container moves goes
// through here, which keeps the bounds checks in one place.
class TkvxSfFile {
public:
    // Replace creates the file or empties it, and takes no lock (the
    // database's lock covers its journal).
    enum class Mode { ReadOnly, ReadWrite, Create, Replace };

    // ReadWrite and Create take the write lock: a second writer gets an error
    // instead of the file. Create makes a new file (it must not exist) with
    // owner-only permissions.
    TkvxSfFile(const QString &fileName, Mode mode);
    ~TkvxSfFile();
    TkvxSfFile(const TkvxSfFile &) = delete;
    TkvxSfFile &operator=(const TkvxSfFile &) = delete;

    const QString &FileName() const { return m_fileName; }
    qint64 Size() const;

    // Raises an error unless exactly `length` bytes could be read.
    QByteArray ReadAt(qint64 offset, qint64 length) const;
    void WriteAt(qint64 offset, const QByteArray &bytes);
    void Truncate(qint64 length);
    // Data and size reach the disk before this returns.
    void Sync();

    unsigned Permissions() const;
    void SetPermissions(unsigned mode);

    // A new, empty file with a unique name "<prefix>XXXXXX<suffix>" in
    // `folder`, opened read-write and locked.
    static std::unique_ptr<TkvxSfFile> CreateUnique(const QString &folder, const QString &prefix,
                                                    const QString &suffix);
    // Renames this file over `target` in one step (the target is replaced,
    // never missing) and makes the rename durable. The file stays open.
    void RenameTo(const QString &target);
    // Deletes the file from its folder; it stays open until destroyed.
    void Remove();
    // Deletes a file by name; false when there was none.
    static bool RemoveFile(const QString &fileName);
    // Makes the folder's entries (a created, renamed or removed file) durable.
    static void SyncFolderOf(const QString &fileName);

private:
    TkvxSfFile() = default;
    void Lock();
    [[noreturn]] void Fail(const QString &what) const;

    QString m_fileName;
    int m_fd = -1;
};

// Raised by the test seam: the process's work stops here, every file left as
// a kill would leave it. Not an EvdrError, so no handler of ordinary
// failures takes it for one.
struct EkvxSfStop {};

// Test seam: every operation that changes a file (create, write, cut, flush,
// rename, remove) is counted across the process. StopAt(k) makes the k-th
// such operation raise EkvxSfStop instead of running; with `torn`, a k-th
// write first writes half of its bytes.
class TkvxSfFaults {
public:
    // Also starts the count anew.
    static void StopAt(qint64 k, bool torn = false);
    // Stops nothing any more; the count goes on.
    static void Reset();
    // Operations counted since the last StopAt.
    static qint64 Count();
    // Without flushes to the disk a stop still leaves what a kill would;
    // only a power cut could tell. For tests that stop thousands of times.
    static void SetFlushing(bool on);
    static bool Flushing();
};
