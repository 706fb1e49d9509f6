// A WakeSignal on a Linux eventfd: the device thread adds to the counter, the UI thread watches
// fd() (a QSocketNotifier in the program) and calls drain() before handling finished buffers.
#pragma once

#include "phonomir/WakeSignal.h"

namespace phonomir {

class EventFdWake : public WakeSignal {
public:
    EventFdWake();
    ~EventFdWake() override;
    EventFdWake(const EventFdWake&) = delete;
    EventFdWake& operator=(const EventFdWake&) = delete;

    void wake() override;
    void drain();
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace phonomir
