#include "vdrExtFiles.h"

#include "vdrDrive.h"
#include "vdrError.h"
#include "vdrProgramFolder.h"
#include "vdrSingleton.h"
#include "vdrStrUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kAppPath = QStringLiteral("{AppPath}");
const QString kAppDrive = QStringLiteral("{AppDrive}");
const QString kDBPath = QStringLiteral("Files/DBPath");
const QString kLogPath = QStringLiteral("Files/LogPath");
const QString kDBFile = QStringLiteral("Vandor.dat");
const QString kLogFile = QStringLiteral("vdrLog.txt");

QString WithoutTrailingSlash(QString folder) {
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

QString ReplaceIgnoringCase(QString text, const QString &macro, const QString &value) {
    return text.replace(macro, value, Qt::CaseInsensitive);
}

} // namespace

TvdrExtFiles::TvdrExtFiles() {
    TvdrSingleton<TvdrExtFiles>::CheckCreation("ExtFiles");
}

TvdrExtFiles &ExtFiles() {
    return TvdrSingleton<TvdrExtFiles>::Instance();
}

QString TvdrExtFiles::IniFileName() const {
    return SettingsFolder() + QLatin1Char('/') + ProgramName() + QStringLiteral(".ini");
}

QString TvdrExtFiles::Read(const QString &key, const QString &fallback) const {
    QSettings ini(IniFileName(), QSettings::IniFormat);
    return ini.value(key, fallback).toString();
}

void TvdrExtFiles::Write(const QString &key, const QString &value) {
    QDir().mkpath(SettingsFolder());
    QSettings ini(IniFileName(), QSettings::IniFormat);
    ini.setValue(key, value);
    ini.sync();
    if (ini.status() != QSettings::NoError)
        throw EvdrError(QStringLiteral("cannot write %1").arg(IniFileName()));
}

// Paths on this system are case-sensitive, so the program's folder is
// matched exactly: two folders differing only in case are different folders.
QString TvdrExtFiles::EncodeFolder(const QString &folder) const {
    const QString app = WithoutTrailingSlash(ProgramFolder());
    const QString appDrive = DriveOf(app);
    QString f = WithoutTrailingSlash(QFileInfo(folder).absoluteFilePath());
    if (f == app) {
        f = kAppPath;
    } else if (!appDrive.isEmpty() && DriveOf(f) == appDrive) {
        f = kAppDrive + f.mid(appDrive.size());
    }
    return f.endsWith(QLatin1Char('/')) ? f : f + QLatin1Char('/');
}

QString TvdrExtFiles::DecodeFolder(const QString &storedFile) const {
    const qsizetype slash = storedFile.lastIndexOf(QLatin1Char('/'));
    QString f = Trim(WithoutTrailingSlash(slash < 0 ? QString() : storedFile.left(slash + 1)));
    const QString app = WithoutTrailingSlash(ProgramFolder());
    if (f.isEmpty())
        return app;
    f = ReplaceIgnoringCase(f, kAppDrive, DriveOf(app));
    f = ReplaceIgnoringCase(f, kAppPath, app);
    return f;
}

void TvdrExtFiles::SetDBFolder(const QString &folder) {
    Write(kDBPath, EncodeFolder(folder) + kDBFile);
    DeleteOldSettings();
}

QString TvdrExtFiles::DBFolder() const {
    return DecodeFolder(Read(kDBPath));
}

QString TvdrExtFiles::DBFileName() const {
    return QDir::cleanPath(DBFolder() + QLatin1Char('/') + kDBFile);
}

bool TvdrExtFiles::NoDBPath() const {
    return Trim(Read(kDBPath)).isEmpty();
}

void TvdrExtFiles::ClearDBPath() {
    Write(kDBPath, QString());
}

void TvdrExtFiles::SetLogFolder(const QString &folder) {
    Write(kLogPath, EncodeFolder(folder) + kLogFile);
}

QString TvdrExtFiles::LogFolder() const {
    return DecodeFolder(Read(kLogPath));
}

QString TvdrExtFiles::LogFileName() const {
    return QDir::cleanPath(LogFolder() + QLatin1Char('/') + kLogFile);
}

QString TvdrExtFiles::InitialTreeState() const {
    return Read(QStringLiteral("Options/InitialTreeState"), QStringLiteral("FullExpansion"));
}

bool TvdrExtFiles::ExpandCarsOnly() const {
    return InitialTreeState().compare(QLatin1String("ExpandCarsOnly"), Qt::CaseInsensitive) == 0;
}

QString TvdrExtFiles::VersionCheckURL() const {
    return Trim(Read(QStringLiteral("Internet/VersionCheckURL")));
}
