#include "vdrLog.h"

#include "kvxStreamFile.h"
#include "vdrError.h"
#include "vdrStringList.h"
#include "vdrTestDatabase.h"
#include "vdrTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The log is one object per process: every case starts it off, with the real
// clock and thread id, pointed at a fresh folder.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Reset();
        Log().SetPath(m_dir.Path());
    }
    void TearDown() override {
        Reset();
        Log().SetPath(QString());
    }
    static void Reset() {
        Log().SetEnabled(false);
        Log().SetClock({});
        Log().SetThreadIdSource({});
    }
    QByteArray LogBytes() const { return ReadWholeFile(m_dir.File(QStringLiteral("vdrLog.txt"))); }

    TvdrTempFolder m_dir;
};

mode_t ModeOf(const QString &file) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    return info.st_mode & 07777;
}

QString ErrorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const EvdrError &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

TEST_F(LogTest, OnlyTheAccessorCreatesTheLog) {
    EXPECT_EQ(&Log(), &Log());
    EXPECT_EQ(ErrorOf([] { TvdrLog second; }), QStringLiteral("use Log accessor function"));
}

TEST_F(LogTest, WritesTimeThreadAndMessageInCodePage1252) {
    Log().SetClock([] { return QTime(9, 7, 42, 15); });
    Log().SetThreadIdSource([] { return 1234LL; });
    Log().SetEnabled(true);
    Log().Write(QStringLiteral("Filter applied"));
    EXPECT_EQ(LogBytes(), QByteArray("07.42.015:1234\tFilter applied\r\n"));

    // The message is neither a format nor escaped; 1252 text is one byte a
    // character, anything else becomes "?".
    Log().SetClock([] { return QTime(23, 0, 5, 999); });
    Log().Write(QStringLiteral("100% %s caf\u00E9 \u2013 \u0416"));
    EXPECT_EQ(LogBytes(), QByteArray("07.42.015:1234\tFilter applied\r\n"
                                     "00.05.999:1234\t100% %s caf\xE9 \x96 ?\r\n"));
}

TEST_F(LogTest, StampsLocalTimeAndTheCallingThread) {
    Log().SetEnabled(true);
    Log().Write(QStringLiteral("main"));
    const long long mainId = ::gettid();
    long long otherId = 0;
    std::thread other([&] {
        otherId = ::gettid();
        Log().Write(QStringLiteral("other"));
    });
    other.join();
    ASSERT_NE(mainId, otherId);

    const QStringList lines = QString::fromLatin1(LogBytes()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].isEmpty());
    const QRegularExpression stamp(QStringLiteral("^[0-5]\\d\\.[0-5]\\d\\.\\d{3}:(\\d+)\\t(\\w+)$"));
    const auto first = stamp.match(lines[0]);
    const auto second = stamp.match(lines[1]);
    ASSERT_TRUE(first.hasMatch()) << lines[0].toStdString();
    ASSERT_TRUE(second.hasMatch()) << lines[1].toStdString();
    EXPECT_EQ(first.captured(1).toLongLong(), mainId);
    EXPECT_EQ(second.captured(1).toLongLong(), otherId);
    EXPECT_EQ(second.captured(2), QStringLiteral("other"));
}

TEST_F(LogTest, WritesOnlyWhileSwitchedOn) {
    Log().Write(QStringLiteral("before"));
    EXPECT_FALSE(QFile::exists(m_dir.File(QStringLiteral("vdrLog.txt"))));

    Log().SetEnabled(true);
    EXPECT_TRUE(Log().IsEnabled());
    Log().Write(QStringLiteral("during"));
    Log().SetEnabled(false);
    Log().SetEnabled(false);
    EXPECT_FALSE(Log().IsEnabled());
    Log().Write(QStringLiteral("after"));
    const QByteArray bytes = LogBytes();
    EXPECT_TRUE(bytes.endsWith("\tduring\r\n"));
    EXPECT_EQ(bytes.count('\n'), 1);
}

TEST_F(LogTest, SwitchingOnStartsAnEmptyPrivateFileOnce) {
    const QString file = m_dir.File(QStringLiteral("vdrLog.txt"));
    WriteWholeFile(file, "last run\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0644), 0);

    Log().SetEnabled(true);
    EXPECT_EQ(LogBytes(), QByteArray());
    EXPECT_EQ(ModeOf(file), mode_t(0600));

    Log().Write(QStringLiteral("kept"));
    Log().SetEnabled(true);
    EXPECT_TRUE(LogBytes().endsWith("\tkept\r\n"));

    Log().SetEnabled(false);
    Log().SetEnabled(true);
    EXPECT_EQ(LogBytes(), QByteArray());
}

TEST_F(LogTest, SetPathCreatesFoldersButKeepsTheOpenFile) {
    Log().SetEnabled(true);
    const QString deep = m_dir.File(QStringLiteral("a/b/c"));
    Log().SetPath(deep);
    EXPECT_TRUE(QDir(deep).exists());
    EXPECT_EQ(Log().Path(), deep + QLatin1Char('/'));
    EXPECT_EQ(Log().GetFileName(), deep + QStringLiteral("/vdrLog.txt"));

    Log().Write(QStringLiteral("still the first file"));
    EXPECT_TRUE(LogBytes().endsWith("\tstill the first file\r\n"));
    EXPECT_FALSE(QFile::exists(Log().GetFileName()));

    // A trailing delimiter is not doubled.
    Log().SetPath(deep + QLatin1Char('/'));
    EXPECT_EQ(Log().GetFileName(), deep + QStringLiteral("/vdrLog.txt"));
}

TEST_F(LogTest, AFileThatCannotBeCreatedLeavesTheLogOff) {
    // A regular file where a folder should be: no folder below it can exist.
    const QString blocker = m_dir.File(QStringLiteral("blocker"));
    WriteWholeFile(blocker, "x");
    Log().SetPath(blocker + QStringLiteral("/logs"));
    const QString message = ErrorOf([] { Log().SetEnabled(true); });
    EXPECT_TRUE(message.contains(Log().GetFileName())) << message.toStdString();
    EXPECT_FALSE(Log().IsEnabled());

    // A folder in the log file's place.
    const QString taken = m_dir.File(QStringLiteral("taken"));
    ASSERT_TRUE(QDir().mkpath(taken + QStringLiteral("/vdrLog.txt")));
    Log().SetPath(taken);
    EXPECT_FALSE(ErrorOf([] { Log().SetEnabled(true); }).isEmpty());
    EXPECT_FALSE(Log().IsEnabled());

    // A link in the log file's place is refused, and what it points to kept.
    const QString victim = m_dir.File(QStringLiteral("precious.txt"));
    WriteWholeFile(victim, "keep me");
    ASSERT_TRUE(QFile::link(victim, m_dir.File(QStringLiteral("vdrLog.txt"))));
    Log().SetPath(m_dir.Path());
    EXPECT_FALSE(ErrorOf([] { Log().SetEnabled(true); }).isEmpty());
    EXPECT_FALSE(Log().IsEnabled());
    EXPECT_EQ(ReadWholeFile(victim), QByteArray("keep me"));

    Log().SetPath(QString());
    EXPECT_FALSE(ErrorOf([] { Log().SetEnabled(true); }).isEmpty());
    EXPECT_FALSE(Log().IsEnabled());
}

TEST_F(LogTest, AFailedWriteReachesTheCaller) {
    Log().SetEnabled(true);

    // Cap the size of files this process may write, so the disk "fills".
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 40;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString message = ErrorOf([] { Log().Write(QString(100, QLatin1Char('x'))); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(message.contains(Log().GetFileName())) << message.toStdString();
    // The log stays on: the next line may fit again.
    EXPECT_TRUE(Log().IsEnabled());
}

TEST_F(LogTest, ConcurrentLinesStayWhole) {
    Log().SetEnabled(true);
    constexpr int kThreads = 4;
    constexpr int kLines = 250;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                Log().Write(QStringLiteral("writer %1 line %2 ").arg(t).arg(i) +
                            QString(60, QLatin1Char('.')));
        });
    for (auto &w : writers)
        w.join();

    QStringList lines = QString::fromLatin1(LogBytes()).split(QStringLiteral("\r\n"));
    ASSERT_TRUE(lines.takeLast().isEmpty());
    ASSERT_EQ(lines.size(), kThreads * kLines);
    const QRegularExpression shape(
        QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{3}:\\d+\\twriter (\\d) line (\\d+) \\.{60}$"));
    std::vector<int> next(kThreads, 0);
    for (const QString &line : lines) {
        const auto m = shape.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        // Each writer's lines arrive whole and in its own order.
        const int t = m.captured(1).toInt();
        EXPECT_EQ(m.captured(2).toInt(), next[t]++);
    }
}

TEST_F(LogTest, DamagedStreamsThatLoadsFindAreLogged) {
    Log().SetEnabled(true);
    const QString file = m_dir.File(QStringLiteral("Vandor.dat"));
    {
        TkvxStreamFile db;
        db.Open(file, false);
        db.WriteStream(QStringLiteral("TvdrRepairs"), 0,
                       QByteArray("0000000=Oil change\r\n0000001=Brakes\r\n"));
    }
    DamageBlock(file, QStringLiteral("TvdrRepairs"));
    TkvxStreamFile db;
    db.Open(file, false);
    TvdrStringList repairs(QStringLiteral("TvdrRepairs"));
    repairs.SetStreamFile(&db);
    repairs.Load();

    const QString logged = QString::fromLatin1(LogBytes());
    const QRegularExpression line(
        QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{3}:\\d+\\tstream TvdrRepairs is damaged "
                       "\\(damaged block[^\\r\\n]*\\); its bytes are kept as "
                       "TvdrRepairs\\.damaged\\r\\n$"));
    EXPECT_TRUE(line.match(logged).hasMatch()) << logged.toStdString();
    ClearDamagedStreams();
}
