#include "kvxVersInfo.h"

#include "vdrBuildInfo.h"
#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrSingleton.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

TkvxVersInfo::TkvxVersInfo() {
    TvdrSingleton<TkvxVersInfo>::CheckCreation("VersInfo");
}

TkvxVersInfo &VersInfo() {
    return TvdrSingleton<TkvxVersInfo>::Instance();
}

QString TkvxVersInfo::ProgramFile() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

void TkvxVersInfo::SetFileName(const QString &name) {
    const QFileInfo file(name);
    m_fileName = name;
    m_found = file.exists();
    m_fileDate = m_found ? file.lastModified() : QDateTime();
    m_fileSize = m_found ? file.size() : 0;
    m_hasBlock = m_found && file.canonicalFilePath() == ProgramFile();
    if (!m_found)
        throw EvdrError(QStringLiteral("File %1 not found or not accessible").arg(file.fileName()));
    if (!m_hasBlock)
        throw EvdrError(QStringLiteral("File %1 has no version information").arg(file.fileName()));
}

QString TkvxVersInfo::StringValue(const QString &name) const {
    if (m_fileName.isEmpty())
        throw EvdrError("No file specified");
    if (!m_hasBlock)
        return QString();
    if (name == QLatin1String("ProductName"))
        return QStringLiteral(VANDOR_PRODUCT_NAME);
    if (name == QLatin1String("LegalCopyright"))
        return QString::fromUtf8(VANDOR_LEGAL_COPYRIGHT);
    if (name == QLatin1String("FileVersion"))
        return QStringLiteral(VANDOR_FILE_VERSION);
    return QString();
}

QString TkvxVersInfo::FileDateText() const {
    if (!m_found)
        return QStringLiteral("DATE UNKNOWN");
    if (!m_fileDate.isValid())
        return QStringLiteral("BAD FILE DATE");
    return QLocale::system().toString(m_fileDate, QStringLiteral("yyyy-MMM-dd hh:mm:ss"));
}

QString TkvxVersInfo::FileSizeText() const {
    return m_found ? TvdrFormatSettings::Current().Grouped(m_fileSize) : QStringLiteral("0");
}

QString TkvxVersInfo::FindOnPath(const QString &name) {
    const QStringList folders = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &folder : folders) {
        const QFileInfo file(QDir(folder), name);
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return QString();
}
