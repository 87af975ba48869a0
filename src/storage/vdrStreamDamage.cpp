#include "vdrStreamDamage.h"

#include "kvxStreamFile.h"

#include <mutex>
#include <utility>

namespace {

struct TDamageState {
    std::mutex mutex;
    QList<TvdrDamagedStream> found;
    TvdrStorageLog log;
};

TDamageState &State() {
    static TDamageState state;
    return state;
}

} // namespace

void WriteStorageLog(const QString &line) {
    TvdrStorageLog log;
    {
        std::lock_guard<std::mutex> guard(State().mutex);
        log = State().log;
    }
    if (!log)
        return;
    try {
        log(line);
    } catch (...) {
        // A log that cannot be written must not turn a load into a failure.
    }
}

namespace {

void Remember(const TvdrDamagedStream &damage) {
    std::lock_guard<std::mutex> guard(State().mutex);
    QList<TvdrDamagedStream> &found = State().found;
    for (TvdrDamagedStream &known : found) {
        if (known.FileName == damage.FileName &&
            known.StreamId.compare(damage.StreamId, Qt::CaseInsensitive) == 0) {
            known = damage;
            return;
        }
    }
    found.append(damage);
}

QString CopyId(const QString &streamId, int n) {
    return streamId + QStringLiteral(".damaged") + (n > 1 ? QString::number(n) : QString());
}

// The Id under which `raw` is kept: an existing identical copy, else the first
// free one, written now.
QString KeepRawBlock(TkvxStreamFile &file, const QString &streamId, const QByteArray &raw) {
    const TkvxSfToc &toc = file.Toc();
    const qint32 tag = toc.Entry(toc.IndexOfId(streamId)).Tag;
    for (int n = 1;; ++n) {
        const QString id = CopyId(streamId, n);
        if (!toc.Exists(id)) {
            file.WriteRawBlock(id, tag, raw);
            return id;
        }
        if (file.RawBlock(id) == raw)
            return id;
    }
}

} // namespace

QList<TvdrDamagedStream> DamagedStreams() {
    std::lock_guard<std::mutex> guard(State().mutex);
    return State().found;
}

void ClearDamagedStreams() {
    std::lock_guard<std::mutex> guard(State().mutex);
    State().found.clear();
}

TvdrStorageLog SetStorageLog(TvdrStorageLog log) {
    std::lock_guard<std::mutex> guard(State().mutex);
    std::swap(State().log, log);
    return log;
}

QString NoteUnreadableStream(TkvxStreamFile &file, const QString &streamId, const QString &error) {
    try {
        if (!file.IsOpen() || !file.Toc().Exists(streamId))
            return QString();
        TvdrDamagedStream damage;
        damage.FileName = file.FileName();
        damage.StreamId = file.Toc().Entry(file.Toc().IndexOfId(streamId)).Id;
        damage.Error = error;
        if (file.IsReadOnly()) {
            damage.Message = QStringLiteral("stream %1 is damaged (%2); the file is open read-only, so its "
                                            "bytes are not kept")
                                 .arg(damage.StreamId, error);
        } else {
            try {
                damage.KeptAs = KeepRawBlock(file, damage.StreamId, file.RawBlock(damage.StreamId));
                damage.Message = QStringLiteral("stream %1 is damaged (%2); its bytes are kept as %3")
                                     .arg(damage.StreamId, error, damage.KeptAs);
            } catch (const std::exception &e) {
                damage.Message = QStringLiteral("stream %1 is damaged (%2); its bytes could not be kept (%3)")
                                     .arg(damage.StreamId, error, QString::fromUtf8(e.what()));
            }
        }
        Remember(damage);
        WriteStorageLog(damage.Message);
        return damage.Message;
    } catch (...) {
        // Out of memory at worst; the load still ends with an empty table.
        return QStringLiteral("stream %1 is damaged (%2)").arg(streamId, error);
    }
}
