#include "WorkerWake.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace avstore {

WorkerWake::WorkerWake() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WorkerWake::~WorkerWake() {
    if (fd_ >= 0) close(fd_);
}

void WorkerWake::wake() {
    const std::uint64_t one = 1;
    if (fd_ >= 0) (void)!write(fd_, &one, sizeof one);
}

void WorkerWake::requestStop() {
    stopRequested_.store(true, std::memory_order_release);
    wake();
}

// Without an eventfd (out of descriptors) the worker polls every 10 ms instead of sleeping.
void WorkerWake::waitForWork() {
    if (stopRequested()) return;
    if (fd_ < 0) {
        usleep(10000);
        return;
    }
    pollfd watched{fd_, POLLIN, 0};
    while (poll(&watched, 1, -1) < 0 && errno == EINTR) {
    }
    std::uint64_t count = 0;
    (void)!read(fd_, &count, sizeof count);
}

}  // namespace avstore
