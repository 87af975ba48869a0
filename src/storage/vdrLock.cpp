#include "vdrLock.h"

void TvdrLock::LockRead() {
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

void TvdrLock::LockWrite() {
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
