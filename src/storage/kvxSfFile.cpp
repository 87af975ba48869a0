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

} // namespace

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
    }
    m_fd = ::open(path.constData(), flags, 0600);
    if (m_fd < 0)
        Fail(QStringLiteral("cannot open"));
    if (mode != Mode::ReadOnly)
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
    if (::rename(m_fileName.toLocal8Bit().constData(), target.toLocal8Bit().constData()) != 0)
        Fail(QStringLiteral("cannot rename"));
    m_fileName = target;
    // The rename itself lives in the folder: flush the folder too.
    const QByteArray folder = target.left(qMax(0, int(target.lastIndexOf(QLatin1Char('/'))))).toLocal8Bit();
    const int dir = ::open(folder.isEmpty() ? "/" : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void TkvxSfFile::Remove() { ::unlink(m_fileName.toLocal8Bit().constData()); }

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

void TkvxSfFile::Truncate(qint64 length) {
    while (::ftruncate(m_fd, off_t(length)) != 0) {
        if (errno != EINTR)
            Fail(QStringLiteral("cannot cut"));
    }
}

void TkvxSfFile::Sync() {
    if (::fdatasync(m_fd) != 0)
        Fail(QStringLiteral("cannot flush"));
}
