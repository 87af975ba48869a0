#include "vdrPrivateFiles.h"

#include "vdrError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// Writes all of `bytes` to `fd`; the error number of the first failure, or 0.
int WriteAll(int fd, const QByteArray &bytes) {
    const char *p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        // A short write on a regular file means the disk is full.
        if (written == 0)
            return ENOSPC;
        p += written;
        left -= written;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

} // namespace

namespace vdrPrivateFiles {

void ReplaceFile(const QString &fileName, const QByteArray &bytes) {
    const QFileInfo target(fileName);
    // mkostemp creates the file with 0600, less what the umask takes away.
    QByteArray temp = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                        QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        throw EvdrError(QStringLiteral("cannot create %1: %2").arg(fileName, SystemReason(errno)));
    int code = WriteAll(fd, bytes);
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(temp.constData(), QFile::encodeName(fileName).constData()) != 0) {
        const int renameCode = errno;
        ::unlink(temp.constData());
        throw EvdrError(QStringLiteral("cannot replace %1: %2").arg(fileName, SystemReason(renameCode)));
    }
    if (code != 0) {
        ::unlink(temp.constData());
        throw EvdrError(QStringLiteral("cannot write %1: %2").arg(fileName, SystemReason(code)));
    }
}

void MakeFolder(const QString &folder) {
    const QFileInfo info(folder);
    if (info.isDir())
        return;
    if (info.exists())
        throw EvdrError(QStringLiteral("%1 is not a folder").arg(folder));
    MakeFolder(info.absolutePath());
    // The umask takes its share of these permissions, as it does of files'.
    if (::mkdir(QFile::encodeName(info.absoluteFilePath()).constData(), 0700) != 0 && errno != EEXIST)
        throw EvdrError(QStringLiteral("cannot create the folder %1: %2").arg(folder, SystemReason(errno)));
}

} // namespace vdrPrivateFiles
