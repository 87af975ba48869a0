#pragma once

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <functional>

// Gives unused heap memory back to the system: once at start, then every
// (interval + 1) seconds. It touches no data of the program.
class TkvxTrimWorkingSet : public QThread {
public:
    // start() runs it. The counter starts at `interval`, so the first trim
    // happens in the first round.
    explicit TkvxTrimWorkingSet(int interval);
    // Stops and joins the thread.
    ~TkvxTrimWorkingSet() override;

    int Interval() const { return m_interval; }
    // Ends the thread without waiting out its sleep.
    void Stop();

    // Returns freed heap pages to the system (malloc_trim).
    static void ReduceWorkingSet();

    // Seams for tests: what a trim does and how long a round sleeps.
    void SetTrim(std::function<void()> trim) { m_trim = std::move(trim); }
    void SetRoundMilliseconds(int ms) { m_roundMs = ms; }
    // Called after every round, before the sleep.
    void SetRoundObserver(std::function<void()> observer) { m_roundObserver = std::move(observer); }

protected:
    void run() override;

private:
    const int m_interval;
    int m_counter;
    int m_roundMs = 1000;
    bool m_stopping = false;
    std::function<void()> m_trim;
    std::function<void()> m_roundObserver;
    QMutex m_mutex;
    QWaitCondition m_wake;
};
