#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// Multi-reader/single-writer lock. The thread holding the write lock may take
// the write lock again and may take the read lock, because table operations
// call one another while locked. Upgrading a read lock to a write lock is not
// supported (it would deadlock against another reader doing the same).
class TvdrLock {
public:
    void LockRead();
    void UnlockRead();
    void LockWrite();
    void UnlockWrite();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread::id m_writer;
    int m_writeDepth = 0;  // write locks held by m_writer
    int m_writerReads = 0; // read locks taken by m_writer while writing
    int m_readers = 0;     // read locks held by other threads
};

class TvdrReadGuard {
public:
    explicit TvdrReadGuard(TvdrLock &lock) : m_lock(lock) { m_lock.LockRead(); }
    ~TvdrReadGuard() { m_lock.UnlockRead(); }
    TvdrReadGuard(const TvdrReadGuard &) = delete;
    TvdrReadGuard &operator=(const TvdrReadGuard &) = delete;

private:
    TvdrLock &m_lock;
};

class TvdrWriteGuard {
public:
    explicit TvdrWriteGuard(TvdrLock &lock) : m_lock(lock) { m_lock.LockWrite(); }
    ~TvdrWriteGuard() { m_lock.UnlockWrite(); }
    TvdrWriteGuard(const TvdrWriteGuard &) = delete;
    TvdrWriteGuard &operator=(const TvdrWriteGuard &) = delete;

private:
    TvdrLock &m_lock;
};
