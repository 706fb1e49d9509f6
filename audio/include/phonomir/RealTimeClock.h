// Drives the virtual sound card in real time: a thread that advances the card by one period
// every period (10 ms by default) until destroyed.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace phonomir {

class VirtualSoundCard;

class RealTimeClock {
public:
    explicit RealTimeClock(VirtualSoundCard& card, std::uint32_t periodFrames = 480);
    ~RealTimeClock();
    RealTimeClock(const RealTimeClock&) = delete;
    RealTimeClock& operator=(const RealTimeClock&) = delete;

private:
    void run();

    VirtualSoundCard& card_;
    std::uint32_t periodFrames_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace phonomir
