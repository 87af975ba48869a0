#include "vdrTestSupport.h"

#include "vdrError.h"

#include <QFile>
#include <stdexcept>

TvdrTempFolder::TvdrTempFolder() : m_dir(std::make_unique<QTemporaryDir>()) {
    if (!m_dir->isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QByteArray ReadWholeFile(const QString &fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + fileName).toStdString());
    return f.readAll();
}

void WriteWholeFile(const QString &fileName, const QByteArray &bytes) {
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error(("cannot write " + fileName).toStdString());
}

QString TestDataFile(const QString &name) {
    return QStringLiteral(VANDOR_TEST_DATA "/") + name;
}

std::string ErrorMessageOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const EvdrError &e) {
        return e.what();
    }
    return "(no error)";
}

QByteArray TocRecords(int count, int firstOffset) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(firstOffset + i) + "\x01" "1\x01" "0\x01" "0\x01" "S" + QByteArray::number(i) + '\x02';
    return text;
}
