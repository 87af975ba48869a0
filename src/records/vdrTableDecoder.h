#pragma once

#include "vdrStringList.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <numeric>

// The middle step of the tables' loads (TvdrStringList::DecodeForLoad),
// shared among threads: each job is decoded once, by whichever thread claims
// it first, largest first. The first and last steps stay with the caller.
template <size_t N> class TvdrTableDecoder {
public:
    using TTables = std::array<TvdrStringList *, N>;
    using TJobs = std::array<TvdrStringList::TLoadJob, N>;

    // `whenDecoded` is called once every job is decoded, on the thread that
    // decoded the last.
    TvdrTableDecoder(const TTables &tables, TJobs jobs, std::function<void()> whenDecoded = nullptr)
        : m_tables(tables), m_jobs(std::move(jobs)), m_whenDecoded(std::move(whenDecoded)) {
        std::iota(m_order.begin(), m_order.end(), size_t(0));
        std::sort(m_order.begin(), m_order.end(),
                  [this](size_t a, size_t b) { return m_jobs[a].Block.size() > m_jobs[b].Block.size(); });
    }

    // Before any thread starts on the jobs: they are theirs from then on.
    qint64 StoredBytes() const {
        qint64 stored = 0;
        for (const auto &job : m_jobs)
            stored += job.Block.size();
        return stored;
    }

    // Whether some job has no thread yet.
    bool Unclaimed() const {
        return std::any_of(m_claimed.begin(), m_claimed.end(), [](const std::atomic<bool> &c) { return !c; });
    }

    // Decodes every job no thread has claimed yet, largest first.
    void DecodeRest() {
        for (const size_t i : m_order)
            if (Claim(i))
                Decode(i);
    }

    // Job `i` decoded here, or waited for when another thread has it.
    void Await(size_t i) {
        if (Claim(i)) {
            Decode(i);
            return;
        }
        std::unique_lock<std::mutex> lk(m_mutex);
        m_changed.wait(lk, [this, i] { return m_done[i]; });
    }

    // Table `i` takes in the rows of its job; the caller holds its lock.
    void Finish(size_t i) {
        Await(i);
        m_tables[i]->FinishLoad(m_jobs[i]);
    }

private:
    bool Claim(size_t i) { return !m_claimed[i].exchange(true); }

    void Decode(size_t i) {
        m_tables[i]->DecodeForLoad(m_jobs[i]);
        {
            const std::lock_guard<std::mutex> lk(m_mutex);
            m_done[i] = true;
            m_changed.notify_all();
        }
        if (--m_left == 0 && m_whenDecoded)
            m_whenDecoded();
    }

    TTables m_tables;
    TJobs m_jobs;
    std::array<size_t, N> m_order;
    std::array<std::atomic<bool>, N> m_claimed{};
    std::array<bool, N> m_done{};
    std::atomic<size_t> m_left{N};
    std::function<void()> m_whenDecoded;
    std::mutex m_mutex;
    std::condition_variable m_changed;
};
