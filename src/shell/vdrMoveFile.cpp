#include "vdrMoveFile.h"

#include "vdrCmRtn.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

QString MoveFileNoReplace(const QString &source, const QString &target) {
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return TvdrCmRtn::ErrorText(errno ? errno : EACCES);
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    // A hard link fails when the target exists, so nothing is ever replaced;
    // the source goes once the target is in place.
    if (::link(from.constData(), to.constData()) == 0) {
        if (::unlink(from.constData()) != 0) {
            const int code = errno;
            ::unlink(to.constData());
            return TvdrCmRtn::ErrorText(code);
        }
        return QString();
    }
    const int code = errno;
    if (code != EXDEV && code != EPERM && code != ENOTSUP)
        return TvdrCmRtn::ErrorText(code);
    // Another file system (or one without links): copy, then remove.
    if (QFileInfo::exists(target))
        return TvdrCmRtn::ErrorText(EEXIST);
    QFile file(source);
    if (!file.copy(target))
        return QStringLiteral("[%1]-%2").arg(int(file.error())).arg(file.errorString());
    if (!QFile::remove(source)) {
        QFile::remove(target);
        return TvdrCmRtn::ErrorText(EACCES);
    }
    return QString();
}
