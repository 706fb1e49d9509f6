// One open stream on the default device of the audio layer, with everything it runs on: the
// chosen devices (a real card through PortAudio, or the virtual card with its real-time clock
// when PHONOMIR_VIRTUAL_CARD asks for it or no card exists), three 8192-byte buffers and the
// worker's wake signal. Made and destroyed on the exporting thread; between those the worker
// thread alone starts the stream, trades buffers with the device and closes the stream. As a
// play and a recording may run side by side, every call into the audio layer (devices chosen
// and released, streams opened, started and closed) is made under one library-wide mutex, so
// that the sound library below never sees two of them at once.
#pragma once

#include "WorkerWake.h"
#include "phonomir/AudioEngine.h"
#include "phonomir/AudioSystem.h"
#include "phonomir/StreamRing.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace avstore {

class DeviceSession {
public:
    static constexpr int kBufferCount = 3;
    static constexpr std::uint32_t kBufferBytes = 8192;

    // Opens the default device for direction and format. Returns 0, 8003 (the buffers cannot
    // be allocated) or 8008 (the device cannot be opened with this format).
    static std::uint32_t open(phonomir::StreamDirection direction, const phonomir::WaveFormat &format,
                              std::unique_ptr<DeviceSession> &session);
    ~DeviceSession();
    DeviceSession(const DeviceSession &) = delete;
    DeviceSession &operator=(const DeviceSession &) = delete;

    phonomir::StreamRing &ring() { return *ring_; }
    WorkerWake &wake() { return wake_; }
    // Worker thread.
    bool start();
    // Worker thread: the device side stops for good; the ring's done buffers stay to be taken.
    void closeStream();

private:
    DeviceSession();
    static std::mutex &audioCalls();

    std::unique_ptr<phonomir::AudioSystem> devices_;
    WorkerWake wake_;
    std::unique_ptr<phonomir::StreamRing> ring_;
    std::unique_ptr<phonomir::AudioStream> stream_;
};

}  // namespace avstore
