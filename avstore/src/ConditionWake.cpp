#include "ConditionWake.h"

namespace avstore {

void ConditionWake::wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    changed_.notify_one();
}

void ConditionWake::requestStop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    changed_.notify_one();
}

void ConditionWake::waitForWork() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return woken_ || stopRequested_; });
    woken_ = false;
}

bool ConditionWake::stopRequested() const {
    std::lock_guard lock(mutex_);
    return stopRequested_;
}

}  // namespace avstore
