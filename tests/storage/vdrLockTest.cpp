#include "vdrLock.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

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
