// The audio engine on real sound cards through PortAudio. Device digit N means ALSA card N: the
// PortAudio device whose name carries "(hw:N,", so the choice does not move when PortAudio's
// own device indices shift. When the first card's hw device cannot be opened (a sound server
// holds it, or it lacks the format), ALSA's converting "default" device is tried. A fixed
// device name (on a chosen host API) can replace the card match, as the tests do with a JACK
// server's "loopback" ports. Initialises PortAudio for its lifetime. UI thread only.
#pragma once

#include "phonomir/AudioEngine.h"

#include <array>
#include <atomic>
#include <string>

namespace phonomir {

class PortAudioEngine : public AudioEngine {
public:
    struct FixedDevice {
        std::string hostApi;     // e.g. "JACK Audio Connection Kit"; empty: any
        std::string deviceName;  // exact PortAudio device name; empty: match ALSA cards
    };

    explicit PortAudioEngine(FixedDevice fixedDevice = {});
    ~PortAudioEngine() override;
    PortAudioEngine(const PortAudioEngine&) = delete;
    PortAudioEngine& operator=(const PortAudioEngine&) = delete;

    bool initialised() const { return initialised_; }
    std::unique_ptr<AudioStream> open(const StreamRequest& request, StreamRing& ring,
                                      std::string& errorText) override;
    std::uint32_t outputVolume(int deviceId) const override;
    void setOutputVolume(int deviceId, std::uint32_t leftAndRight) override;
    std::string deviceName(int deviceId) const override;

    // PortAudio index of the device for digit `deviceId` with channels in `direction`, or -1.
    int findDevice(int deviceId, StreamDirection direction) const;

private:
    bool matches(int paIndex, int deviceId) const;
    // PortAudio index of ALSA's "default" device with channels in `direction`, or -1.
    int findAlsaDefault(StreamDirection direction) const;
    std::unique_ptr<AudioStream> openOn(int paDevice, const StreamRequest& request, StreamRing& ring,
                                        std::string& errorText);

    FixedDevice fixed_;
    bool initialised_ = false;
    std::array<std::atomic<std::uint32_t>, 10> volumes_;
};

}  // namespace phonomir
