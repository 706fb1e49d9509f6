// One stream open on the virtual sound card. The card's clock moves audio between it and its
// ring; destroying it detaches it from the card. Created, started and destroyed on the UI
// thread; the running and paused flags are read by the clock.
#pragma once

#include "phonomir/AudioEngine.h"
#include "phonomir/FirFilter.h"

#include <atomic>

namespace phonomir {

class VirtualSoundCard;

class VirtualCardStream : public AudioStream {
public:
    VirtualCardStream(VirtualSoundCard& card, StreamRing& ring, const StreamRequest& request,
                      const std::vector<float>& fir);
    ~VirtualCardStream() override;

    bool start() override { running_.store(true); return true; }
    void stop() override;
    void setPaused(bool paused) override { paused_.store(paused); }

    bool running() const { return running_.load() && !paused_.load(); }
    StreamRing& ring() { return ring_; }
    const WaveFormat& format() const { return format_; }
    StreamDirection direction() const { return direction_; }
    int deviceId() const { return deviceId_; }
    FirFilter& filter(int channel) { return channel == 0 ? leftFilter_ : rightFilter_; }
    // Output side: true until the first full period, and again after a short one.
    bool starved = true;

private:
    VirtualSoundCard& card_;
    StreamRing& ring_;
    WaveFormat format_;
    StreamDirection direction_;
    int deviceId_;
    FirFilter leftFilter_, rightFilter_;
    std::atomic<bool> running_{false};
    std::atomic<bool> paused_{false};
};

}  // namespace phonomir
