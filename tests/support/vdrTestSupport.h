#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>

// A fresh folder per test, removed afterwards.
class TvdrTempFolder {
public:
    TvdrTempFolder();
    QString Path() const { return m_dir->path(); }
    QString File(const QString &name) const { return m_dir->filePath(name); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QByteArray ReadWholeFile(const QString &fileName);
void WriteWholeFile(const QString &fileName, const QByteArray &bytes);

// The message of the EvdrError that `action` raises, or "(no error)".
std::string ErrorMessageOf(const std::function<void()> &action);

// TOC text records of `count` one-byte streams "S0", "S1"... from offset
// `firstOffset` on, each followed by its 0x02 separator.
QByteArray TocRecords(int count, int firstOffset = 4);

// Path of a file under tests/data.
QString TestDataFile(const QString &name);

#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray &bytes, std::ostream *os) {
    *os << '"' << bytes.toPercentEncoding(" =\t").toStdString() << '"';
}
