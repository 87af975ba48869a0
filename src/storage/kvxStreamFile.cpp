#include "kvxStreamFile.h"

#include "kvxSfFile.h"
#include "kvxSfJournal.h"
#include "vdrError.h"
#include "vdrLimits.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QtEndian>

#include <limits>
#include <zlib.h>

namespace {

constexpr qint64 kHeaderSize = 4;
// Blocks are addressed by 32-bit offsets and sizes.
constexpr qint64 kMaxFileSize = std::numeric_limits<qint32>::max();

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

} // namespace

TkvxStreamFile::TkvxStreamFile(QObject *owner) : QObject(owner) {}

TkvxStreamFile::~TkvxStreamFile() = default;

bool TkvxStreamFile::IsOpen() const { return m_file != nullptr; }

qint64 TkvxStreamFile::DataEnd() const { return m_file->Size() - m_header.TocSize; }

void TkvxStreamFile::Open(const QString &fileName, bool readOnly) {
    if (IsOpen())
        return;
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    try {
        if (QFileInfo::exists(absolute)) {
            if (readOnly && TkvxSfJournal::Exists(absolute))
                RecoverForReading(absolute);
            m_file = std::make_unique<TkvxSfFile>(
                absolute, readOnly ? TkvxSfFile::Mode::ReadOnly : TkvxSfFile::Mode::ReadWrite);
            m_fileName = absolute;
            m_readOnly = readOnly;
            if (!readOnly)
                TkvxSfJournal::Recover(*m_file);
            ReadToc();
        } else {
            if (readOnly)
                throw EvdrError("can not create file in readonly mode");
            if (!QDir().mkpath(QFileInfo(absolute).absolutePath()))
                throw EvdrError(QStringLiteral("cannot create the folder of %1").arg(absolute));
            // A journal without its database belongs to no file of ours; left
            // there, it would roll the new database back into the old one.
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

// A journal left by a writer that died is put back before anyone reads; a
// writer that still holds the file is in the middle of its change, and the
// reader takes the file as it is.
void TkvxStreamFile::RecoverForReading(const QString &fileName) {
    std::unique_ptr<TkvxSfFile> writer;
    try {
        writer = std::make_unique<TkvxSfFile>(fileName, TkvxSfFile::Mode::ReadWrite);
    } catch (const EvdrError &e) {
        if (e.Message().contains(QLatin1String("opened for writing by another process")))
            return;
        throw EvdrError(QStringLiteral("%1 must be repaired from its journal first, which needs write access: %2")
                            .arg(fileName, e.Message()));
    }
    TkvxSfJournal::Recover(*writer);
}

void TkvxStreamFile::Close() {
    m_file.reset();
    m_fileName.clear();
    m_readOnly = false;
    m_toc.Clear();
    m_header.TocSize = 0;
}

void TkvxStreamFile::ReadToc() {
    const qint64 size = m_file->Size();
    if (size < kHeaderSize)
        throw EvdrError(QStringLiteral("%1 is damaged: it is %2 bytes long, too short for a header")
                            .arg(m_fileName).arg(size));
    m_header.ReadFrom(*m_file);
    if (m_header.TocSize < 0 || m_header.TocSize > size - kHeaderSize)
        throw EvdrError(QStringLiteral("%1 is damaged: its table of contents (%2 bytes) does not fit "
                                       "a file of %3 bytes")
                            .arg(m_fileName).arg(m_header.TocSize).arg(size));
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
                                .arg(m_fileName).arg(i).arg(e.Offset).arg(e.Size));
        previousEnd = e.Offset + qint64(e.Size);
    }
    m_toc.DropEmptyGaps();
}

void TkvxStreamFile::WriteToc() {
    const QByteArray block = Compress(m_toc.AsText());
    const qint64 tocStart = DataEnd();
    m_file->Truncate(tocStart);
    m_file->WriteAt(tocStart, block);
    m_header.TocSize = qint32(block.size());
    m_header.WriteTo(*m_file);
}

void TkvxStreamFile::ReadStream(const QString &id, QIODevice &dest) {
    if (!IsOpen())
        return;
    const TkvxSfTocEntry &entry = m_toc.EntryById(id);
    const QByteArray data = Decompress(m_file->ReadAt(entry.Offset, entry.Size));
    if (dest.write(data) != data.size())
        throw EvdrError(QStringLiteral("cannot take the bytes of stream %1").arg(id));
}

QByteArray TkvxStreamFile::ReadStream(const QString &id) {
    if (!IsOpen())
        return {};
    const TkvxSfTocEntry &entry = m_toc.EntryById(id);
    return Decompress(m_file->ReadAt(entry.Offset, entry.Size));
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
    return m_file->ReadAt(entry.Offset, entry.Size);
}

void TkvxStreamFile::WriteRawBlock(const QString &id, qint32 tag, const QByteArray &block) {
    const QString trimmed = TrimTocId(id);
    if (!IsOpen() || trimmed.isEmpty())
        return;
    if (m_readOnly)
        throw EvdrError(QStringLiteral("%1 is open read-only").arg(m_fileName));
    CheckTocId(trimmed);
    if (DataEnd() + block.size() + 4096 > kMaxFileSize)
        throw EvdrError(QStringLiteral("%1 cannot grow beyond 2 GiB").arg(m_fileName));
    const auto size = qint32(block.size());

    Change([&](QList<TkvxSfJournal::TRegion> &overwritten) -> std::function<void()> {
        const TkvxSfToc before = m_toc;
        m_toc.Release(trimmed);
        const int index = m_toc.FindFree(size);
        if (index >= 0) {
            TkvxSfTocEntry &entry = m_toc.Entry(index);
            entry.Id = trimmed;
            entry.Tag = tag;
            entry.Free = false;
            // A gap may hold the stream's own old block, which must come back
            // if the change does not complete.
            for (int i = 0; i < before.Count(); ++i) {
                const TkvxSfTocEntry &old = before.Entry(i);
                const qint64 from = qMax<qint64>(old.Offset, entry.Offset);
                const qint64 to = qMin<qint64>(qint64(old.Offset) + old.Size, qint64(entry.Offset) + size);
                if (!old.Free && from < to)
                    overwritten.append({from, to - from});
            }
            return [this, offset = entry.Offset, &block] { m_file->WriteAt(offset, block); };
        }
        const qint64 end = DataEnd();
        m_toc.AddEntry(qint32(end), size, trimmed, false, tag);
        return [this, end, &block] {
            m_file->Truncate(end);
            m_file->WriteAt(end, block);
            m_header.TocSize = 0;
        };
    });
}

// Runs one change of the file as all or nothing. `plan` changes the TOC in
// memory, adds the regions of the file in use before that it will overwrite,
// and gives the writes of the data; the header and the old TOC block are
// always journaled, the new TOC is always written.
void TkvxStreamFile::Change(
    const std::function<std::function<void()>(QList<TkvxSfJournal::TRegion> &overwritten)> &plan) {
    QList<TkvxSfJournal::TRegion> overwritten = {{0, kHeaderSize}};
    if (m_header.TocSize > 0)
        overwritten.append({DataEnd(), m_header.TocSize});
    const TkvxSfToc tocBefore = m_toc;
    const TkvxSfHeader headerBefore = m_header;
    const std::function<void()> writes = plan(overwritten);
    const bool journaled = TkvxSfJournal::Enabled();
    bool begun = false;
    try {
        if (journaled)
            TkvxSfJournal::Begin(*m_file, overwritten);
        begun = journaled;
        if (writes)
            writes();
        WriteToc();
        if (journaled)
            TkvxSfJournal::Commit(*m_file);
    } catch (const EkvxSfStop &) {
        throw;
    } catch (...) {
        // The file goes back to what it was, and so does what we know of it.
        try {
            if (begun)
                TkvxSfJournal::Recover(*m_file);
            else if (journaled)
                TkvxSfFile::RemoveFile(TkvxSfJournal::FileNameOf(m_fileName));
            m_toc = tocBefore;
            m_header = headerBefore;
        } catch (const EvdrError &) {
            Close();
        }
        throw;
    }
}

void TkvxStreamFile::DeleteStream(const QString &id) {
    if (!IsOpen())
        return;
    if (m_readOnly)
        throw EvdrError(QStringLiteral("%1 is open read-only").arg(m_fileName));
    Change([&](QList<TkvxSfJournal::TRegion> &) -> std::function<void()> {
        m_toc.Release(id);
        return nullptr;
    });
}

void TkvxStreamFile::Compact() {
    if (!IsOpen())
        return;
    if (m_readOnly)
        throw EvdrError(QStringLiteral("%1 is open read-only").arg(m_fileName));
    std::unique_ptr<TkvxSfFile> temp =
        TkvxSfFile::CreateUnique(QFileInfo(m_fileName).absolutePath(), QStringLiteral("ksf"), QStringLiteral(".tmp"));
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
            temp->WriteAt(position, m_file->ReadAt(e.Offset, e.Size));
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
    // The new file is complete and on the disk; the rename replaces the old
    // one in a single step.
    try {
        temp->RenameTo(m_fileName);
    } catch (const EvdrError &) {
        if (temp->FileName() != m_fileName)
            temp->Remove();
        throw;
    }
    m_file = std::move(temp);
    ReadToc();
}

QByteArray TkvxStreamFile::Compress(const QByteArray &data) {
    z_stream zs{};
    int rc = deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK)
        throw EvdrError(ZlibError(rc, zs));
    const uLong bound = deflateBound(&zs, uLong(data.size()));
    QByteArray block(qsizetype(4 + bound), Qt::Uninitialized);
    qToLittleEndian<qint32>(qint32(data.size()), block.data());
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(block.data() + 4);
    zs.avail_out = uInt(bound);
    rc = deflate(&zs, Z_FINISH);
    const uLong produced = zs.total_out;
    deflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw EvdrError(ZlibError(rc, zs));
    block.truncate(qsizetype(4 + produced));
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
        return data;
    if (rc == Z_STREAM_END)
        throw EvdrError(QStringLiteral("damaged block: it inflates to %1 bytes, not %2")
                            .arg(produced).arg(length));
    if (rc == Z_BUF_ERROR && produced < uLong(length))
        throw EvdrError(QStringLiteral("damaged block: its data end after %1 of %2 bytes")
                            .arg(produced).arg(length));
    if (rc == Z_BUF_ERROR)
        throw EvdrError(QStringLiteral("damaged block: it inflates to more than %1 bytes").arg(length));
    throw EvdrError(QStringLiteral("damaged block: %1").arg(error));
}
