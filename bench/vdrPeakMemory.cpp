#include "vdrPeakMemory.h"

#include <QFile>

#include <malloc.h>
#include <sys/mman.h>

#ifndef MADV_POPULATE_READ
#define MADV_POPULATE_READ 22 // Linux 5.14
#endif

namespace {

// A "Vm...:   1234 kB" line of /proc/self/status, in bytes.
qint64 StatusBytes(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

} // namespace

void TvdrPeakMemory::MapFilePages() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return;
    // "start-end perms offset dev inode path": readable mappings of files,
    // not of devices or the kernel's own ([vdso] and the like).
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 6 || !fields[1].startsWith('r') || !fields[5].startsWith('/') ||
            fields[5].startsWith("/dev/"))
            continue;
        const QList<QByteArray> range = fields[0].split('-');
        const quintptr start = range.value(0).toULongLong(nullptr, 16);
        const quintptr end = range.value(1).toULongLong(nullptr, 16);
        // Fails without harm on a mapping longer than its file, where a
        // read would raise SIGBUS.
        if (end > start)
            ::madvise(reinterpret_cast<void *>(start), end - start, MADV_POPULATE_READ);
    }
}

void TvdrPeakMemory::Start() {
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    m_start = StatusBytes("VmRSS");
}

qint64 TvdrPeakMemory::Peak() const {
    return qMax<qint64>(0, StatusBytes("VmHWM") - m_start);
}

qint64 TvdrPeakMemory::Held() const {
    malloc_trim(0);
    return qMax<qint64>(0, StatusBytes("VmRSS") - m_start);
}
