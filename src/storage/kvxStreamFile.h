#pragma once

// The stream file container: named, zlib-compressed streams in one file with
// a table of contents at its end. The byte layout is in docs/file-format.md.

#include "kvxSfHeader.h"
#include "kvxSfJournal.h"
#include "kvxSfToc.h"

#include <QByteArray>
#include <QObject>
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
// read-write open anywhere fails with an error; read-only opens share.
//
// Every WriteStream, DeleteStream and Compact is all or nothing: killed at
// any moment, or cut off by a power failure, the file opens afterwards with
// each stream as it was before the change or as it is after it (see
// kvxSfJournal.h). The file format is unchanged by this.
class TkvxStreamFile : public QObject {
public:
    explicit TkvxStreamFile(QObject *owner = nullptr);
    ~TkvxStreamFile() override;

    // Opens an existing file or creates a new one (with its folders). Does
    // nothing when a file is already open. On failure the container stays
    // closed and the error propagates.
    void Open(const QString &fileName, bool readOnly);
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

    // Frees the block of `id` if there is one, then rewrites the TOC.
    void DeleteStream(const QString &id);

    // Rewrites the file without free gaps. The new file is written beside the
    // old one and renamed over it only when complete, so the database is never
    // missing from its place.
    void Compact();

    // A compressed block: 4-byte little-endian length L, then a zlib stream.
    static QByteArray Compress(const QByteArray &data);
    // Raises an error unless `block` holds a zlib stream of exactly L bytes.
    static QByteArray Decompress(const QByteArray &block);

private:
    void Change(const std::function<std::function<void()>(QList<TkvxSfJournal::TRegion> &overwritten)> &plan);
    void RecoverForReading(const QString &fileName);
    void ReadToc();
    void WriteToc();
    void CheckToc(qint64 dataEnd);
    qint64 DataEnd() const;

    std::unique_ptr<TkvxSfFile> m_file;
    QString m_fileName;
    bool m_readOnly = false;
    TkvxSfHeader m_header;
    TkvxSfToc m_toc;
};
