#include "kvxSfStatus.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

TkvxSfStatus FromStat(int rc, const struct stat &st) {
    TkvxSfStatus status;
    if (rc != 0)
        return status;
    status.Found = true;
    status.Regular = S_ISREG(st.st_mode);
    status.Permissions = unsigned(st.st_mode & 07777);
    status.Device = quint64(st.st_dev);
    status.Inode = quint64(st.st_ino);
    status.Size = qint64(st.st_size);
    return status;
}

// statx, or the plain stat where the kernel lacks it.
TkvxSfStatus Query(int dirFd, const char *path, int flags) {
    struct statx sx;
    if (::statx(dirFd, path, flags, STATX_MODE | STATX_INO | STATX_SIZE, &sx) == 0) {
        TkvxSfStatus status;
        status.Found = true;
        status.Regular = S_ISREG(sx.stx_mode);
        status.Permissions = unsigned(sx.stx_mode & 07777);
        status.Device = quint64(makedev(sx.stx_dev_major, sx.stx_dev_minor));
        status.Inode = quint64(sx.stx_ino);
        status.Size = qint64(sx.stx_size);
        return status;
    }
    if (errno != ENOSYS)
        return {};
    struct stat st;
    return FromStat(::fstatat(dirFd, path, &st, flags), st);
}

} // namespace

TkvxSfStatus TkvxSfStatus::Of(int fd) {
    return Query(fd, "", AT_EMPTY_PATH);
}

TkvxSfStatus TkvxSfStatus::Of(const QString &fileName, bool followLink) {
    return Query(AT_FDCWD, fileName.toLocal8Bit().constData(), followLink ? 0 : AT_SYMLINK_NOFOLLOW);
}
