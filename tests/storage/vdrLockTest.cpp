#include "vdrLock.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

TEST(Lock, TheWriterMayTakeWriteAndReadAgain) {
    TvdrLock lock;
    TvdrWriteGuard outer(lock);
    {
        TvdrWriteGuard inner(lock);
        TvdrReadGuard read(lock);
        TvdrReadGuard readAgain(lock);
    }
    SUCCEED();
}

TEST(Lock, AWriterExcludesOtherThreadsUntilItsLastRelease) {
    TvdrLock lock;
    std::atomic<bool> readerIn{false};
    lock.LockWrite();
    lock.LockWrite();
    std::thread reader([&] {
        TvdrReadGuard g(lock);
        readerIn = true;
    });
    lock.UnlockWrite();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(readerIn.load());
    lock.UnlockWrite();
    reader.join();
    EXPECT_TRUE(readerIn.load());
}

TEST(Lock, ReadersShareAndAWriterWaitsForThem) {
    TvdrLock lock;
    std::atomic<bool> writerIn{false};
    lock.LockRead();
    std::thread other([&] {
        TvdrReadGuard g(lock); // a second reader gets in while the first holds
    });
    other.join();
    std::thread writer([&] {
        TvdrWriteGuard g(lock);
        writerIn = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(writerIn.load());
    lock.UnlockRead();
    writer.join();
    EXPECT_TRUE(writerIn.load());
}

TEST(Lock, AGateIsOpenedOnceByTheFirstLockerAndTheOthersWaitForIt) {
    TvdrLock lock;
    std::atomic<int> openings{0};
    int rows = 0; // what the opener makes; read by every locker after it
    lock.SetGate([&] {
        // The opener holds the write lock: it may lock again.
        TvdrReadGuard again(lock);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        rows = 42;
        ++openings;
    });
    EXPECT_TRUE(lock.Gated());
    std::atomic<int> sawRows{0};
    std::vector<std::thread> lockers;
    for (int i = 0; i < 4; ++i)
        lockers.emplace_back([&, i] {
            if (i % 2 == 0) {
                TvdrReadGuard g(lock);
                sawRows += rows == 42;
            } else {
                TvdrWriteGuard g(lock);
                sawRows += rows == 42;
            }
        });
    for (std::thread &locker : lockers)
        locker.join();
    EXPECT_EQ(openings.load(), 1);
    EXPECT_EQ(sawRows.load(), 4);
    EXPECT_FALSE(lock.Gated());
    lock.OpenGate(); // opened already: nothing runs again
    EXPECT_EQ(openings.load(), 1);
}
