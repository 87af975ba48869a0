#include "vdrTestSupport.h"

#include "kvxStreamFile.h"
#include "vdrError.h"

#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

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
        text += QByteArray::number(firstOffset + i) +
                "\x01"
                "1\x01"
                "0\x01"
                "0\x01"
                "S" +
                QByteArray::number(i) + '\x02';
    return text;
}

QByteArray SeededBytes(int size, unsigned seed) {
    std::mt19937 rng(seed);
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = (i % 3) ? char(rng() & 0xFF) : char('a' + i % 26);
    return b;
}

std::map<QString, QByteArray> StreamsOf(TkvxStreamFile &db) {
    std::map<QString, QByteArray> streams;
    for (int i = 0; i < db.Toc().Count(); ++i)
        if (!db.Toc().Entry(i).Free)
            streams[db.Toc().Entry(i).Id] = db.ReadStream(db.Toc().Entry(i).Id);
    return streams;
}

QByteArray RunKilledAfter(const std::function<void(int pipe)> &writer, unsigned microseconds) {
    int fds[2];
    if (::pipe(fds) != 0) {
        ADD_FAILURE() << "no pipe";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        writer(fds[1]);
        ::_exit(4);
    }
    ::close(fds[1]);
    ::usleep(useconds_t(microseconds));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the writer ended on its own: exit " << WEXITSTATUS(status);
    QByteArray reported;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        reported.append(buffer, n);
    ::close(fds[0]);
    return reported;
}
