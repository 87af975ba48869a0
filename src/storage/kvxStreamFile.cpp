#include "kvxStreamFile.h"

#include "kvxSfFile.h"
#include "kvxSfJournal.h"
#include "kvxTransaction.h"
#include "vdrError.h"
#include "vdrLimits.h"
#include "vdrStreamDamage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QtEndian>

#include <cstring>
#include <dirent.h>
#include <exception>
#include <fcntl.h>
#include <libdeflate.h>
#include <new>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr qint64 kHeaderSize = TkvxSfHeader::Size;

QString ZlibError(int code, const z_stream &zs) {
    return QStringLiteral("zlib error %1 (%2)")
        .arg(code)
        .arg(QString::fromLatin1(zs.msg ? zs.msg : zError(code)));
}

QByteArray ReadWholeDevice(QIODevice &source) {
    const qint64 position = source.pos();
    if (!source.seek(0))
        throw EvdrError(QStringLiteral("cannot rewind the stream to store"));
    QByteArray data = source.readAll();
    source.seek(position);
    return data;
}

// Holds a file's change lock for a scope.
class TChangeLock {
public:
    TChangeLock(TkvxSfFile &file, bool alone) : m_file(file) { m_file.LockChanges(alone); }
    ~TChangeLock() { m_file.UnlockChanges(); }
    TChangeLock(const TChangeLock &) = delete;
    TChangeLock &operator=(const TChangeLock &) = delete;

private:
    TkvxSfFile &m_file;
};

QString CompactionPrefix(const QString &fileName) {
    return QFileInfo(fileName).fileName() + QStringLiteral("-ksf");
}

const QString kCompactionSuffix = QStringLiteral(".tmp");

// The files of `folder` named as a compaction names its new file. Read with
// readdir: every open for writing looks, and a listing through QDir costs
// more than the rest of a small open.
QStringList CompactionLeftovers(const QString &folder, const QString &prefix) {
    const QByteArray head = QFile::encodeName(prefix);
    const QByteArray tail = QFile::encodeName(kCompactionSuffix);
    QStringList names;
    // Read straight into a buffer of ours: every open scans the folder, and
    // opendir would allocate one of 32 KiB each time.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return names;
    alignas(dirent64) char buffer[4096];
    for (;;) {
        const ssize_t got = ::getdents64(dir, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto *entry = reinterpret_cast<const dirent64 *>(buffer + at);
            at += entry->d_reclen;
            const QByteArrayView name(entry->d_name, qsizetype(std::strlen(entry->d_name)));
            if (name.size() == head.size() + 6 + tail.size() && name.startsWith(head) &&
                name.endsWith(tail) &&
                QFileInfo(folder + QLatin1Char('/') + QFile::decodeName(name.toByteArray())).isFile())
                names.append(QFile::decodeName(name.toByteArray()));
        }
    }
    ::close(dir);
    return names;
}

// libdeflate's decompressor is reusable but not shareable between threads.
libdeflate_decompressor *Decompressor() {
    struct TOwner {
        libdeflate_decompressor *d = libdeflate_alloc_decompressor();
        ~TOwner() { libdeflate_free_decompressor(d); }
    };
    thread_local TOwner owner;
    if (!owner.d)
        throw std::bad_alloc();
    return owner.d;
}

// Inflates the zlib data of `block` into `data`, sized to the block's length
// L, and raises with what is wrong unless they make exactly L bytes.
void InflateWithZlib(const QByteArray &block, QByteArray &data) {
    const auto length = qint32(data.size());
    z_stream zs{};
    int rc = inflateInit(&zs);
    if (rc != Z_OK)
        throw EvdrError(ZlibError(rc, zs));
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(block.constData() + 4));
    zs.avail_in = uInt(block.size() - 4);
    // One spare byte reveals data that inflates to more than L bytes.
    char spare = 0;
    zs.next_out = reinterpret_cast<Bytef *>(length > 0 ? data.data() : &spare);
    zs.avail_out = uInt(length > 0 ? length : 1);
    rc = inflate(&zs, Z_FINISH);
    if (rc == Z_BUF_ERROR && zs.avail_out == 0 && length > 0) {
        zs.next_out = reinterpret_cast<Bytef *>(&spare);
        zs.avail_out = 1;
        rc = inflate(&zs, Z_FINISH);
    }
    const uLong produced = zs.total_out;
    const QString error = rc == Z_STREAM_END ? QString() : ZlibError(rc, zs);
    inflateEnd(&zs);
    if (rc == Z_STREAM_END && produced == uLong(length))
        return;
    if (rc == Z_STREAM_END)
        throw EvdrError(
            QStringLiteral("damaged block: it inflates to %1 bytes, not %2").arg(produced).arg(length));
    if (rc == Z_BUF_ERROR && produced < uLong(length))
        throw EvdrError(
            QStringLiteral("damaged block: its data end after %1 of %2 bytes").arg(produced).arg(length));
    if (rc == Z_BUF_ERROR)
        throw EvdrError(QStringLiteral("damaged block: it inflates to more than %1 bytes").arg(length));
    throw EvdrError(QStringLiteral("damaged block: %1").arg(error));
}

} // namespace

TkvxStreamFile::TkvxStreamFile(QObject *owner) : QObject(owner) {}

TkvxStreamFile::~TkvxStreamFile() {
    // Closed or not, the writer's kept journal goes with it; a container
    // stopped by the test seam leaves its files as a kill would.
    if (TkvxSfFaults::Stopped())
        return;
    try {
        TkvxSfJournal::Release(m_fileName, m_journal);
    } catch (...) {
    }
}

bool TkvxStreamFile::IsOpen() const {
    return m_file != nullptr;
}

qint64 TkvxStreamFile::FileSize() const {
    return m_pending ? m_pending->Size() : m_file->Size();
}

qint64 TkvxStreamFile::DataEnd() const {
    return FileSize() - m_header.TocSize;
}

QByteArray TkvxStreamFile::ReadBytes(qint64 offset, qint64 length) const {
    return m_pending ? m_pending->ReadAt(*m_file, offset, length) : m_file->ReadAt(offset, length);
}

void TkvxStreamFile::CopyBytes(TkvxSfFile &target, qint64 offset, qint64 length, qint64 to) const {
    // Bytes the file still holds go from file to file in the kernel.
    if (m_pending && !m_pending->LeavesAlone(offset, length))
        target.WriteAt(to, ReadBytes(offset, length));
    else
        target.CopyFrom(*m_file, offset, length, to);
}

void TkvxStreamFile::Open(const QString &fileName, bool readOnly) {
    if (IsOpen())
        return;
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    try {
        if (QFileInfo::exists(absolute)) {
            if (readOnly)
                OpenForReading(absolute);
            else
                OpenForWriting(absolute);
            ReadToc();
        } else {
            if (readOnly)
                throw EvdrError("can not create file in readonly mode");
            if (!QDir().mkpath(QFileInfo(absolute).absolutePath()))
                throw EvdrError(QStringLiteral("cannot create the folder of %1").arg(absolute));
            // A journal without its database belongs to no file of ours; left
            // there, it would stand in the way of the first change.
            TkvxSfFile::RemoveFile(TkvxSfJournal::FileNameOf(absolute));
            m_file = std::make_unique<TkvxSfFile>(absolute, TkvxSfFile::Mode::Create);
            m_fileName = absolute;
            m_readOnly = false;
            m_toc.Clear();
            m_header.TocSize = 0;
            m_header.WriteTo(*m_file);
            m_file->Sync();
        }
    } catch (...) {
        Close();
        throw;
    }
}

void TkvxStreamFile::OpenForWriting(const QString &fileName) {
    m_file = std::make_unique<TkvxSfFile>(fileName, TkvxSfFile::Mode::ReadWrite);
    m_fileName = fileName;
    m_readOnly = false;
    RemoveStaleCompactions();
    if (TkvxSfJournal::Exists(fileName)) {
        TChangeLock lock(*m_file, true);
        Recover(*m_file);
    }
}

// Readers hold the change lock shared from here to Close, so no change
// begins while they read. A journal left by a writer that died is put back
// before anyone reads; a live writer puts its own back.
void TkvxStreamFile::OpenForReading(const QString &fileName) {
    for (int attempt = 0;; ++attempt) {
        m_file = std::make_unique<TkvxSfFile>(fileName, TkvxSfFile::Mode::ReadOnly);
        m_file->LockChanges(false);
        if (!m_file->IsAt(fileName)) {
            // A compaction renamed a new file over the one opened.
            m_file.reset();
            if (attempt == 20)
                throw EvdrError(QStringLiteral("%1 keeps being replaced while it is opened").arg(fileName));
            continue;
        }
        if (attempt >= 2 || !TkvxSfJournal::HoldsChange(fileName))
            break;
        m_file.reset();
        RepairForReading(fileName);
    }
    m_fileName = fileName;
    m_readOnly = true;
}

void TkvxStreamFile::RepairForReading(const QString &fileName) {
    std::unique_ptr<TkvxSfFile> writer;
    try {
        writer = std::make_unique<TkvxSfFile>(fileName, TkvxSfFile::Mode::ReadWrite);
    } catch (const EvdrError &e) {
        if (e.Message().contains(QLatin1String("opened for writing by another process")))
            return;
        throw EvdrError(
            QStringLiteral("%1 must be repaired from its journal first, which needs write access: %2")
                .arg(fileName, e.Message()));
    }
    TChangeLock lock(*writer, true);
    Recover(*writer);
}

// Logs what it did; true when the file was put back.
bool TkvxStreamFile::Recover(TkvxSfFile &file) const {
    const TkvxSfJournal::TRecovery recovery = TkvxSfJournal::Recover(file);
    if (!recovery.Message.isEmpty())
        WriteStorageLog(recovery.Message);
    return recovery.Outcome == TkvxSfJournal::TOutcome::RolledBack;
}

// A compaction killed before its rename leaves a file as large as the
// database; only the holder of the write lock compacts, so any such file of
// this database is left over.
void TkvxStreamFile::RemoveStaleCompactions() const {
    const QDir folder = QFileInfo(m_fileName).absoluteDir();
    for (const QString &name : CompactionLeftovers(folder.absolutePath(), CompactionPrefix(m_fileName))) {
        try {
            TkvxSfFile::RemoveFile(folder.filePath(name));
            WriteStorageLog(QStringLiteral("removed %1, left by a compaction that did not complete")
                                .arg(folder.filePath(name)));
        } catch (const EvdrError &e) {
            WriteStorageLog(e.Message());
        }
    }
}

void TkvxStreamFile::Close() {
    // Still under the write lock: no other writer can have made a journal.
    TkvxSfJournal::Release(m_fileName, m_journal);
    m_file.reset();
    m_fileName.clear();
    m_readOnly = false;
    m_toc.Clear();
    m_header.TocSize = 0;
    m_depth = 0;
    m_failed = false;
    m_tocChanged = false;
    m_pending.reset();
    // The next file opened is another: nothing known of this one holds.
    m_versions.clear();
    m_lastUndo = ++m_serial;
}

QList<QPair<QString, QString>> TkvxStreamFile::KeptAsideJournals() const {
    if (!IsOpen())
        return {};
    return TkvxSfJournal::KeptAside(*m_file);
}

void TkvxStreamFile::ReadToc() {
    const qint64 size = m_file->Size();
    if (size < kHeaderSize)
        throw EvdrError(QStringLiteral("%1 is damaged: it is %2 bytes long, too short for a header")
                            .arg(m_fileName)
                            .arg(size));
    m_header.ReadFrom(*m_file);
    if (m_header.TocSize < 0 || m_header.TocSize > size - kHeaderSize)
        throw EvdrError(QStringLiteral("%1 is damaged: its table of contents (%2 bytes) does not fit "
                                       "a file of %3 bytes")
                            .arg(m_fileName)
                            .arg(m_header.TocSize)
                            .arg(size));
    m_toc.Clear();
    if (m_header.TocSize == 0)
        return;
    const QByteArray block = m_file->ReadAt(size - m_header.TocSize, m_header.TocSize);
    m_toc.FromText(Decompress(block));
    CheckToc(size - m_header.TocSize);
}

// A TOC whose entries leave the data region or overlap would make the next
// write overwrite live blocks, so such a file is refused as damaged. Empty
// free records cover nothing and are dropped.
void TkvxStreamFile::CheckToc(qint64 dataEnd) {
    qint64 previousEnd = kHeaderSize;
    for (int i = 0; i < m_toc.Count(); ++i) {
        const TkvxSfTocEntry &e = m_toc.Entry(i);
        if (e.Free && e.Size == 0 && e.Id.isEmpty())
            continue;
        if (e.Size < 0 || e.Offset < previousEnd || e.Offset + qint64(e.Size) > dataEnd ||
            (!e.Free && e.Id.isEmpty()))
            throw EvdrError(QStringLiteral("%1 is damaged: entry %2 of its table of contents "
                                           "(offset %3, size %4) lies outside the data region or "
                                           "overlaps another")
                                .arg(m_fileName)
                                .arg(i)
                                .arg(e.Offset)
                                .arg(e.Size));
        previousEnd = e.Offset + qint64(e.Size);
    }
    m_toc.DropEmptyGaps();
}

void TkvxStreamFile::WriteToc() {
    const QByteArray block = Compress(m_toc.AsText());
    const qint64 tocStart = DataEnd();
    m_pending->Truncate(tocStart);
    m_pending->WriteAt(tocStart, block);
    m_header.TocSize = qint32(block.size());
    m_pending->WriteAt(0, m_header.Encode());
}

void TkvxStreamFile::ReadStream(const QString &id, QIODevice &dest) {
    if (!IsOpen())
        return;
    const TkvxSfTocEntry &entry = m_toc.EntryById(id);
    const QByteArray data = Decompress(ReadBytes(entry.Offset, entry.Size));
    if (dest.write(data) != data.size())
        throw EvdrError(QStringLiteral("cannot take the bytes of stream %1").arg(id));
}

QByteArray TkvxStreamFile::ReadStream(const QString &id) {
    if (!IsOpen())
        return {};
    const TkvxSfTocEntry &entry = m_toc.EntryById(id);
    return Decompress(ReadBytes(entry.Offset, entry.Size));
}

void TkvxStreamFile::WriteStream(const QString &id, qint32 tag, QIODevice &source) {
    if (!IsOpen() || TrimTocId(id).isEmpty())
        return;
    WriteStream(id, tag, ReadWholeDevice(source));
}

void TkvxStreamFile::WriteStream(const QString &id, qint32 tag, const QByteArray &data) {
    if (!IsOpen() || TrimTocId(id).isEmpty())
        return;
    if (data.size() > vdrLimits::kMaxStreamBytes)
        throw EvdrError(QStringLiteral("stream %1 would hold %2 bytes, more than the %3 a stream may hold")
                            .arg(TrimTocId(id))
                            .arg(data.size())
                            .arg(vdrLimits::kMaxStreamBytes));
    // Compressed before anything in the file or the TOC changes.
    WriteRawBlock(id, tag, Compress(data));
}

QByteArray TkvxStreamFile::RawBlock(const QString &id) {
    if (!IsOpen())
        return {};
    const TkvxSfTocEntry &entry = m_toc.EntryById(id);
    return ReadBytes(entry.Offset, entry.Size);
}

void TkvxStreamFile::WriteRawBlock(const QString &id, qint32 tag, const QByteArray &block) {
    const QString trimmed = TrimTocId(id);
    if (!IsOpen() || trimmed.isEmpty())
        return;
    if (m_readOnly)
        throw EvdrError(QStringLiteral("%1 is open read-only").arg(m_fileName));
    CheckTocId(trimmed);
    if (DataEnd() + block.size() + 4096 > kKvxMaxFileSize)
        throw EvdrError(QStringLiteral("%1 cannot grow beyond 2 GiB").arg(m_fileName));
    const auto size = qint32(block.size());

    Change([&] {
        m_toc.Release(trimmed);
        const int index = m_toc.FindFree(size);
        if (index >= 0) {
            TkvxSfTocEntry &entry = m_toc.Entry(index);
            entry.Id = trimmed;
            entry.Tag = tag;
            entry.Free = false;
            m_pending->WriteAt(entry.Offset, block);
            return;
        }
        const qint64 end = DataEnd();
        m_toc.AddEntry(qint32(end), size, trimmed, false, tag);
        m_pending->Truncate(end);
        m_pending->WriteAt(end, block);
        m_header.TocSize = 0;
    });
    m_versions.insert(trimmed.toCaseFolded(), ++m_serial);
}

quint64 TkvxStreamFile::Version(const QString &id) const {
    return qMax(m_lastUndo, m_versions.value(TrimTocId(id).toCaseFolded()));
}

bool TkvxStreamFile::RewriteKeepsPlace(const QString &id, qint32 tag) const {
    const QString trimmed = TrimTocId(id);
    if (!IsOpen() || m_readOnly || !m_toc.Exists(trimmed))
        return false;
    // The placement WriteRawBlock makes, tried on a copy: the freed block
    // may join a gap before it, or a gap further ahead may fit first.
    TkvxSfToc toc = m_toc;
    const TkvxSfTocEntry &entry = m_toc.Entry(m_toc.IndexOfId(trimmed));
    if (entry.Tag != tag || entry.Id != trimmed)
        return false; // a write would store the new tag or spelling
    toc.Release(trimmed);
    const int index = toc.FindFree(entry.Size);
    return index >= 0 && toc.Entry(index).Offset == entry.Offset;
}

// One write or delete: changes the TOC and the transaction's bytes in
// memory; the TOC is written anew once, when the transaction commits (each
// write would only cut away the one before). Alone it is a transaction of
// its own; a failure leaves the transaction as it was before it.
void TkvxStreamFile::Change(const std::function<void()> &plan) {
    TkvxTransaction transaction(*this);
    const TkvxSfToc toc = m_toc;
    const TkvxSfHeader header = m_header;
    const TkvxSfPending pending = *m_pending;
    try {
        plan();
        m_tocChanged = true;
    } catch (...) {
        m_toc = toc;
        m_header = header;
        *m_pending = pending;
        throw;
    }
    transaction.Commit();
}

void TkvxStreamFile::DeleteStream(const QString &id) {
    if (!IsOpen())
        return;
    if (m_readOnly)
        throw EvdrError(QStringLiteral("%1 is open read-only").arg(m_fileName));
    Change([&] { m_toc.Release(id); });
    m_versions.insert(TrimTocId(id).toCaseFolded(), ++m_serial);
}

void TkvxStreamFile::BeginTransaction() {
    if (!IsOpen())
        return;
    if (m_depth++ > 0)
        return;
    m_failed = false;
    m_tocChanged = false;
    m_tocBefore = m_toc;
    m_headerBefore = m_header;
    m_pending = std::make_unique<TkvxSfPending>(m_file->Size());
}

void TkvxStreamFile::RollbackTransaction() {
    if (m_depth == 0)
        return;
    m_lastUndo = ++m_serial;
    m_toc = m_tocBefore;
    m_header = m_headerBefore;
    if (--m_depth > 0) {
        // The transaction is lost as a whole; what follows inside it is
        // dropped with it.
        m_failed = true;
        m_pending = std::make_unique<TkvxSfPending>(m_pending->OriginalSize());
        return;
    }
    m_failed = false;
    m_tocChanged = false;
    m_pending.reset();
}

void TkvxStreamFile::CommitTransaction() {
    if (m_depth == 0)
        return;
    if (m_failed) {
        RollbackTransaction();
        throw EvdrError(QStringLiteral("the change of %1 was undone by an error inside it").arg(m_fileName));
    }
    if (--m_depth > 0)
        return;
    if (m_tocChanged) {
        try {
            WriteToc();
        } catch (...) {
            ++m_depth;
            RollbackTransaction();
            throw;
        }
    }
    const std::unique_ptr<TkvxSfPending> pending = std::move(m_pending);
    if (pending->IsEmpty())
        return;
    try {
        Apply(*pending);
    } catch (const EkvxSfStop &) {
        throw;
    } catch (...) {
        m_lastUndo = ++m_serial;
        if (IsOpen()) {
            m_toc = m_tocBefore;
            m_header = m_headerBefore;
        }
        throw;
    }
}

// The parts of the file in use when the transaction began: what a journal
// must be able to put back.
QList<TkvxSfRange> TkvxStreamFile::InUseBefore(qint64 originalSize) const {
    QList<TkvxSfRange> inUse = {{0, kHeaderSize}};
    if (m_headerBefore.TocSize > 0)
        inUse.append({originalSize - m_headerBefore.TocSize, m_headerBefore.TocSize});
    for (int i = 0; i < m_tocBefore.Count(); ++i) {
        const TkvxSfTocEntry &e = m_tocBefore.Entry(i);
        if (!e.Free)
            inUse.append({e.Offset, e.Size});
    }
    return MergeRanges(inUse);
}

// A stop (the test seam's kill) leaves the change lock held, as a killed
// process holds it until its files close.
void TkvxStreamFile::Apply(const TkvxSfPending &pending) {
    m_file->LockChanges(true);
    std::exception_ptr failure;
    bool restored = false;
    try {
        if (TkvxSfJournal::Enabled())
            TkvxSfJournal::Begin(*m_file, pending,
                                 IntersectRanges(InUseBefore(pending.OriginalSize()), pending.Touched()),
                                 m_journal);
    } catch (const EkvxSfStop &) {
        throw;
    } catch (...) {
        m_file->UnlockChanges();
        throw;
    }
    try {
        pending.ApplyTo(*m_file);
        if (TkvxSfJournal::Enabled())
            TkvxSfJournal::Commit(*m_file, m_journal);
        m_file->UnlockChanges();
        return;
    } catch (const EkvxSfStop &) {
        throw;
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        restored = TkvxSfJournal::Enabled() && Recover(*m_file);
    } catch (const EkvxSfStop &) {
        throw;
    } catch (...) {
        restored = false;
    }
    m_file->UnlockChanges();
    // Not put back now, the file is left to the journal and the next open.
    if (!restored)
        Close();
    std::rethrow_exception(failure);
}

void TkvxStreamFile::Compact() {
    if (!IsOpen())
        return;
    if (m_readOnly)
        throw EvdrError(QStringLiteral("%1 is open read-only").arg(m_fileName));
    if (m_depth > 0)
        throw EvdrError(QStringLiteral("%1 cannot be compacted while a change is under way").arg(m_fileName));
    PutInPlace(WriteCompacted(), {});
}

void TkvxStreamFile::CommitCompacted() {
    if (!IsOpen())
        return;
    if (m_depth != 1 || m_failed || m_readOnly) {
        CommitTransaction();
        Compact();
        return;
    }
    std::unique_ptr<TkvxSfFile> temp;
    try {
        temp = WriteCompacted();
    } catch (const EkvxSfStop &) {
        throw;
    } catch (...) {
        // The changes are not lost with the compaction.
        CommitTransaction();
        throw;
    }
    PutInPlace(std::move(temp), [this] { CommitTransaction(); });
}

std::unique_ptr<TkvxSfFile> TkvxStreamFile::WriteCompacted() const {
    std::unique_ptr<TkvxSfFile> temp = TkvxSfFile::CreateUnique(
        QFileInfo(m_fileName).absolutePath(), CompactionPrefix(m_fileName), kCompactionSuffix);
    try {
        temp->SetPermissions(m_file->Permissions());
        TkvxSfHeader header;
        header.WriteTo(*temp);
        TkvxSfToc toc;
        qint64 position = kHeaderSize;
        for (int i = 0; i < m_toc.Count(); ++i) {
            const TkvxSfTocEntry &e = m_toc.Entry(i);
            if (e.Free)
                continue;
            CopyBytes(*temp, e.Offset, e.Size, position);
            toc.AddEntry(qint32(position), e.Size, e.Id, false, e.Tag);
            position += e.Size;
        }
        const QByteArray tocBlock = Compress(toc.AsText());
        temp->WriteAt(position, tocBlock);
        header.TocSize = qint32(tocBlock.size());
        header.WriteTo(*temp);
        temp->Sync();
    } catch (const EkvxSfStop &) {
        throw;
    } catch (...) {
        temp->Remove();
        throw;
    }
    return temp;
}

void TkvxStreamFile::PutInPlace(std::unique_ptr<TkvxSfFile> temp, const std::function<void()> &notRenamed) {
    // The new file is complete and on the disk; the rename replaces the old
    // one in a single step.
    try {
        temp->RenameTo(m_fileName);
    } catch (const EvdrError &) {
        if (temp->FileName() != m_fileName) {
            temp->Remove();
            if (notRenamed)
                notRenamed();
            throw;
        }
        // Renamed, but the folder did not flush: the new file is the
        // database now, though a power cut may yet bring the old one back.
        TakeCompacted(std::move(temp));
        throw;
    }
    TakeCompacted(std::move(temp));
}

void TkvxStreamFile::TakeCompacted(std::unique_ptr<TkvxSfFile> temp) {
    // A transaction the compacted file holds is done.
    m_depth = 0;
    m_failed = false;
    m_tocChanged = false;
    m_pending.reset();
    m_file = std::move(temp);
    ReadToc();
}

namespace {

// zlib's deflate state, one per thread and reset for each block: a new one
// costs a quarter of a megabyte of allocations, more than compressing a small
// table. A reset stream writes the same bytes as a new one. It deflates raw:
// Compress writes the zlib header and check sum itself.
z_stream &Deflater() {
    struct TOwner {
        z_stream zs{};
        bool made = false;
        ~TOwner() {
            if (made)
                deflateEnd(&zs);
        }
    };
    thread_local TOwner owner;
    if (owner.made) {
        deflateReset(&owner.zs);
        return owner.zs;
    }
    owner.zs = z_stream{};
    const int rc = deflateInit2(&owner.zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK)
        throw EvdrError(ZlibError(rc, owner.zs));
    owner.made = true;
    return owner.zs;
}

// What zlib puts before the deflate data at its default level and window.
constexpr char kZlibHeader[] = {'\x78', '\x9c'};
constexpr qsizetype kZlibHeaderSize = 2;
constexpr qsizetype kCheckSumSize = 4;

} // namespace

QByteArray TkvxStreamFile::Compress(const QByteArray &data) {
    // The same bytes as zlib's one-shot compress: its deflate, framed here
    // because libdeflate computes the same Adler-32 many times faster.
    z_stream &zs = Deflater();
    const qsizetype frame = 4 + kZlibHeaderSize;
    const qsizetype bound = qsizetype(deflateBound(&zs, uLong(data.size())));
    // Table text shrinks to a third or less: room for half of it, grown
    // when that is not enough, spares a save the room of a text that does
    // not compress at all. The bytes come out the same however the room
    // is given.
    qsizetype room = qMin<qsizetype>(bound, data.size() / 2 + 1024);
    QByteArray block(frame + room + kCheckSumSize, Qt::Uninitialized);
    qToLittleEndian<qint32>(qint32(data.size()), block.data());
    std::memcpy(block.data() + 4, kZlibHeader, kZlibHeaderSize);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(block.data() + frame);
    zs.avail_out = uInt(room);
    int rc = Z_OK;
    while ((rc = deflate(&zs, Z_FINISH)) == Z_OK || (rc == Z_BUF_ERROR && zs.avail_out == 0)) {
        if (room == bound)
            break; // the bound is always enough: zlib said otherwise
        room = qMin<qsizetype>(bound, 2 * room);
        block.resize(frame + room + kCheckSumSize);
        zs.next_out = reinterpret_cast<Bytef *>(block.data() + frame + qsizetype(zs.total_out));
        zs.avail_out = uInt(room - qsizetype(zs.total_out));
    }
    if (rc != Z_STREAM_END)
        throw EvdrError(ZlibError(rc, zs));
    const qsizetype end = frame + qsizetype(zs.total_out);
    qToBigEndian<quint32>(quint32(libdeflate_adler32(1, data.constData(), size_t(data.size()))),
                          block.data() + end);
    block.truncate(end + kCheckSumSize);
    // A transaction holds its blocks until it commits: the room not used
    // is given back now.
    block.squeeze();
    return block;
}

QByteArray TkvxStreamFile::Decompress(const QByteArray &block) {
    if (block.size() < 4)
        throw EvdrError(QStringLiteral("damaged block: %1 bytes is too short").arg(block.size()));
    const qint32 length = qFromLittleEndian<qint32>(block.constData());
    if (length < 0)
        throw EvdrError(QStringLiteral("damaged block: negative length %1").arg(length));
    if (length > vdrLimits::kMaxStreamBytes)
        throw EvdrError(
            QStringLiteral("damaged block: it claims %1 bytes, more than the %2 a stream may hold")
                .arg(length)
                .arg(vdrLimits::kMaxStreamBytes));
    // Deflate expands at most about 1032:1; a larger claim is a damaged
    // header, and refusing it keeps a bad file from allocating gigabytes.
    if (qint64(length) > qint64(block.size() - 4) * 1100 + 1024)
        throw EvdrError(QStringLiteral("damaged block: %1 bytes cannot come from %2 compressed bytes")
                            .arg(length)
                            .arg(block.size() - 4));
    QByteArray data(length, Qt::Uninitialized);
    // libdeflate checks the same zlib header and Adler-32, faster; a block
    // it refuses goes to zlib, whose verdict and message stand.
    size_t produced = 0;
    const libdeflate_result rc =
        libdeflate_zlib_decompress(Decompressor(), block.constData() + 4, size_t(block.size() - 4),
                                   data.data(), size_t(length), &produced);
    if (rc == LIBDEFLATE_SUCCESS && produced == size_t(length))
        return data;
    InflateWithZlib(block, data);
    return data;
}
