#pragma once

// Shared by the fuzz targets: one scratch folder per process (in memory when
// the machine has /dev/shm, so the container's syncs cost nothing), files
// written from the input, and a fresh database with every table bound.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

class TkvxStreamFile;

// Also sets the point locale's formats, so no run depends on the machine.
QString FuzzFolder();
QString FuzzPath(const QString &name);
void WriteFuzzFile(const QString &path, const QByteArray &bytes);
QByteArray FuzzBytes(const uint8_t *data, size_t size);

// A new, empty database file with every table bound to it; the tables are
// unbound and the file closed and removed when it goes.
class TvdrFuzzDatabase {
public:
    TvdrFuzzDatabase();
    ~TvdrFuzzDatabase();
    TkvxStreamFile &Db() { return *m_db; }
    // Binds the tables (and so loads them); the constructor does it once.
    void Bind();
    // Fails unless every table loads back from the file as it is in memory:
    // what an operation leaves in the tables must survive the next start.
    void CheckReload();

private:
    std::unique_ptr<TkvxStreamFile> m_db;
};

// Runs an import into a fresh database. Its errors are outcomes, not
// findings, but a failed import must leave tables and file as they were;
// what it leaves must export, and after a complete import load back as it
// is.
void CheckImport(const std::function<void()> &import);

// Both exports of every table into memory.
void ExportToMemory();

// Runs `action`; an error it raises is an answer, not a finding.
template <class F> void Try(F action) {
    try {
        action();
    } catch (const std::exception &) {
    }
}

// A broken promise of the code under test: prints and aborts, so libFuzzer
// keeps the input.
[[noreturn]] void FuzzFail(const char *what);
