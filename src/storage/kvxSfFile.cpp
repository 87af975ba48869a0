#include "kvxSfFile.h"

#include "vdrError.h"

#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kUncheckedRead = 1 << 20;

QString ErrnoText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// The change lock lies far past any byte the format can address, so it never
// covers data.
constexpr off_t kChangeLockOffset = off_t(1) << 40;

int &LockWaitMs() {
    static int wait = 10000;
    return wait;
}

// True when a planned failure stands in for the system call; errno then
// holds its error, as the call's own failure would leave it.
bool PlannedFailure(bool isFlush = false) {
    if (TkvxSfFaults::Next(false, isFlush) != TkvxSfFaults::TOutcome::Fail)
        return false;
    errno = TkvxSfFaults::FailError();
    return true;
}

} // namespace

TkvxSfFile::TkvxSfFile(const QString &fileName, Mode mode) : m_fileName(fileName) {
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
    case Mode::CreateNew:
        flags |= O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
        break;
    case Mode::ReadPlain:
        flags |= O_RDONLY | O_NOFOLLOW | O_NONBLOCK;
        break;
    }
    if (mode == Mode::Create || mode == Mode::CreateNew)
        CheckFault(QStringLiteral("cannot create"));
    if (mode != Mode::ReadWrite) {
        OpenOnce(flags);
        if (mode == Mode::Create)
            Lock();
        if (mode == Mode::ReadPlain) {
            if (!Status().Regular) {
                ::close(m_fd);
                m_fd = -1;
                throw EvdrError(QStringLiteral("%1 is not a regular file").arg(m_fileName));
            }
        }
        return;
    }
    // The file locked must be the one the name leads to once the lock is
    // held: a writer that locked a file renamed away would write into
    // nothing.
    for (int attempt = 0;; ++attempt) {
        OpenOnce(flags);
        TkvxSfFaults::RunBeforeLock();
        Lock();
        if (IsAt(m_fileName))
            return;
        ::close(m_fd);
        m_fd = -1;
        if (attempt == 20)
            throw EvdrError(QStringLiteral("%1 keeps being replaced while it is opened").arg(m_fileName));
    }
}

void TkvxSfFile::OpenOnce(int flags) {
    m_fd = ::open(m_fileName.toLocal8Bit().constData(), flags, 0600);
    if (m_fd < 0)
        Fail((flags & O_CREAT) ? QStringLiteral("cannot create") : QStringLiteral("cannot open"));
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

bool TkvxSfFile::IsAt(const QString &fileName) const {
    return Status().IsSameFileAs(TkvxSfStatus::Of(fileName, true));
}

void TkvxSfFile::LockChanges(bool alone) {
    struct flock range {};
    range.l_type = alone ? F_WRLCK : F_RDLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kChangeLockOffset;
    range.l_len = 1;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::fcntl(m_fd, F_OFD_SETLK, &range) == 0)
            return;
        // A file system without byte-range locks leaves only the write lock.
        if (errno == EINVAL || errno == ENOLCK || errno == EOPNOTSUPP)
            return;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            Fail(QStringLiteral("cannot lock"));
        if (waited.elapsed() >= LockWaitMs())
            throw EvdrError(
                QStringLiteral("%1 is being changed or read by another process; try again").arg(m_fileName));
        ::usleep(2000);
    }
}

void TkvxSfFile::UnlockChanges() {
    struct flock range {};
    range.l_type = F_UNLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kChangeLockOffset;
    range.l_len = 1;
    ::fcntl(m_fd, F_OFD_SETLK, &range);
}

void TkvxSfFile::SetLockWait(int milliseconds) {
    LockWaitMs() = milliseconds;
}

int TkvxSfFile::LockWait() {
    return LockWaitMs();
}

std::unique_ptr<TkvxSfFile> TkvxSfFile::CreateUnique(const QString &folder, const QString &prefix,
                                                     const QString &suffix) {
    std::unique_ptr<TkvxSfFile> file(new TkvxSfFile());
    QByteArray pattern =
        (folder + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX") + suffix).toLocal8Bit();
    file->m_fileName = QString::fromLocal8Bit(pattern);
    file->CheckFault(QStringLiteral("cannot create a temporary file"));
    file->m_fd = ::mkostemps(pattern.data(), int(suffix.toLocal8Bit().size()), O_CLOEXEC);
    file->m_fileName = QString::fromLocal8Bit(pattern);
    if (file->m_fd < 0)
        file->Fail(QStringLiteral("cannot create a temporary file"));
    file->Lock();
    return file;
}

void TkvxSfFile::RenameTo(const QString &target) {
    CheckFault(QStringLiteral("cannot rename"));
    if (::rename(m_fileName.toLocal8Bit().constData(), target.toLocal8Bit().constData()) != 0)
        Fail(QStringLiteral("cannot rename"));
    m_fileName = target;
    // The rename itself lives in the folder: flush the folder too.
    SyncFolderOf(target);
}

void TkvxSfFile::SyncFolderOf(const QString &fileName) {
    const QString folderName = fileName.left(qMax(0, int(fileName.lastIndexOf(QLatin1Char('/')))));
    const QString shown = folderName.isEmpty() ? QStringLiteral("/") : folderName;
    if (PlannedFailure(true))
        throw EvdrError(QStringLiteral("cannot flush the folder %1: %2").arg(shown, ErrnoText(errno)));
    if (!TkvxSfFaults::Flushing())
        return;
    const int dir = ::open(shown.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || ::fsync(dir) != 0) {
        const int code = errno;
        if (dir >= 0)
            ::close(dir);
        throw EvdrError(QStringLiteral("cannot flush the folder %1: %2").arg(shown, ErrnoText(code)));
    }
    ::close(dir);
}

void TkvxSfFile::Remove() {
    TkvxSfFaults::Next(false);
    ::unlink(m_fileName.toLocal8Bit().constData());
}

bool TkvxSfFile::RemoveFile(const QString &fileName) {
    if (!PlannedFailure() && ::unlink(fileName.toLocal8Bit().constData()) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    const int code = errno;
    throw EvdrError(QStringLiteral("cannot delete %1: %2").arg(fileName, ErrnoText(code)));
}

void TkvxSfFile::MoveFile(const QString &from, const QString &to) {
    if (!PlannedFailure() && ::renameat2(AT_FDCWD, from.toLocal8Bit().constData(), AT_FDCWD,
                                         to.toLocal8Bit().constData(), RENAME_NOREPLACE) == 0)
        return;
    const int code = errno;
    throw EvdrError(QStringLiteral("cannot rename %1 to %2: %3").arg(from, to, ErrnoText(code)));
}

TkvxSfFile::~TkvxSfFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void TkvxSfFile::CheckFault(const QString &what) const {
    if (PlannedFailure())
        Fail(what);
}

void TkvxSfFile::Fail(const QString &what) const {
    const int code = errno;
    throw EvdrError(QStringLiteral("%1 %2: %3").arg(what, m_fileName, ErrnoText(code)));
}

TkvxSfStatus TkvxSfFile::Status() const {
    const TkvxSfStatus status = TkvxSfStatus::Of(m_fd);
    if (!status.Found)
        Fail(QStringLiteral("cannot read the status of"));
    return status;
}

qint64 TkvxSfFile::Size() const {
    return Status().Size;
}

unsigned TkvxSfFile::Permissions() const {
    return Status().Permissions;
}

void TkvxSfFile::SetPermissions(unsigned mode) {
    if (::fchmod(m_fd, mode) != 0)
        Fail(QStringLiteral("cannot set the permissions of"));
}

QByteArray TkvxSfFile::ReadAt(qint64 offset, qint64 length) const {
    // A large read is held against the size before its room is taken, so
    // that a damaged length cannot take gigabytes; a short one finds out
    // when it ends early.
    if (offset < 0 || length < 0 || (length > kUncheckedRead && length > Size() - offset))
        throw OutsideTheFile(offset, length);
    QByteArray bytes(length, Qt::Uninitialized);
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(m_fd, bytes.data() + done, size_t(length - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(QStringLiteral("cannot read"));
        if (n == 0) {
            // Asked for only now: a read that fits costs no look at the size.
            if (length > Size() - offset)
                throw OutsideTheFile(offset, length);
            throw EvdrError(QStringLiteral("%1 is damaged: it ends before offset %2")
                                .arg(m_fileName)
                                .arg(offset + length));
        }
        done += n;
    }
    return bytes;
}

EvdrError TkvxSfFile::OutsideTheFile(qint64 offset, qint64 length) const {
    return EvdrError(QStringLiteral("%1 is damaged: %2 bytes at offset %3 lie outside the file")
                         .arg(m_fileName)
                         .arg(length)
                         .arg(offset));
}

void TkvxSfFile::WriteAt(qint64 offset, const QByteArray &bytes) {
    qint64 size = bytes.size();
    const TkvxSfFaults::TOutcome outcome = TkvxSfFaults::Next(true);
    if (outcome == TkvxSfFaults::TOutcome::Fail) {
        errno = TkvxSfFaults::FailError();
        Fail(QStringLiteral("cannot write"));
    }
    const bool torn = outcome == TkvxSfFaults::TOutcome::Tear;
    if (torn)
        size /= 2;
    WriteAll(offset, QByteArrayView(bytes).first(size));
    if (torn)
        throw EkvxSfStop();
}

void TkvxSfFile::WriteAll(qint64 offset, QByteArrayView bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(m_fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail(QStringLiteral("cannot write"));
        done += n;
    }
}

void TkvxSfFile::CopyFrom(const TkvxSfFile &source, qint64 from, qint64 length, qint64 offset) {
    if (from < 0 || length < 0 || length > source.Size() - from)
        throw EvdrError(QStringLiteral("%1 is damaged: %2 bytes at offset %3 lie outside the file")
                            .arg(source.m_fileName)
                            .arg(length)
                            .arg(from));
    const TkvxSfFaults::TOutcome outcome = TkvxSfFaults::Next(true);
    if (outcome == TkvxSfFaults::TOutcome::Fail) {
        errno = TkvxSfFaults::FailError();
        Fail(QStringLiteral("cannot write"));
    }
    const bool torn = outcome == TkvxSfFaults::TOutcome::Tear;
    const qint64 size = torn ? length / 2 : length;
    loff_t in = from;
    loff_t out = offset;
    while (in < from + size) {
        const ssize_t n = ::copy_file_range(source.m_fd, &in, m_fd, &out, size_t(from + size - in), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)) {
            // Across file systems or kernels that cannot: the bytes come
            // through memory instead.
            WriteAll(out, source.ReadAt(in, from + size - in));
            break;
        }
        if (n < 0)
            Fail(QStringLiteral("cannot write"));
        if (n == 0)
            throw EvdrError(QStringLiteral("%1 is damaged: it ends before offset %2")
                                .arg(source.m_fileName)
                                .arg(from + length));
        in += n;
        out += n;
    }
    if (torn)
        throw EkvxSfStop();
}

void TkvxSfFile::Truncate(qint64 length) {
    CheckFault(QStringLiteral("cannot cut"));
    while (::ftruncate(m_fd, off_t(length)) != 0) {
        if (errno != EINTR)
            Fail(QStringLiteral("cannot cut"));
    }
}

void TkvxSfFile::Sync() {
    if (PlannedFailure(true))
        Fail(QStringLiteral("cannot flush"));
    if (!TkvxSfFaults::Flushing())
        return;
    if (::fdatasync(m_fd) != 0)
        Fail(QStringLiteral("cannot flush"));
}
