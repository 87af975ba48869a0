#include "vdrPrivateFile.h"

#include "vdrError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

TvdrPrivateFile::TvdrPrivateFile(const QString &fileName) : m_fileName(fileName) {}

TvdrPrivateFile::~TvdrPrivateFile() {
    Discard();
}

void TvdrPrivateFile::Open() {
    const QFileInfo target(m_fileName);
    // mkostemp creates the file with 0600, less what the umask takes away.
    m_tempName = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                   QStringLiteral(".XXXXXX"));
    m_fd = ::mkostemp(m_tempName.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_tempName.clear();
        throw EvdrError(QStringLiteral("cannot create %1: %2").arg(m_fileName, qt_error_string(errno)));
    }
    m_error = 0;
    m_written = 0;
    m_writebackFrom = 0;
    QIODevice::open(QIODevice::WriteOnly);
}

qint64 TvdrPrivateFile::readData(char *, qint64) {
    return -1;
}

qint64 TvdrPrivateFile::writeData(const char *data, qint64 size) {
    qint64 left = size;
    while (left > 0 && m_error == 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        // A short write on a regular file means the disk is full.
        if (written <= 0)
            m_error = written == 0 ? ENOSPC : errno;
        else
            data += written, left -= written;
    }
    if (m_error != 0) {
        setErrorString(qt_error_string(m_error));
        return -1;
    }
    m_written += size;
    // The disk starts on what is written while the rest is still being
    // made, so that Commit's flush finds little left to wait for. Only a
    // hint: the flush still decides.
    if (m_written - m_writebackFrom >= kWritebackStep) {
        ::sync_file_range(m_fd, m_writebackFrom, m_written - m_writebackFrom, SYNC_FILE_RANGE_WRITE);
        m_writebackFrom = m_written;
    }
    return size;
}

void TvdrPrivateFile::Commit() {
    int code = m_error;
    if (code == 0 && ::fsync(m_fd) != 0)
        code = errno;
    if (::close(m_fd) != 0 && code == 0)
        code = errno;
    m_fd = -1;
    QIODevice::close();
    if (code != 0) {
        Discard();
        throw EvdrError(QStringLiteral("cannot write %1: %2").arg(m_fileName, qt_error_string(code)));
    }
    if (::rename(m_tempName.constData(), QFile::encodeName(m_fileName).constData()) != 0) {
        code = errno;
        Discard();
        throw EvdrError(QStringLiteral("cannot replace %1: %2").arg(m_fileName, qt_error_string(code)));
    }
    m_tempName.clear();
}

void TvdrPrivateFile::Discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (isOpen())
        QIODevice::close();
    if (!m_tempName.isEmpty())
        ::unlink(m_tempName.constData());
    m_tempName.clear();
}
