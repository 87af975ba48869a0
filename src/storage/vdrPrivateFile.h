#pragma once

#include <QIODevice>
#include <QString>

// A file the program writes for the user beside the database (an export),
// streamed into a new owner-only file beside its name and renamed over it by
// Commit: a link planted at the name is replaced, never written through, and
// a write that fails or is never committed leaves the old file as it was.
// Write errors give the system's reason in errorString() ("File too large").
class TvdrPrivateFile : public QIODevice {
public:
    explicit TvdrPrivateFile(const QString &fileName);
    // Removes the new file unless it was committed.
    ~TvdrPrivateFile() override;

    QString FileName() const { return m_fileName; }

    // Creates the new file, write-only; raises naming the file.
    void Open();
    // Flushes the new file to disk and renames it over the file's name;
    // raises naming the file and the reason.
    void Commit();

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void Discard();

    QString m_fileName;
    QByteArray m_tempName;
    int m_fd = -1;
    int m_error = 0; // errno of the first failed write
    qint64 m_written = 0;
    qint64 m_writebackFrom = 0; // the disk was asked to write what lies before
    static constexpr qint64 kWritebackStep = 1024 * 1024;
};
