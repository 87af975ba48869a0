#include "kvxSfJournalImage.h"

#include "kvxSfFile.h"
#include "kvxSfHeader.h"

#include <QtEndian>

#include <libdeflate.h>

namespace {

const QByteArray kMagic("VDRJRNL2");
constexpr qint64 kChunk = 512;
// Magic, journal length, four file lengths and the region count.
constexpr qsizetype kFixedSize = 8 + 8 * 5 + 4;

void AppendInt64(QByteArray &out, qint64 value) {
    char bytes[8];
    qToLittleEndian<qint64>(value, bytes);
    out.append(bytes, 8);
}

void AppendUInt32(QByteArray &out, quint32 value) {
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    out.append(bytes, 4);
}

// zlib's CRC-32; libdeflate computes the same value several times faster.
quint32 Crc(const char *bytes, qsizetype length) {
    return quint32(libdeflate_crc32(0, bytes, size_t(length)));
}

bool WithinLimit(qint64 value) {
    return value >= 0 && value <= kKvxMaxFileSize;
}

qsizetype CommonPrefix(const QByteArray &a, const QByteArray &b) {
    const qsizetype n = qMin(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

qsizetype CommonSuffix(const QByteArray &a, const QByteArray &b) {
    const qsizetype n = qMin(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[a.size() - 1 - i] == b[b.size() - 1 - i])
        ++i;
    return i;
}

// A write cut short leaves the front of what it wrote before the rest of
// what was there: new over old while the change is applied, old over new
// while it is put back.
bool FitsChunk(const QByteArray &now, const QByteArray &old, const QByteArray &fresh, bool mayBeZeros) {
    const qsizetype n = now.size();
    if (now == old)
        return true;
    if (CommonPrefix(now, fresh) + CommonSuffix(now, old) >= n)
        return true;
    if (fresh.size() >= n && CommonPrefix(now, old) + CommonSuffix(now, fresh) >= n)
        return true;
    return mayBeZeros && now.count('\0') == n;
}

// Reads the journal's fields in order, checking that each fits.
class TReader {
public:
    explicit TReader(const QByteArray &bytes, qsizetype end) : m_bytes(bytes), m_end(end) {}
    template <typename T> bool Number(T &value) {
        if (m_end - m_at < qsizetype(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(m_bytes.constData() + m_at);
        m_at += sizeof(T);
        return true;
    }
    bool Bytes(qint64 length, QByteArray &value) {
        if (length < 0 || length > m_end - m_at)
            return false;
        value = m_bytes.mid(m_at, length);
        m_at += length;
        return true;
    }
    bool AtEnd() const { return m_at == m_end; }
    void Skip(qsizetype n) { m_at += n; }

private:
    const QByteArray &m_bytes;
    qsizetype m_end;
    qsizetype m_at = 0;
};

} // namespace

qint64 TkvxSfJournalImage::StatedLength(const QByteArray &head) {
    if (head.size() < HeadSize || !head.startsWith(kMagic))
        return -1;
    return qFromLittleEndian<qint64>(head.constData() + 8);
}

bool TkvxSfJournalImage::IsCutOff(const QByteArray &head, qint64 size) {
    if (size < kMagic.size())
        return kMagic.startsWith(head);
    if (size < HeadSize)
        return head.startsWith(kMagic);
    return StatedLength(head) > size;
}

QByteArray TkvxSfJournalImage::Encode() const {
    qsizetype size = kFixedSize + 4;
    for (const TRegion &region : Regions)
        size += 24 + region.Old.size() + region.New.size();
    QByteArray out;
    out.reserve(size);
    out += kMagic;
    AppendInt64(out, 0); // the journal's length, known at the end
    AppendInt64(out, OldLength);
    AppendInt64(out, NewLength);
    AppendInt64(out, LowLength);
    AppendInt64(out, HighLength);
    AppendUInt32(out, quint32(Regions.size()));
    for (const TRegion &region : Regions) {
        AppendInt64(out, region.Offset);
        AppendInt64(out, region.Old.size());
        out += region.Old;
        AppendInt64(out, region.New.size());
        out += region.New;
    }
    qToLittleEndian<qint64>(out.size() + 4, out.data() + 8);
    AppendUInt32(out, Crc(out.constData(), out.size()));
    return out;
}

QString TkvxSfJournalImage::Decode(const QByteArray &bytes) {
    if (bytes.size() < kFixedSize + 4 || StatedLength(bytes) != bytes.size())
        return QStringLiteral("it is not a journal of this program");
    const qsizetype body = bytes.size() - 4;
    if (Crc(bytes.constData(), body) != qFromLittleEndian<quint32>(bytes.constData() + body))
        return QStringLiteral("its check sum does not match its contents");
    TReader in(bytes, body);
    in.Skip(16);
    quint32 count = 0;
    Regions.clear();
    if (!in.Number(OldLength) || !in.Number(NewLength) || !in.Number(LowLength) || !in.Number(HighLength) ||
        !in.Number(count))
        return QStringLiteral("it is not a journal of this program");
    bool inLimit =
        WithinLimit(OldLength) && WithinLimit(NewLength) && WithinLimit(LowLength) && WithinLimit(HighLength);
    for (quint32 i = 0; i < count; ++i) {
        TRegion region;
        qint64 oldSize = 0, newSize = 0;
        if (!in.Number(region.Offset) || !in.Number(oldSize) || !in.Bytes(oldSize, region.Old) ||
            !in.Number(newSize) || !in.Bytes(newSize, region.New) || region.Offset < 0 || newSize > oldSize)
            return QStringLiteral("its regions do not add up");
        inLimit = inLimit && WithinLimit(region.Offset + oldSize);
        Regions.append(region);
    }
    if (!in.AtEnd())
        return QStringLiteral("its regions do not add up");
    if (!inLimit)
        return QStringLiteral("it reaches past the 2 GiB limit of the format");
    for (const TRegion &region : Regions)
        if (region.Offset + region.Old.size() > OldLength || region.Offset + region.New.size() > NewLength)
            return QStringLiteral("its regions do not add up");
    if (LowLength > qMin(OldLength, NewLength) || HighLength < qMax(OldLength, NewLength))
        return QStringLiteral("its regions do not add up");
    return QString();
}

QString TkvxSfJournalImage::Mismatch(const TkvxSfFile &file) const {
    const qint64 length = file.Size();
    if (length < LowLength || length > HighLength)
        return QStringLiteral("the file is %1 bytes long, and the change it belongs to keeps a length of %2 "
                              "to %3 bytes")
            .arg(length)
            .arg(LowLength)
            .arg(HighLength);
    for (const TRegion &region : Regions) {
        const qint64 readable = qBound<qint64>(0, length - region.Offset, region.Old.size());
        const QByteArray now = file.ReadAt(region.Offset, readable);
        for (qint64 at = 0; at < readable;) {
            const qint64 position = region.Offset + at;
            const qint64 next = qMin(readable, (position / kChunk + 1) * kChunk - region.Offset);
            const QByteArray fresh = at < region.New.size() ? region.New.mid(at, next - at) : QByteArray();
            if (!FitsChunk(now.mid(at, next - at), region.Old.mid(at, next - at), fresh,
                           position >= LowLength))
                return QStringLiteral(
                           "the file's bytes at offset %1 are neither those before nor those after "
                           "the change it belongs to")
                    .arg(position);
            at = next;
        }
    }
    return QString();
}
