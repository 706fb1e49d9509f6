// The device side of the wave layer: an engine opens streams on numbered devices and moves audio
// between the device and a StreamRing on its own thread. Implemented by the built-in virtual
// sound card and by PortAudio. Opened, started, stopped and destroyed on the UI thread.
#pragma once

#include "phonomir/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <string>

namespace phonomir {

class StreamRing;

enum class StreamDirection { Input, Output };

struct StreamRequest {
    StreamDirection direction = StreamDirection::Input;
    int deviceId = 0;  // 0..9
    WaveFormat format;
};

// One open device stream. Destroying it stops the device side for good: afterwards the ring is
// never touched again, so its buffers may be freed.
class AudioStream {
public:
    virtual ~AudioStream() = default;
    // Input: recording begins. Output: playback of queued buffers (re)starts.
    virtual bool start() = 0;
    // The device side stops and leaves the ring alone until start().
    virtual void stop() = 0;
    // Output only: while paused the device plays silence and consumes nothing.
    virtual void setPaused(bool paused) = 0;
};

class AudioEngine {
public:
    virtual ~AudioEngine() = default;
    // Null and a readable reason in `errorText` when the device cannot be opened.
    virtual std::unique_ptr<AudioStream> open(const StreamRequest& request, StreamRing& ring,
                                              std::string& errorText) = 0;
    // Device volume: left in the low 16 bits, right in the high 16 bits, each 0..65535.
    virtual std::uint32_t outputVolume(int deviceId) const = 0;
    virtual void setOutputVolume(int deviceId, std::uint32_t leftAndRight) = 0;
    // What the user sees as the device in use.
    virtual std::string deviceName(int deviceId) const = 0;
};

}  // namespace phonomir
