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
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()));
    if (bytes.size() > maxBytes)
        throw EvdrError(
            QStringLiteral("%1 is more than the %2 bytes %3 may have").arg(fileName).arg(maxBytes).arg(what));
    return bytes;
}

} // namespace vdrRegularFile
