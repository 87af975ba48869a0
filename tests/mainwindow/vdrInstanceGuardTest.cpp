#include "vdrInstanceGuard.h"
#include "vdrTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>

#include <gtest/gtest.h>

#include <list>

namespace {

// A bound for a copy that hangs, not a measure of speed.
const int kPatienceMs = 15000;

// One started copy of the stand-in program (vdrGuardCopy.cpp).
class TCopy {
public:
    explicit TCopy(const QString &name, const QStringList &arguments = {},
                   const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(VANDOR_BIN_DIR "/vandor_guard_copy"), QStringList{name} + arguments);
    }
    ~TCopy() {
        if (End() == QLatin1String("still running"))
            Kill();
    }

    // The copy's next line ("claimed listening", "claimed alone",
    // "received ..."), or how it ended without one ("exit <code>").
    QString Next() {
        const QDeadlineTimer deadline(kPatienceMs);
        while (!m_process.canReadLine()) {
            if (m_process.state() == QProcess::NotRunning)
                return Ended();
            if (deadline.hasExpired())
                return QStringLiteral("no answer");
            m_process.waitForReadyRead(int(deadline.remainingTime()));
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    // Closes the copy's input, which ends it as a user would.
    QString End() {
        m_process.closeWriteChannel();
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(kPatienceMs))
            return QStringLiteral("still running");
        return Ended();
    }
    // Lets a copy started with "wait" claim.
    void Go() {
        m_process.write("g");
        m_process.waitForBytesWritten(kPatienceMs);
    }
    void Kill() {
        m_process.kill();
        m_process.waitForFinished(kPatienceMs);
    }
    QByteArray AllOutput() { return m_process.readAllStandardOutput() + m_process.readAllStandardError(); }
    QString Program() const { return m_process.program(); }

private:
    QString Ended() const {
        return m_process.exitStatus() == QProcess::NormalExit
                   ? QStringLiteral("exit %1").arg(m_process.exitCode())
                   : QStringLiteral("crashed");
    }

    QProcess m_process;
};

class InstanceGuard : public testing::Test {
protected:
    InstanceGuard() {
        static int counter = 0;
        m_name =
            QStringLiteral("VandorGuardTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        m_serverName = TvdrInstanceGuard(m_name).ServerName();
    }
    ~InstanceGuard() override {
        QLocalServer::removeServer(m_serverName);
        QFile::remove(SocketFile() + QStringLiteral(".lock"));
    }
    QString SocketFile() const { return QDir::tempPath() + QLatin1Char('/') + m_serverName; }

    QString m_name;
    QString m_serverName;
};

} // namespace

TEST_F(InstanceGuard, ASecondCopyEndsAtOnceSilentlyAndTheFirstKeepsItsCommandLine) {
    TCopy first(m_name);
    ASSERT_EQ(first.Next(), QStringLiteral("claimed listening"));

    TCopy second(m_name, {QStringLiteral("--open"), QStringLiteral("car 7")});
    EXPECT_EQ(second.Next(), QStringLiteral("exit 3"));
    EXPECT_TRUE(second.AllOutput().isEmpty()) << "the second copy ends without any message";
    EXPECT_EQ(first.Next(), QStringLiteral("received 0 %1 %2 --open car 7").arg(second.Program(), m_name));

    TCopy third(m_name);
    EXPECT_EQ(third.Next(), QStringLiteral("exit 3")) << "the first copy goes on answering";
    EXPECT_EQ(first.Next(), QStringLiteral("received 0 %1 %2").arg(third.Program(), m_name));

    EXPECT_EQ(first.End(), QStringLiteral("exit 0"));
    EXPECT_FALSE(QFileInfo::exists(SocketFile())) << "a copy that ends removes its socket";
    TCopy next(m_name);
    EXPECT_EQ(next.Next(), QStringLiteral("claimed listening"));
}

TEST_F(InstanceGuard, ACopyStartsNormallyAfterTheRunningOneWasKilled) {
    TCopy killed(m_name);
    ASSERT_EQ(killed.Next(), QStringLiteral("claimed listening"));
    killed.Kill();
    ASSERT_TRUE(QFileInfo::exists(SocketFile())) << "the killed copy leaves its socket file behind";

    TCopy next(m_name);
    EXPECT_EQ(next.Next(), QStringLiteral("claimed listening"));
    TCopy later(m_name);
    EXPECT_EQ(later.Next(), QStringLiteral("exit 3")) << "the new copy answers in the dead one's place";
    EXPECT_EQ(next.Next(), QStringLiteral("received 0 %1 %2").arg(later.Program(), m_name));
}

TEST_F(InstanceGuard, OfCopiesStartedTogetherExactlyOneGoesOn) {
    for (int round = 0; round < 3; ++round) {
        const QString name = m_name + QStringLiteral("-round%1").arg(round);
        std::list<TCopy> copies;
        for (int i = 0; i < 3; ++i)
            copies.emplace_back(name, QStringList{QStringLiteral("wait")});
        for (TCopy &copy : copies)
            ASSERT_EQ(copy.Next(), QStringLiteral("ready"));
        for (TCopy &copy : copies)
            copy.Go();
        QStringList outcomes;
        for (TCopy &copy : copies)
            outcomes << copy.Next();
        outcomes.sort();
        EXPECT_EQ(outcomes, QStringList({"claimed listening", "exit 3", "exit 3"})) << "round " << round;
    }
}

TEST_F(InstanceGuard, AGuardThatCannotWorkLetsTheProgramStart) {
    // A temporary "folder" that is a file: neither the lock file nor the
    // socket can be made, not even by root.
    TvdrTempFolder folder;
    WriteWholeFile(folder.File(QStringLiteral("file")), "not a folder");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), folder.File(QStringLiteral("file")));
    TCopy first(m_name, {}, environment);
    EXPECT_EQ(first.Next(), QStringLiteral("claimed alone"));
    TCopy second(m_name, {}, environment);
    EXPECT_EQ(second.Next(), QStringLiteral("claimed alone"));
}
