#include "vdrLock.h"

#include <utility>

void TvdrLock::SetGate(std::function<void()> opener) {
    const std::lock_guard<std::mutex> gate(m_gateMutex);
    m_opener = std::move(opener);
    m_gated.store(bool(m_opener), std::memory_order_release);
}

void TvdrLock::OpenGate() {
    std::function<void()> opener;
    {
        const std::lock_guard<std::mutex> gate(m_gateMutex);
        if (!m_gated.load(std::memory_order_acquire))
            return;
        // Taken before the gate opens: a thread that finds it open then
        // waits on this write lock until the opener is done.
        TakeWrite();
        opener = std::exchange(m_opener, nullptr);
        m_gated.store(false, std::memory_order_release);
    }
    opener();
    UnlockWrite();
}

void TvdrLock::LockRead() {
    if (Gated())
        OpenGate();
    TakeRead();
}

void TvdrLock::LockWrite() {
    if (Gated())
        OpenGate();
    TakeWrite();
}

void TvdrLock::TakeRead() {
    std::unique_lock<std::mutex> lk(m_mutex);
    if (m_writeDepth > 0 && m_writer == std::this_thread::get_id()) {
        ++m_writerReads;
        return;
    }
    m_changed.wait(lk, [this] { return m_writeDepth == 0; });
    ++m_readers;
}

void TvdrLock::UnlockRead() {
    std::unique_lock<std::mutex> lk(m_mutex);
    if (m_writeDepth > 0 && m_writer == std::this_thread::get_id() && m_writerReads > 0) {
        --m_writerReads;
        return;
    }
    if (--m_readers == 0)
        m_changed.notify_all();
}

void TvdrLock::TakeWrite() {
    std::unique_lock<std::mutex> lk(m_mutex);
    const auto self = std::this_thread::get_id();
    if (m_writeDepth > 0 && m_writer == self) {
        ++m_writeDepth;
        return;
    }
    m_changed.wait(lk, [this] { return m_writeDepth == 0 && m_readers == 0; });
    m_writer = self;
    m_writeDepth = 1;
}

void TvdrLock::UnlockWrite() {
    std::unique_lock<std::mutex> lk(m_mutex);
    if (--m_writeDepth == 0) {
        m_writer = std::thread::id();
        m_changed.notify_all();
    }
}
