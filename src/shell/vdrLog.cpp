#include "vdrLog.h"

#include "vdrCodePage.h"
#include "vdrError.h"
#include "vdrSingleton.h"
#include "vdrStreamDamage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QLatin1String kLogFileName("vdrLog.txt");

EvdrError FileError(const char *what, const QString &fileName, int err) {
    return EvdrError(QStringLiteral("%1 %2: %3").arg(QLatin1String(what), fileName, qt_error_string(err)));
}

} // namespace

TvdrLog::TvdrLog() {
    TvdrSingleton<TvdrLog>::CheckCreation("Log");
    // Storage cannot include the log; what it finds (damaged streams) comes
    // here through its hook.
    SetStorageLog([this](const QString &line) { Write(line); });
}

TvdrLog::~TvdrLog() {
    SetStorageLog({});
    if (m_fd >= 0)
        ::close(m_fd);
}

TvdrLog &Log() {
    return TvdrSingleton<TvdrLog>::Instance();
}

void TvdrLog::Write(const QString &message) {
    if (!IsEnabled())
        return;
    TvdrWriteGuard guard(m_lock);
    // Another thread may have switched the log off since the check above.
    if (!m_enabled)
        return;
    const QTime now = m_clock ? m_clock() : QTime::currentTime();
    const long long threadId = m_threadId ? m_threadId() : static_cast<long long>(::gettid());
    const QString line =
        QString::asprintf("%02d.%02d.%03d:%lld\t", now.minute(), now.second(), now.msec(), threadId) +
        message + QLatin1String("\r\n");

    // One unbuffered write per line: nothing waits in the process when it is
    // killed, and lines of different threads never interleave.
    const QByteArray bytes = vdrCodePage::FromUnicode(line);
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw FileError("Cannot write to the log file", m_fileName, errno);
        }
        data += written;
        left -= written;
    }
}

void TvdrLog::SetEnabled(bool on) {
    TvdrWriteGuard guard(m_lock);
    if (on == m_enabled)
        return;
    if (!on) {
        m_enabled = false;
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR)
            throw FileError("Cannot close the log file", m_fileName, errno);
        return;
    }

    if (m_fileName.isEmpty())
        throw EvdrError("Cannot create the log file: no log folder is set");
    const QByteArray path = QFile::encodeName(m_fileName);
    // No following a planted link, and no hanging on a pipe in its place.
    const int fd =
        ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        throw FileError("Cannot create the log file", m_fileName, errno);
    struct stat info {};
    int err = 0;
    if (::fstat(fd, &info) != 0)
        err = errno;
    else if (!S_ISREG(info.st_mode))
        err = EINVAL;
    // A log left by an earlier run keeps its old mode unless we set it.
    else if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0)
        err = errno;
    if (err != 0) {
        ::close(fd);
        throw FileError("Cannot create the log file", m_fileName, err);
    }
    m_fd = fd;
    m_enabled = true;
}

bool TvdrLog::IsEnabled() {
    TvdrReadGuard guard(m_lock);
    return m_enabled;
}

void TvdrLog::SetPath(const QString &folder) {
    TvdrWriteGuard guard(m_lock);
    if (folder.trimmed().isEmpty()) {
        m_fileName.clear();
        return;
    }
    const QString dir = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QDir().mkpath(dir);
    m_fileName = dir + (dir.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + kLogFileName;
}

QString TvdrLog::Path() {
    TvdrReadGuard guard(m_lock);
    return m_fileName.left(m_fileName.lastIndexOf(QLatin1Char('/')) + 1);
}

QString TvdrLog::GetFileName() {
    return Path() + kLogFileName;
}

void TvdrLog::SetClock(TClock clock) {
    TvdrWriteGuard guard(m_lock);
    m_clock = std::move(clock);
}

void TvdrLog::SetThreadIdSource(TThreadId threadId) {
    TvdrWriteGuard guard(m_lock);
    m_threadId = std::move(threadId);
}
