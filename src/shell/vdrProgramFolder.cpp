#include "vdrProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString &Override() {
    static QString folder;
    return folder;
}

QString ExecutableFolder() {
    // Works before (and without) a QCoreApplication.
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    return QDir::cleanPath(QFileInfo(exe.symLinkTarget()).absolutePath());
}

} // namespace

QString ProgramFolder() {
    if (!Override().isEmpty())
        return Override();
    static const QString folder = ExecutableFolder();
    return folder;
}

void SetProgramFolder(const QString &folder) {
    Override() = folder.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

namespace {

QString &NameOverride() {
    static QString name;
    return name;
}

} // namespace

QString ProgramName() {
    if (!NameOverride().isEmpty())
        return NameOverride();
    static const QString name =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).completeBaseName();
    return name;
}

void SetProgramName(const QString &name) { NameOverride() = name; }
