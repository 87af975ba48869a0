#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <string>

class TkvxStreamFile;

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

// `size` bytes from `seed`, a third of them letters, so that they compress
// somewhat.
QByteArray SeededBytes(int size, unsigned seed);

// Every stream in use of an open container, by Id.
std::map<QString, QByteArray> StreamsOf(TkvxStreamFile &db);

// Runs `writer` in a child process and kills it (SIGKILL) after
// `microseconds`. The writer reports through the pipe it is given and never
// returns. Gives all it reported; fails the test when the child ended before
// the kill.
QByteArray RunKilledAfter(const std::function<void(int pipe)> &writer, unsigned microseconds);

#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray &bytes, std::ostream *os) {
    *os << '"' << bytes.toPercentEncoding(" =\t").toStdString() << '"';
}
