#include "kvxSfFaults.h"

#include <utility>

namespace {

struct TFaultPlan {
    qint64 stopAt = 0;
    bool torn = false;
    bool stopped = false;
    qint64 failAt = 0;
    int error = 0;
    qint64 count = 0;
    qint64 flushes = 0;
    bool flushing = true;
    std::function<void()> beforeLock;
};

TFaultPlan &Plan() {
    static TFaultPlan plan;
    return plan;
}

} // namespace

void TkvxSfFaults::StopAt(qint64 k, bool torn) {
    TFaultPlan &plan = Plan();
    plan.stopAt = k;
    plan.torn = torn;
    plan.stopped = false;
    plan.failAt = 0;
    plan.count = 0;
    plan.flushes = 0;
}

void TkvxSfFaults::FailAt(qint64 k, int error) {
    StopAt(0);
    Plan().failAt = k;
    Plan().error = error;
}

void TkvxSfFaults::Reset() {
    Plan().stopAt = 0;
    Plan().failAt = 0;
}

qint64 TkvxSfFaults::Count() {
    return Plan().count;
}

qint64 TkvxSfFaults::Flushes() {
    return Plan().flushes;
}

void TkvxSfFaults::SetFlushing(bool on) {
    Plan().flushing = on;
}

bool TkvxSfFaults::Stopped() {
    return Plan().stopped;
}

bool TkvxSfFaults::Flushing() {
    return Plan().flushing;
}

void TkvxSfFaults::SetBeforeLock(std::function<void()> hook) {
    Plan().beforeLock = std::move(hook);
}

void TkvxSfFaults::RunBeforeLock() {
    std::function<void()> hook;
    std::swap(hook, Plan().beforeLock);
    if (hook)
        hook();
}

TkvxSfFaults::TOutcome TkvxSfFaults::Next(bool canTear, bool isFlush) {
    TFaultPlan &plan = Plan();
    ++plan.count;
    if (isFlush)
        ++plan.flushes;
    if (plan.failAt != 0 && plan.count == plan.failAt)
        return TOutcome::Fail;
    if (plan.stopAt == 0 || plan.count != plan.stopAt)
        return TOutcome::Run;
    plan.stopped = true;
    if (plan.torn && canTear)
        return TOutcome::Tear; // the write tears, then stops
    throw EkvxSfStop();
}

int TkvxSfFaults::FailError() {
    return Plan().error;
}
