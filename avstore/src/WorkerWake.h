// The wake signal of one play or record worker, on an eventfd: the device side calls wake()
// when it has finished a buffer (a non-blocking write, no lock, so the real-time callback never
// waits), the exporting thread calls requestStop(), and the worker sleeps in waitForWork()
// until either has happened. Owns the eventfd.
#pragma once

#include "phonomir/WakeSignal.h"

#include <atomic>

namespace avstore {

class WorkerWake : public phonomir::WakeSignal {
public:
    WorkerWake();
    ~WorkerWake() override;
    WorkerWake(const WorkerWake &) = delete;
    WorkerWake &operator=(const WorkerWake &) = delete;

    // Device thread: buffers wait in the done queue.
    void wake() override;
    // Exporting thread: the worker should wind up.
    void requestStop();
    // Worker thread: returns once woken (the wakes are consumed) or a stop is requested.
    void waitForWork();
    bool stopRequested() const { return stopRequested_.load(std::memory_order_acquire); }

private:
    int fd_ = -1;
    std::atomic<bool> stopRequested_{false};
};

}  // namespace avstore
