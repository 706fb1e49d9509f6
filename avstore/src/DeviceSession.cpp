#include "DeviceSession.h"

#include "avstore32.h"

#include <new>
#include <string>

namespace avstore {

namespace {

// Constant-initialised, so it outlives every session, even those the library's running play
// and recording still hold while it unloads.
constinit std::mutex audioCallMutex;

}  // namespace

std::mutex &DeviceSession::audioCalls() { return audioCallMutex; }

DeviceSession::DeviceSession() {
    phonomir::AudioChoice choice;
    choice.forceVirtualCard = phonomir::virtualCardRequestedByEnvironment();
    devices_ = std::make_unique<phonomir::AudioSystem>(choice);
}

// The stream goes first: afterwards the device side never touches the ring again.
DeviceSession::~DeviceSession() {
    std::lock_guard lock(audioCalls());
    stream_.reset();
    ring_.reset();
    devices_.reset();
}

std::uint32_t DeviceSession::open(phonomir::StreamDirection direction, const phonomir::WaveFormat &format,
                                  std::unique_ptr<DeviceSession> &session) {
    session.reset();
    std::unique_ptr<DeviceSession> opened;  // declared first: a failed one is destroyed unlocked
    std::lock_guard lock(audioCalls());
    try {
        opened.reset(new DeviceSession());
        opened->ring_ = std::make_unique<phonomir::StreamRing>(kBufferCount, kBufferBytes, &opened->wake_);
    } catch (const std::bad_alloc &) {
        return MM_OUT_OF_MEMORY;
    }
    std::string errorText;
    opened->stream_ = opened->devices_->engine().open({direction, 0, format}, *opened->ring_, errorText);
    if (!opened->stream_) return MM_NOT_PCM_WAVE;
    session = std::move(opened);
    return MM_OK;
}

bool DeviceSession::start() {
    std::lock_guard lock(audioCalls());
    return stream_ && stream_->start();
}

void DeviceSession::closeStream() {
    std::lock_guard lock(audioCalls());
    stream_.reset();
}

}  // namespace avstore
