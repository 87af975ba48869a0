#include "kvxSfJournal.h"

#include "kvxSfFile.h"
#include "kvxSfJournalImage.h"
#include "kvxSfStatus.h"
#include "vdrError.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {

bool &EnabledFlag() {
    static bool on = true;
    return on;
}

bool IsThere(const QString &fileName) {
    return TkvxSfStatus::Of(fileName, false).Found;
}

bool IsRegularFile(const QString &fileName) {
    return TkvxSfStatus::Of(fileName, false).Regular;
}

// A journal's first byte is written last and zeroed to commit: a journal
// that begins with a zero was never finished, or its change is done. The
// file keeps its length between changes, so that writing the next journal
// into it changes no length and allocates nothing the flush must record.
const QByteArray kNoChangeMark(1, '\0');
// A journal kept past this length (a large import's) is cut back: an
// ordinary change's is far shorter, and the disk is the owner's.
constexpr qint64 kLongestKeptJournal = 4 << 20;

// `size`: the journal's length, known to the caller.
bool MarksNoChange(const TkvxSfFile &journal, qint64 size) {
    const QByteArray first = journal.ReadAt(0, qMin<qint64>(size, 1));
    return first.isEmpty() || first == kNoChangeMark;
}

// Whether `fileName` is a regular file that holds no change: empty, or
// marked so.
bool HoldsNoChange(const QString &fileName) {
    if (!IsRegularFile(fileName))
        return false;
    try {
        const TkvxSfFile journal(fileName, TkvxSfFile::Mode::ReadPlain);
        return MarksNoChange(journal, journal.Size());
    } catch (const EvdrError &) {
        return false;
    }
}

// Whether `kept` is the very file at `name`, not a link to it, holding no
// change: only then is it the writer's own journal between two changes.
bool IsKeptAt(const TkvxSfFile &kept, const QString &name) {
    // One look at the name and one at the file: this runs at every change.
    const TkvxSfStatus named = TkvxSfStatus::Of(name, false);
    if (!named.Regular)
        return false;
    const TkvxSfStatus mine = kept.Status();
    return mine.IsSameFileAs(named) && MarksNoChange(kept, mine.Size);
}

const QString kKeptSuffix = QStringLiteral(".refused");

// Why the journal `name` must not be applied to `database`; empty when it
// may. `cutOff` tells a journal whose writing stopped early.
QString Verdict(const QString &name, const TkvxSfFile &database, TkvxSfJournalImage &image, bool &cutOff) {
    cutOff = false;
    if (!IsRegularFile(name))
        return QStringLiteral("it is not a regular file");
    TkvxSfFile file(name, TkvxSfFile::Mode::ReadPlain);
    const qint64 size = file.Size();
    const QByteArray head = file.ReadAt(0, qMin<qint64>(size, TkvxSfJournalImage::HeadSize));
    if (TkvxSfJournalImage::IsCutOff(head, size)) {
        cutOff = true;
        return QStringLiteral("it was cut off before its change began");
    }
    // Bytes past the stated length are left from a longer journal before.
    const qint64 stated = TkvxSfJournalImage::StatedLength(head);
    if (stated < 0)
        return QStringLiteral("it is not a journal of this program");
    const QString damage = image.Decode(file.ReadAt(0, stated));
    return damage.isEmpty() ? image.Mismatch(database) : damage;
}

QString KeepAside(const QString &name) {
    QString target = name + kKeptSuffix;
    for (int n = 2; IsThere(target); ++n)
        target = name + kKeptSuffix + QString::number(n);
    TkvxSfFile::MoveFile(name, target);
    return target;
}

} // namespace

void TkvxSfJournal::SetEnabled(bool on) {
    EnabledFlag() = on;
}

bool TkvxSfJournal::Enabled() {
    return EnabledFlag();
}

QString TkvxSfJournal::FileNameOf(const QString &databaseName) {
    return databaseName + QStringLiteral("-journal");
}

bool TkvxSfJournal::Exists(const QString &databaseName) {
    return IsThere(FileNameOf(databaseName));
}

bool TkvxSfJournal::HoldsChange(const QString &databaseName) {
    const QString name = FileNameOf(databaseName);
    return IsThere(name) && !HoldsNoChange(name);
}

void TkvxSfJournal::Begin(TkvxSfFile &database, const TkvxSfPending &pending,
                          const QList<TkvxSfRange> &regions, std::unique_ptr<TkvxSfFile> &kept) {
    TkvxSfJournalImage image;
    image.OldLength = pending.OriginalSize();
    image.NewLength = pending.Size();
    image.LowLength = pending.Lowest();
    image.HighLength = pending.Highest();
    for (const TkvxSfRange &range : regions) {
        const qint64 remaining = qBound<qint64>(0, image.NewLength - range.Offset, range.Length);
        const QByteArray old = database.ReadAt(range.Offset, range.Length);
        image.Regions.append({range.Offset, old, pending.Overlay(range.Offset, remaining, old)});
    }
    const QByteArray bytes = image.Encode();

    const QString name = FileNameOf(database.FileName());
    // Anything else at the name is not ours to write over.
    const bool again = kept && IsKeptAt(*kept, name);
    if (!again)
        kept.reset();
    try {
        if (!again)
            kept = std::make_unique<TkvxSfFile>(name, TkvxSfFile::Mode::CreateNew);
        // Its first byte last: until it is there the journal holds no
        // change, and a writer that dies before leaves nothing to apply.
        kept->WriteAt(1, QByteArray::fromRawData(bytes.constData() + 1, bytes.size() - 1));
        kept->WriteAt(0, bytes.left(1));
        kept->Sync();
        // The journal must be found after a power cut, not only its bytes.
        if (!again)
            TkvxSfFile::SyncFolderOf(name);
    } catch (const EkvxSfStop &) {
        throw;
    } catch (...) {
        const bool ours = kept != nullptr;
        kept.reset();
        try {
            if (ours)
                TkvxSfFile::RemoveFile(name);
        } catch (const EvdrError &) {
            // Left over, it is cut off or matches the untouched file: the
            // next open removes it or puts back bytes that are there.
        }
        throw;
    }
}

void TkvxSfJournal::Commit(TkvxSfFile &database, std::unique_ptr<TkvxSfFile> &kept) {
    database.Sync();
    // Marked, the journal commits the change as its removal would: it then
    // holds nothing to put back.
    if (kept) {
        kept->WriteAt(0, kNoChangeMark);
        if (kept->Size() > kLongestKeptJournal)
            kept->Truncate(0);
    } else
        TkvxSfFile::RemoveFile(FileNameOf(database.FileName()));
}

void TkvxSfJournal::Release(const QString &databaseName, std::unique_ptr<TkvxSfFile> &kept) {
    if (!kept)
        return;
    const QString name = FileNameOf(databaseName);
    try {
        if (IsKeptAt(*kept, name))
            TkvxSfFile::RemoveFile(name);
    } catch (const EvdrError &) {
        // A journal left behind holds no change: the next open removes it.
    }
    kept.reset();
}

TkvxSfJournal::TRecovery TkvxSfJournal::Recover(TkvxSfFile &database) {
    const QString name = FileNameOf(database.FileName());
    if (!IsThere(name))
        return {};
    if (HoldsNoChange(name)) {
        // A writer's journal between two changes, left by an end without
        // a close, or one it died writing.
        TkvxSfFile::RemoveFile(name);
        return {};
    }
    TkvxSfJournalImage image;
    bool cutOff = false;
    const QString why = Verdict(name, database, image, cutOff);
    if (cutOff) {
        TkvxSfFile::RemoveFile(name);
        return {TOutcome::Removed, QStringLiteral("journal %1 was removed: %2").arg(name, why)};
    }
    if (!why.isEmpty()) {
        const QString kept = KeepAside(name);
        return {TOutcome::KeptAside, QStringLiteral("journal %1 was not applied to %2 and is kept as %3: %4")
                                         .arg(name, database.FileName(), kept, why)};
    }
    for (const TkvxSfJournalImage::TRegion &region : image.Regions)
        database.WriteAt(region.Offset, region.Old);
    database.Truncate(image.OldLength);
    database.Sync();
    TkvxSfFile::RemoveFile(name);
    return {TOutcome::RolledBack,
            QStringLiteral("%1 was put back as it was before a change that did not complete")
                .arg(database.FileName())};
}

QList<QPair<QString, QString>> TkvxSfJournal::KeptAside(const TkvxSfFile &database) {
    const QFileInfo journal(FileNameOf(database.FileName()));
    const QString prefix = journal.fileName() + kKeptSuffix;
    const QStringList names =
        QDir(journal.absolutePath()).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    QList<QPair<QString, QString>> kept;
    for (const QString &fileName : names) {
        if (!fileName.startsWith(prefix))
            continue;
        const QString path = journal.absolutePath() + QLatin1Char('/') + fileName;
        TkvxSfJournalImage image;
        bool cutOff = false;
        QString why;
        try {
            why = Verdict(path, database, image, cutOff);
        } catch (const EvdrError &e) {
            why = e.Message();
        }
        kept.append({path, why.isEmpty() ? QStringLiteral("it was refused when it was found") : why});
    }
    return kept;
}
