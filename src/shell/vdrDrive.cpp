#include "vdrDrive.h"

#include <QDir>
#include <QFile>

namespace {

QStringList &Override() {
    static QStringList points;
    return points;
}

// Field 5 of /proc/self/mountinfo is the mount point, with blanks and the
// like written as octal escapes.
QString Unescape(const QByteArray &field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QString::fromLocal8Bit(out);
}

QStringList SystemMountPoints() {
    QStringList points;
    QFile info(QStringLiteral("/proc/self/mountinfo"));
    if (!info.open(QIODevice::ReadOnly))
        return points;
    for (const QByteArray &line : info.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4)
            points << Unescape(fields[4]);
    }
    return points;
}

bool IsUnder(const QString &path, const QString &folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

QStringList MountPoints() {
    return Override().isEmpty() ? SystemMountPoints() : Override();
}

void SetMountPoints(const QStringList &mountPoints) {
    Override() = mountPoints;
}

QString DriveOf(const QString &absolutePath) {
    const QString path = QDir::cleanPath(absolutePath);
    QString best;
    for (const QString &point : MountPoints()) {
        const QString p = QDir::cleanPath(point);
        if (p != QLatin1String("/") && IsUnder(path, p) && p.size() > best.size())
            best = p;
    }
    return best;
}
