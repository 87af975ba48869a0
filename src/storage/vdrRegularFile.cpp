#include "vdrRegularFile.h"

#include "vdrError.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

namespace vdrRegularFile {

void Open(QFile &file, const QString &fileName) {
    // Without O_NONBLOCK, opening a pipe would wait for a writer.
    const int fd =
        ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int code = errno;
        if (code == ENOENT)
            throw EvdrError(QStringLiteral("%1 does not exist").arg(fileName));
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(fileName, SystemReason(code)));
    }
    struct stat st {};
    QString problem;
    if (::fstat(fd, &st) != 0)
        problem = QStringLiteral("cannot read %1: %2").arg(fileName, SystemReason(errno));
    else if (S_ISDIR(st.st_mode))
        problem = QStringLiteral("%1 is a folder, not a file").arg(fileName);
    else if (!S_ISREG(st.st_mode))
        problem =
            QStringLiteral("%1 is not a regular file: pipes, devices and sockets are not read").arg(fileName);
    else if (::fcntl(fd, F_SETFL, 0) != 0)
        problem = QStringLiteral("cannot read %1: %2").arg(fileName, SystemReason(errno));
    if (!problem.isEmpty()) {
        ::close(fd);
        throw EvdrError(problem);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()));
    }
}

QByteArray ReadAll(const QString &fileName, qint64 maxBytes, const QString &what) {
    QFile file;
    Open(file, fileName);
    if (file.size() > maxBytes)
        throw EvdrError(QStringLiteral("%1 is %2 bytes, more than the %3 bytes %4 may have")
                            .arg(fileName)
                            .arg(file.size())
                            .arg(maxBytes)
                            .arg(what));
    // Read with the limit too: the file may grow after its size was taken.
    // Room is made for the size it has, not for the limit, which may be far
    // more.
    QByteArray bytes(qMin(file.size(), maxBytes) + 1, Qt::Uninitialized);
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > maxBytes)
                break;
            bytes.resize(qMin(2 * got, maxBytes + 1));
        }
        const qint64 read = file.read(bytes.data() + got, bytes.size() - got);
        if (read < 0)
            throw EvdrError(QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()));
        if (read == 0)
            break;
        got += read;
    }
    bytes.resize(got);
    if (bytes.size() > maxBytes)
        throw EvdrError(
            QStringLiteral("%1 is more than the %2 bytes %3 may have").arg(fileName).arg(maxBytes).arg(what));
    return bytes;
}

} // namespace vdrRegularFile
