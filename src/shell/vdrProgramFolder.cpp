#include "vdrProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

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

void SetProgramName(const QString &name) {
    NameOverride() = name;
}

namespace {

int &WritableOverride() {
    static int writable = -1;
    return writable;
}

} // namespace

bool ProgramFolderWritable() {
    if (WritableOverride() >= 0)
        return WritableOverride() == 1;
    return ::access(QFile::encodeName(ProgramFolder()).constData(), W_OK) == 0;
}

void SetProgramFolderWritable(int writable) {
    WritableOverride() = writable;
}

namespace {

QString &ConfigOverride() {
    static QString folder;
    return folder;
}

QString &DataOverride() {
    static QString folder;
    return folder;
}

QString XdgFolder(QStandardPaths::StandardLocation location) {
    return QDir::cleanPath(QStandardPaths::writableLocation(location) + QStringLiteral("/Vandor"));
}

} // namespace

QString UserConfigFolder() {
    return ConfigOverride().isEmpty() ? XdgFolder(QStandardPaths::GenericConfigLocation) : ConfigOverride();
}

void SetUserConfigFolder(const QString &folder) {
    ConfigOverride() = folder;
}

QString UserDataFolder() {
    return DataOverride().isEmpty() ? XdgFolder(QStandardPaths::GenericDataLocation) : DataOverride();
}

void SetUserDataFolder(const QString &folder) {
    DataOverride() = folder;
}

QString SettingsFolder() {
    return ProgramFolderWritable() ? ProgramFolder() : UserConfigFolder();
}

QString DefaultDataFolder() {
    return ProgramFolderWritable() ? ProgramFolder() : UserDataFolder();
}
