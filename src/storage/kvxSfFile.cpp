#include "kvxSfFile.h"

#include "vdrError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString ErrnoText(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

struct TFaultPlan {
    qint64 stopAt = 0;
    bool torn = false;
    qint64 count = 0;
};

bool &FlushingOn() {
    static bool on = true;
    return on;
}

TFaultPlan &Plan() {
    static TFaultPlan plan;
    return plan;
}

// Counts one changing operation; raises when it is the one to stop at,
// unless it is to be torn, which the caller then does.
bool CountOperation(bool canTear) {
    TFaultPlan &plan = Plan();
    ++plan.count;
    if (plan.stopAt == 0 || plan.count != plan.stopAt)
        return false;
    if (plan.torn && canTear)
        return true;
    throw EkvxSfStop();
}

} // namespace

void TkvxSfFaults::StopAt(qint64 k, bool torn) { Plan() = {k, torn, 0}; }

void TkvxSfFaults::Reset() { Plan().stopAt = 0; }

void TkvxSfFaults::SetFlushing(bool on) { FlushingOn() = on; }

bool TkvxSfFaults::Flushing() { return FlushingOn(); }

qint64 TkvxSfFaults::Count() { return Plan().count; }

TkvxSfFile::TkvxSfFile(const QString &fileName, Mode mode) : m_fileName(fileName) {
    const QByteArray path = fileName.toLocal8Bit();
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::ReadOnly:
        flags |= O_RDONLY;
        break;
    case Mode::ReadWrite:
        flags |= O_RDWR;
        break;
    case Mode::Create:
        flags |= O_RDWR | O_CREAT | O_EXCL;
        break;
    case Mode::Replace:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    }
    if (mode == Mode::Create || mode == Mode::Replace)
        CountOperation(false);
    m_fd = ::open(path.constData(), flags, 0600);
    if (m_fd < 0)
        Fail(QStringLiteral("cannot open"));
    if (mode == Mode::ReadWrite || mode == Mode::Create)
        Lock();
}

void TkvxSfFile::Lock() {
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return;
    const int code = errno;
    ::close(m_fd);
    m_fd = -1;
    if (code == EWOULDBLOCK)
        throw EvdrError(QStringLiteral("%1 is opened for writing by another process").arg(m_fileName));
    errno = code;
    Fail(QStringLiteral("cannot lock"));
}

std::unique_ptr<TkvxSfFile> TkvxSfFile::CreateUnique(const QString &folder, const QString &prefix,
                                                     const QString &suffix) {
    CountOperation(false);
    std::unique_ptr<TkvxSfFile> file(new TkvxSfFile());
    QByteArray pattern = (folder + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX") + suffix).toLocal8Bit();
    file->m_fd = ::mkostemps(pattern.data(), int(suffix.toLocal8Bit().size()), O_CLOEXEC);
    file->m_fileName = QString::fromLocal8Bit(pattern);
    if (file->m_fd < 0)
        file->Fail(QStringLiteral("cannot create a temporary file"));
    file->Lock();
    return file;
}

void TkvxSfFile::RenameTo(const QString &target) {
    CountOperation(false);
    if (::rename(m_fileName.toLocal8Bit().constData(), target.toLocal8Bit().constData()) != 0)
        Fail(QStringLiteral("cannot rename"));
    m_fileName = target;
    // The rename itself lives in the folder: flush the folder too.
    SyncFolderOf(target);
}

void TkvxSfFile::SyncFolderOf(const QString &fileName) {
    CountOperation(false);
    if (!FlushingOn())
        return;
    const QByteArray folder = fileName.left(qMax(0, int(fileName.lastIndexOf(QLatin1Char('/'))))).toLocal8Bit();
    const int dir = ::open(folder.isEmpty() ? "/" : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void TkvxSfFile::Remove() {
    CountOperation(false);
    ::unlink(m_fileName.toLocal8Bit().constData());
}

bool TkvxSfFile::RemoveFile(const QString &fileName) {
    CountOperation(false);
    if (::unlink(fileName.toLocal8Bit().constData()) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    const int code = errno;
    throw EvdrError(QStringLiteral("cannot delete %1: %2").arg(fileName, ErrnoText(code)));
}

TkvxSfFile::~TkvxSfFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void TkvxSfFile::Fail(const QString &what) const {
    const int code = errno;
    throw EvdrError(QStringLiteral("%1 %2: %3").arg(what, m_fileName, ErrnoText(code)));
}

qint64 TkvxSfFile::Size() const {
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        Fail(QStringLiteral("cannot read the size of"));
    return st.st_size;
}

unsigned TkvxSfFile::Permissions() const {
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        Fail(QStringLiteral("cannot read the permissions of"));
    return st.st_mode & 07777;
}

void TkvxSfFile::SetPermissions(unsigned mode) {
    if (::fchmod(m_fd, mode) != 0)
        Fail(QStringLiteral("cannot set the permissions of"));
}

QByteArray TkvxSfFile::ReadAt(qint64 offset, qint64 length) const {
    if (offset < 0 || length < 0 || length > Size() - offset)
        throw EvdrError(QStringLiteral("%1 is damaged: %2 bytes at offset %3 lie outside the file")
                            .arg(m_fileName).arg(length).arg(offset));
    QByteArray bytes(length, Qt::Uninitialized);
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(m_fd, bytes.data() + done, size_t(length - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(QStringLiteral("cannot read"));
        if (n == 0)
            throw EvdrError(QStringLiteral("%1 is damaged: it ends before offset %2")
                                .arg(m_fileName).arg(offset + length));
        done += n;
    }
    return bytes;
}

void TkvxSfFile::WriteAt(qint64 offset, const QByteArray &bytes) {
    qint64 size = bytes.size();
    const bool torn = CountOperation(true);
    if (torn)
        size /= 2;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n =
            ::pwrite(m_fd, bytes.constData() + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail(QStringLiteral("cannot write"));
        done += n;
    }
    if (torn)
        throw EkvxSfStop();
}

void TkvxSfFile::Truncate(qint64 length) {
    CountOperation(false);
    while (::ftruncate(m_fd, off_t(length)) != 0) {
        if (errno != EINTR)
            Fail(QStringLiteral("cannot cut"));
    }
}

void TkvxSfFile::Sync() {
    CountOperation(false);
    if (!FlushingOn())
        return;
    if (::fdatasync(m_fd) != 0)
        Fail(QStringLiteral("cannot flush"));
}
