#include "vdrCmRtn.h"

#include "vdrSingleton.h"

#include <QSysInfo>

#include <cerrno>
#include <charconv>
#include <cstring>

TvdrCmRtn::TvdrCmRtn() {
    TvdrSingleton<TvdrCmRtn>::CheckCreation("CmRtn");
    // The version table knows only platforms this build does not run on, so
    // the type stays 0; the service-pack text names the system that runs,
    // which is what a problem report needs.
    m_servicePack = QStringLiteral("%1, %2 %3")
                        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion())
                        .left(128);
}

TvdrCmRtn &CmRtn() {
    return TvdrSingleton<TvdrCmRtn>::Instance();
}

QString TvdrCmRtn::FormatKey(int n) {
    QString key;
    AppendKey(key, n);
    return key;
}

void TvdrCmRtn::AppendKey(QString &text, int n) {
    // Built in one buffer and appended once: keys are made for every row of
    // an import, and each append of a character costs a capacity check.
    char key[kKeyBytes];
    text.append(QLatin1String(key, FormatKey(n, key)));
}

qsizetype TvdrCmRtn::FormatKey(int n, char (&key)[kKeyBytes]) {
    const qint64 magnitude = n < 0 ? -qint64(n) : qint64(n);
    char digits[24];
    const qsizetype length = std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits;
    qsizetype at = 0;
    if (n < 0)
        key[at++] = '-';
    for (qsizetype pad = length; pad < 7; ++pad)
        key[at++] = '0';
    std::memcpy(key + at, digits, size_t(length));
    return at + length;
}

bool TvdrCmRtn::IsKey(const QString &text, bool negative) {
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    return ok && (negative || n >= 0) && FormatKey(n) == text;
}

int TvdrCmRtn::FieldCount(const QString &text, QChar delimiter) {
    return int(text.count(delimiter)) + 1;
}

QString TvdrCmRtn::GetField(int n, const QString &text, QChar delimiter) {
    if (n < 1)
        return QString();
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) {
        const qsizetype next = text.indexOf(delimiter, start);
        if (next < 0)
            return QString();
        start = next + 1;
    }
    const qsizetype end = text.indexOf(delimiter, start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

QString TvdrCmRtn::OsName(int osType) {
    switch (osType) {
    case 0:
        return QStringLiteral("Not Supported");
    case 1:
        return QStringLiteral("Windows 95");
    case 2:
        return QStringLiteral("Windows 98");
    case 3:
        return QStringLiteral("Windows ME");
    case 4:
        return QStringLiteral("Windows NT4");
    case 5:
        return QStringLiteral("Windows 2000");
    case 6:
        return QStringLiteral("Windows XP");
    case 7:
        return QStringLiteral("Windows .NET");
    default:
        return QStringLiteral("unknown");
    }
}

QString TvdrCmRtn::LastErrorText() {
    return ErrorText(errno);
}

QString TvdrCmRtn::ErrorText(int code) {
    return QStringLiteral("[%1]-%2").arg(code).arg(QString::fromLocal8Bit(std::strerror(code)));
}
