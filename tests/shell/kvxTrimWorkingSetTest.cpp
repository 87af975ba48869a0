#include "kvxTrimWorkingSet.h"

#include <QElapsedTimer>
#include <atomic>
#include <gtest/gtest.h>

TEST(TrimWorkingSet, TrimsAtOnceThenEveryIntervalPlusOneRounds) {
    std::atomic<int> trims{0};
    std::atomic<int> rounds{0};
    TkvxTrimWorkingSet trimmer(3);
    trimmer.SetRoundMilliseconds(1);
    trimmer.SetTrim([&] { ++trims; });
    trimmer.SetRoundObserver([&] { ++rounds; });
    trimmer.start();
    while (rounds.load() < 9)
        QThread::msleep(1);
    trimmer.Stop();
    trimmer.wait();
    // Rounds 1, 5, 9, ... trim: the counter starts at the interval.
    const int done = rounds.load();
    EXPECT_EQ(trims.load(), (done + 3) / 4);
}

TEST(TrimWorkingSet, StopEndsTheThreadWithoutWaitingOutItsSleep) {
    TkvxTrimWorkingSet trimmer(60);
    trimmer.SetTrim([] {});
    trimmer.SetRoundMilliseconds(60 * 60 * 1000);
    trimmer.start();
    trimmer.Stop();
    EXPECT_TRUE(trimmer.wait(QDeadlineTimer(30000))) << "a sleeping thread wakes up to stop";
}
