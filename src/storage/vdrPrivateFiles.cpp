#include "vdrPrivateFiles.h"

#include "vdrError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

QString SystemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

namespace vdrPrivateFiles {

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
