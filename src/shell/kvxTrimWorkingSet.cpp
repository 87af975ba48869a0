#include "kvxTrimWorkingSet.h"

#include <malloc.h>

TkvxTrimWorkingSet::TkvxTrimWorkingSet(int interval)
    : m_interval(interval), m_counter(interval), m_trim(&TkvxTrimWorkingSet::ReduceWorkingSet) {}

TkvxTrimWorkingSet::~TkvxTrimWorkingSet() {
    Stop();
    wait();
}

void TkvxTrimWorkingSet::Stop() {
    QMutexLocker lock(&m_mutex);
    m_stopping = true;
    m_wake.wakeAll();
}

void TkvxTrimWorkingSet::ReduceWorkingSet() {
    malloc_trim(0);
}

void TkvxTrimWorkingSet::run() {
    try {
        QMutexLocker lock(&m_mutex);
        while (!m_stopping) {
            if (++m_counter > m_interval) {
                m_counter = 0;
                lock.unlock();
                if (m_trim)
                    m_trim();
                lock.relock();
                if (m_stopping)
                    break;
            }
            if (m_roundObserver)
                m_roundObserver();
            m_wake.wait(&m_mutex, m_roundMs);
        }
    } catch (...) {
        // A failing trim ends the thread quietly: it is only a courtesy.
    }
}
