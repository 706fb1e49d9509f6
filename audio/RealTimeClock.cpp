#include "phonomir/RealTimeClock.h"

#include "phonomir/VirtualCardConfig.h"
#include "phonomir/VirtualSoundCard.h"

#include <chrono>

namespace phonomir {

RealTimeClock::RealTimeClock(VirtualSoundCard& card, std::uint32_t periodFrames)
    : card_(card), periodFrames_(periodFrames), thread_([this] { run(); }) {}

RealTimeClock::~RealTimeClock() {
    stopping_.store(true);
    thread_.join();
}

void RealTimeClock::run() {
    const auto period = std::chrono::microseconds(std::int64_t{periodFrames_} * 1000000 /
                                                  VirtualCardConfig::kTimelineRate);
    auto next = std::chrono::steady_clock::now();
    while (!stopping_.load()) {
        card_.advance(periodFrames_);
        next += period;
        std::this_thread::sleep_until(next);
    }
}

}  // namespace phonomir
