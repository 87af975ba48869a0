#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Multi-reader/single-writer lock. The thread holding the write lock may take
// the write lock again and may take the read lock, because table operations
// call one another while locked. Upgrading a read lock to a write lock is not
// supported (it would deadlock against another reader doing the same).
//
// A gate holds back the first lock of any kind until `opener` has run: the
// first thread to lock runs it while holding the write lock (so the opener
// may lock again), and every other thread waits for it. A table whose rows
// are still being made elsewhere is gated by the step that takes them in.
class TvdrLock {
public:
    void LockRead();
    void UnlockRead();
    void LockWrite();
    void UnlockWrite();

    // Replaces a gate not yet opened. The opener must not throw.
    void SetGate(std::function<void()> opener);
    bool Gated() const { return m_gated.load(std::memory_order_acquire); }
    // Runs the opener here unless another thread did; returns when it has run.
    void OpenGate();

private:
    void TakeRead();
    void TakeWrite();

    std::atomic<bool> m_gated{false};
    std::mutex m_gateMutex;
    std::function<void()> m_opener;
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
