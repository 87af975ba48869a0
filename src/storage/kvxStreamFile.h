#pragma once

// The stream file container: named, zlib-compressed streams in one file with
// a table of contents at its end. The byte layout is in docs/file-format.md.

#include "kvxSfHeader.h"
#include "kvxSfPending.h"
#include "kvxSfToc.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class TkvxSfFile;

// One open file at a time. Destroying the container does not close or compact
// the file: its owner calls Close first. Used from one thread; it has no lock
// of its own (its users lock their own data).
//
// Between processes: a read-write open holds the file for writing, so a second
// read-write open anywhere fails with an error; read-only opens share, and
// hold the file's change lock shared until they close, so the one writer
// waits with each change until they are done (kvxSfFile.h). A reader thus
// reads every stream as one committed state of the file.
//
// Every WriteStream, DeleteStream and Compact is all or nothing: killed at
// any moment, or cut off by a power failure, the file opens afterwards with
// each stream as it was before the change or as it is after it (see
// kvxSfJournal.h). Several writes and deletes become one such change inside
// a transaction (TkvxTransaction). The file format is unchanged by this.
class TkvxStreamFile : public QObject {
public:
    explicit TkvxStreamFile(QObject *owner = nullptr);
    ~TkvxStreamFile() override;

    // Opens an existing file or creates a new one (with its folders). Does
    // nothing when a file is already open. On failure the container stays
    // closed and the error propagates. A read-write open first puts back a
    // change a writer did not complete (see kvxSfJournal.h) and removes what
    // a killed compaction of this file left beside it.
    void Open(const QString &fileName, bool readOnly);
    // Drops a transaction under way.
    void Close();

    bool IsOpen() const;
    bool IsReadOnly() const { return m_readOnly; }
    // The absolute path of the open file; empty when closed.
    QString FileName() const { return m_fileName; }
    const TkvxSfHeader &Header() const { return m_header; }
    const TkvxSfToc &Toc() const { return m_toc; }

    // Inflates stream `id` and writes its bytes into `dest` at dest's current
    // position. Raises "Id (%s) does not exist" for an unknown Id and an error
    // for a damaged block. Does nothing when closed.
    void ReadStream(const QString &id, QIODevice &dest);
    // The same, into a new byte array (empty when closed).
    QByteArray ReadStream(const QString &id);

    // Stores the whole content of `source` (from its start, whatever its
    // position) under `id`, replacing a stream of that Id. Does nothing when
    // closed or when `id` is blank.
    void WriteStream(const QString &id, qint32 tag, QIODevice &source);
    void WriteStream(const QString &id, qint32 tag, const QByteArray &data);

    // The stored block of `id` as it lies in the file (length and zlib data),
    // whether or not it inflates; raises "Id (%s) does not exist".
    QByteArray RawBlock(const QString &id);
    // Stores `block` verbatim under `id`: a copy of another stream's block
    // keeps its bytes even when they are damaged.
    void WriteRawBlock(const QString &id, qint32 tag, const QByteArray &block);

    // Whether writing the block of `id` again, unchanged and with `tag`,
    // would put it where it lies and leave the TOC as it is: a write that
    // would change no byte of the file.
    bool RewriteKeepsPlace(const QString &id, qint32 tag) const;
    // A number that grows whenever the stream `id` is written or deleted,
    // and whenever a change is undone (rolled back, or failed on its way to
    // the file): what a table knows to be in its stream holds only while
    // this stays the same.
    quint64 Version(const QString &id) const;

    // Frees the block of `id` if there is one, then rewrites the TOC.
    void DeleteStream(const QString &id);

    // Rewrites the file without free gaps. The new file
    // "<database>-ksfXXXXXX.tmp" is written beside the old one and renamed
    // over it only when complete, so the database is never missing from its
    // place. Raises inside a transaction.
    void Compact();
    // Commits the transaction under way by compacting: the compacted file
    // holds its changes, and its rename is the one step that brings them,
    // without a journal. The file's bytes are those of a commit followed by
    // Compact. When the compaction fails before its rename, the changes are
    // committed as usual and its error raised.
    void CommitCompacted();

    // Transactions: TkvxTransaction is the way to use them. Between Begin and
    // the outermost Commit, writes and deletes change the TOC and reads in
    // memory only; Commit brings them to the file as one change, Rollback
    // drops them. An inner Begin joins the transaction under way; an inner
    // Rollback drops the whole, and the outer Commit then raises. Begin does
    // nothing on a closed container.
    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction();
    bool InTransaction() const { return m_depth > 0; }

    // Journals found beside the file and kept aside instead of being applied
    // (kvxSfJournal.h), with why each does not fit the file as it is.
    QList<QPair<QString, QString>> KeptAsideJournals() const;

    // A compressed block: 4-byte little-endian length L, then a zlib stream.
    static QByteArray Compress(const QByteArray &data);
    // Raises an error unless `block` holds a zlib stream of exactly L bytes.
    static QByteArray Decompress(const QByteArray &block);

private:
    void OpenForWriting(const QString &fileName);
    void OpenForReading(const QString &fileName);
    void RepairForReading(const QString &fileName);
    void RemoveStaleCompactions() const;
    bool Recover(TkvxSfFile &file) const;
    void Change(const std::function<void()> &plan);
    void Apply(const TkvxSfPending &pending);
    QList<TkvxSfRange> InUseBefore(qint64 originalSize) const;
    std::unique_ptr<TkvxSfFile> WriteCompacted() const;
    void PutInPlace(std::unique_ptr<TkvxSfFile> temp, const std::function<void()> &notRenamed);
    void TakeCompacted(std::unique_ptr<TkvxSfFile> temp);
    void ReadToc();
    void WriteToc();
    void CheckToc(qint64 dataEnd);
    qint64 FileSize() const;
    qint64 DataEnd() const;
    QByteArray ReadBytes(qint64 offset, qint64 length) const;
    void CopyBytes(TkvxSfFile &target, qint64 offset, qint64 length, qint64 to) const;

    std::unique_ptr<TkvxSfFile> m_file;
    // The writer's journal, kept open and empty between changes.
    std::unique_ptr<TkvxSfFile> m_journal;
    QString m_fileName;
    bool m_readOnly = false;
    TkvxSfHeader m_header;
    TkvxSfToc m_toc;

    // The transaction under way: how deep, whether an inner one failed, the
    // changes so far, and the TOC and header it began with.
    int m_depth = 0;
    bool m_failed = false;
    // For Version: a serial per stream written or deleted, the last undo's.
    quint64 m_serial = 0;
    quint64 m_lastUndo = 0;
    QHash<QString, quint64> m_versions;
    bool m_tocChanged = false;
    std::unique_ptr<TkvxSfPending> m_pending;
    TkvxSfToc m_tocBefore;
    TkvxSfHeader m_headerBefore;
};
