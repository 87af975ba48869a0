#include "vdrPeakMemory.h"

#include <QFile>

#include <malloc.h>

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
