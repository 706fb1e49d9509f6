#include "phonomir/EventFdWake.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace phonomir {

EventFdWake::EventFdWake() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

EventFdWake::~EventFdWake() {
    if (fd_ >= 0) ::close(fd_);
}

void EventFdWake::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(fd_, &one, sizeof one);
}

void EventFdWake::drain() {
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(fd_, &count, sizeof count);
}

}  // namespace phonomir
