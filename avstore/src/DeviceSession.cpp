#include "DeviceSession.h"

#include "avstore32.h"

#include <new>
#include <string>

namespace avstore {

DeviceSession::DeviceSession() {
    phonomir::AudioChoice choice;
    choice.forceVirtualCard = phonomir::virtualCardRequestedByEnvironment();
    devices_ = std::make_unique<phonomir::AudioSystem>(choice);
}

// The stream goes first: afterwards the device side never touches the ring again.
DeviceSession::~DeviceSession() {
    stream_.reset();
    ring_.reset();
    devices_.reset();
}

std::uint32_t DeviceSession::open(phonomir::StreamDirection direction, const phonomir::WaveFormat &format,
                                  std::unique_ptr<DeviceSession> &session) {
    session.reset();
    std::unique_ptr<DeviceSession> opened;
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

}  // namespace avstore
