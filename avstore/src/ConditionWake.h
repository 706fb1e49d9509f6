// The wake signal of one play or record worker, on a condition variable: the device side calls
// wake() when it has finished a buffer, the exporting thread calls requestStop(), and the worker
// sleeps in waitForWork() until either has happened. Owns only its mutex and flags.
#pragma once

#include "phonomir/WakeSignal.h"

#include <condition_variable>
#include <mutex>

namespace avstore {

class ConditionWake : public phonomir::WakeSignal {
public:
    // Device thread: buffers wait in the done queue. Holds the mutex only to set a flag.
    void wake() override;
    // Exporting thread: the worker should wind up.
    void requestStop();
    // Worker thread: returns once woken (the wake is consumed) or a stop is requested.
    void waitForWork();
    bool stopRequested() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool woken_ = false;
    bool stopRequested_ = false;
};

}  // namespace avstore
