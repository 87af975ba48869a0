#pragma once

#include "kvxSfFaults.h"
#include "kvxSfStatus.h"
#include "vdrError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

// The container's access to its file: positioned reads and writes, cut,
// flush and the cross-process locks. Every byte the container moves goes
// through here, which keeps the bounds checks in one place.
//
// Two locks between processes. The write lock (flock) is held by the one
// writer for as long as it has the database open. The change lock (a byte
// range lock of its own open file) is shared by readers for as long as they
// read, and taken alone by the writer only while it changes the file; so a
// reader never sees a change half made.
class TkvxSfFile {
public:
    // ReadWrite and Create take the write lock: a second writer gets an error
    // instead of the file. ReadWrite then makes sure the name still leads to
    // the file it locked (another writer's compaction may have renamed a new
    // file over it) and opens again when it does not. Create makes a new
    // database (it must not exist) with owner-only permissions. CreateNew
    // makes a new owner-only file that must not exist, not even as a link,
    // and takes no lock (the database's locks cover its journal). ReadPlain
    // opens a regular file for reading without following a link; anything
    // else is refused.
    enum class Mode { ReadOnly, ReadWrite, Create, CreateNew, ReadPlain };

    TkvxSfFile(const QString &fileName, Mode mode);
    ~TkvxSfFile();
    TkvxSfFile(const TkvxSfFile &) = delete;
    TkvxSfFile &operator=(const TkvxSfFile &) = delete;

    const QString &FileName() const { return m_fileName; }
    qint64 Size() const;
    // Type, identity, size and permissions of the open file.
    TkvxSfStatus Status() const;
    // Whether `fileName` names this open file (and not another one renamed
    // over it, or nothing).
    bool IsAt(const QString &fileName) const;

    // Raises an error unless exactly `length` bytes could be read.
    QByteArray ReadAt(qint64 offset, qint64 length) const;
    void WriteAt(qint64 offset, const QByteArray &bytes);
    // Writes `length` bytes of `source` from `from` here at `offset`, as
    // WriteAt(offset, source.ReadAt(from, length)) would, without passing
    // them through memory of ours.
    void CopyFrom(const TkvxSfFile &source, qint64 from, qint64 length, qint64 offset);
    void Truncate(qint64 length);
    // Data and size reach the disk before this returns.
    void Sync();

    // The change lock: shared for a reader, alone for a writer. Waits up to
    // LockWait() for other processes, then raises "%1 is being changed or
    // read by another process; try again".
    void LockChanges(bool alone);
    void UnlockChanges();
    static void SetLockWait(int milliseconds);
    static int LockWait();

    unsigned Permissions() const;
    void SetPermissions(unsigned mode);

    // A new, empty file with a unique name "<prefix>XXXXXX<suffix>" in
    // `folder`, opened read-write and locked.
    static std::unique_ptr<TkvxSfFile> CreateUnique(const QString &folder, const QString &prefix,
                                                    const QString &suffix);
    // Renames this file over `target` in one step (the target is replaced,
    // never missing), then makes the rename durable; when that flush fails
    // the rename stands and the error propagates. The file stays open.
    void RenameTo(const QString &target);
    // Deletes the file from its folder; it stays open until destroyed.
    void Remove();
    // Deletes a file (a link itself, not its target) by name; false when
    // there was none.
    static bool RemoveFile(const QString &fileName);
    // Renames a file (a link itself) to a name that must not exist yet.
    static void MoveFile(const QString &from, const QString &to);
    // Makes the folder's entries (a created, renamed or removed file)
    // durable; raises when the folder cannot be flushed.
    static void SyncFolderOf(const QString &fileName);

private:
    TkvxSfFile() = default;
    void OpenOnce(int flags);
    void Lock();
    void CheckFault(const QString &what) const;
    [[noreturn]] void Fail(const QString &what) const;
    void WriteAll(qint64 offset, QByteArrayView bytes);
    EvdrError OutsideTheFile(qint64 offset, qint64 length) const;

    QString m_fileName;
    int m_fd = -1;
};
