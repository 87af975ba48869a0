#include "kvxSfJournal.h"

#include "kvxSfFile.h"
#include "vdrError.h"

#include <QFileInfo>
#include <QtEndian>

#include <zlib.h>

namespace {

const QByteArray kMagic("VDRJRNL1");

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

quint32 Crc(const QByteArray &bytes, qsizetype length) {
    return quint32(crc32(0L, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(length)));
}

// What a journal says, when it is complete and sound.
struct TContent {
    qint64 Length = 0;
    QList<QPair<qint64, QByteArray>> Regions;
};

bool Parse(const QByteArray &journal, TContent &content) {
    if (journal.size() < 24 || !journal.startsWith(kMagic))
        return false;
    const qsizetype body = journal.size() - 4;
    if (Crc(journal, body) != qFromLittleEndian<quint32>(journal.constData() + body))
        return false;
    content.Length = qFromLittleEndian<qint64>(journal.constData() + 8);
    const quint32 count = qFromLittleEndian<quint32>(journal.constData() + 16);
    qsizetype at = 20;
    for (quint32 i = 0; i < count; ++i) {
        if (body - at < 16)
            return false;
        const qint64 offset = qFromLittleEndian<qint64>(journal.constData() + at);
        const qint64 length = qFromLittleEndian<qint64>(journal.constData() + at + 8);
        at += 16;
        if (offset < 0 || length < 0 || length > body - at || offset + length > content.Length)
            return false;
        content.Regions.append({offset, journal.mid(at, length)});
        at += length;
    }
    return at == body && content.Length >= 0;
}

} // namespace

namespace {

bool &EnabledFlag() {
    static bool on = true;
    return on;
}

} // namespace

void TkvxSfJournal::SetEnabled(bool on) { EnabledFlag() = on; }

bool TkvxSfJournal::Enabled() { return EnabledFlag(); }

QString TkvxSfJournal::FileNameOf(const QString &databaseName) { return databaseName + QStringLiteral("-journal"); }

bool TkvxSfJournal::Exists(const QString &databaseName) { return QFileInfo::exists(FileNameOf(databaseName)); }

void TkvxSfJournal::Begin(TkvxSfFile &database, const QList<TRegion> &regions) {
    const qint64 length = database.Size();
    QByteArray journal = kMagic;
    AppendInt64(journal, length);
    QList<TRegion> kept;
    for (const TRegion &region : regions) {
        const qint64 end = qMin(region.Offset + region.Length, length);
        if (region.Offset < end)
            kept.append({region.Offset, end - region.Offset});
    }
    AppendUInt32(journal, quint32(kept.size()));
    for (const TRegion &region : kept) {
        AppendInt64(journal, region.Offset);
        AppendInt64(journal, region.Length);
        journal += database.ReadAt(region.Offset, region.Length);
    }
    AppendUInt32(journal, Crc(journal, journal.size()));

    const QString name = FileNameOf(database.FileName());
    TkvxSfFile file(name, TkvxSfFile::Mode::Replace);
    file.WriteAt(0, journal);
    file.Sync();
    // The journal must be found after a power cut, not only its bytes.
    TkvxSfFile::SyncFolderOf(name);
}

void TkvxSfJournal::Commit(TkvxSfFile &database) {
    database.Sync();
    TkvxSfFile::RemoveFile(FileNameOf(database.FileName()));
}

bool TkvxSfJournal::Recover(TkvxSfFile &database) {
    const QString name = FileNameOf(database.FileName());
    if (!QFileInfo::exists(name))
        return false;
    QByteArray journal;
    {
        TkvxSfFile file(name, TkvxSfFile::Mode::ReadOnly);
        journal = file.ReadAt(0, file.Size());
    }
    TContent content;
    const bool complete = Parse(journal, content);
    if (complete) {
        for (const auto &region : content.Regions)
            database.WriteAt(region.first, region.second);
        database.Truncate(content.Length);
        database.Sync();
    }
    TkvxSfFile::RemoveFile(name);
    return complete;
}
