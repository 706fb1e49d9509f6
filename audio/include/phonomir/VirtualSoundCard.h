// The built-in virtual sound card: whatever is played comes back at the input through
// delay -> gain -> optional FIR -> recording level (the virtual mixer) -> seeded noise floor.
// Every device digit 0..9 reaches it. Time moves only through advance(): a test steps it by
// hand (deterministic, faster than real time); the program runs a RealTimeClock. Faults can be
// injected: refusing to open, dropping a period, removing the device.
// Threads: open/close and the fault switches on the UI thread, advance() on the clock's thread;
// one mutex keeps them apart (this card is a simulation, not a real-time callback).
#pragma once

#include "phonomir/AudioEngine.h"
#include "phonomir/LoopbackLine.h"
#include "phonomir/NoiseFloor.h"
#include "phonomir/VirtualCardConfig.h"

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

namespace phonomir {

class VirtualCardStream;

class VirtualSoundCard : public AudioEngine {
public:
    explicit VirtualSoundCard(VirtualCardConfig config = {});

    std::unique_ptr<AudioStream> open(const StreamRequest& request, StreamRing& ring,
                                      std::string& errorText) override;
    std::uint32_t outputVolume(int deviceId) const override;
    void setOutputVolume(int deviceId, std::uint32_t leftAndRight) override;
    std::string deviceName(int deviceId) const override;

    // Runs the card for `frames` frames of its 48 kHz time line.
    void advance(std::uint32_t frames);
    std::int64_t elapsedFrames() const;

    // Linear gain of the recording path, set by the virtual mixer (0..1).
    void setRecordingLevel(float level) { recordingLevel_.store(level); }
    float recordingLevel() const { return recordingLevel_.load(); }

    // Fault injection.
    void refuseOpens(bool refuse) { refuseOpens_.store(refuse); }
    void dropNextPeriod() { dropNextPeriod_.store(true); }
    void removeDevice();
    void reinsertDevice() { removed_.store(false); }

    // Called by VirtualCardStream.
    void detach(VirtualCardStream* stream);
    // Returns once no clock step is running.
    void waitForClockStep() const { std::lock_guard lock(mutex_); }

private:
    static constexpr std::uint32_t kChunkFrames = 4096;
    static constexpr std::uint32_t kMaxRate = 192000;

    bool validRequest(const StreamRequest& request, std::string& errorText) const;
    void processChunk(std::int64_t first, std::int64_t end);
    void playOutput(std::int64_t first, std::int64_t end);
    void recordInput(std::int64_t first, std::int64_t end);
    StereoSample inputSample(VirtualCardStream& stream, std::int64_t timelineFrame);

    VirtualCardConfig config_;
    mutable std::mutex mutex_;
    VirtualCardStream* output_ = nullptr;
    VirtualCardStream* input_ = nullptr;
    LoopbackLine line_;
    NoiseFloor noise_;
    std::vector<std::uint8_t> scratch_;
    std::int64_t now_ = 0;
    std::array<std::atomic<std::uint32_t>, 10> volumes_;
    std::atomic<float> recordingLevel_{1.0f};
    std::atomic<bool> refuseOpens_{false};
    std::atomic<bool> dropNextPeriod_{false};
    std::atomic<bool> removed_{false};
};

}  // namespace phonomir
