#include "WavePlayer.h"

#include "MemoryBlock.h"
#include "avstore32.h"

#include <algorithm>
#include <cstring>

namespace avstore {

void WavePlayer::FreeBlock::operator()(MMMemBlock *block) const { freeBlock(block); }

WavePlayer::WavePlayer(MMMemBlock *wave) : block_(wave), wave_(wave) {}

WavePlayer::~WavePlayer() {
    stop();
    session_.reset();
}

std::uint32_t WavePlayer::start(MMMemBlock *wave, std::unique_ptr<WavePlayer> &player) {
    player.reset();
    std::unique_ptr<WavePlayer> created(new WavePlayer(wave));
    if (created->wave_.status() != MM_OK) return created->wave_.status();
    const WaveFormat &format = created->wave_.head().format;
    const phonomir::WaveFormat deviceFormat{format.channels, format.samplesPerSecond, format.bitsPerSample};
    const std::uint32_t status =
        DeviceSession::open(phonomir::StreamDirection::Output, deviceFormat, created->session_);
    if (status != MM_OK) return status;
    created->worker_ = std::thread([raw = created.get()] { raw->run(); });
    player = std::move(created);
    return MM_OK;
}

void WavePlayer::stop() {
    if (!worker_.joinable()) return;
    session_->wake().requestStop();
    worker_.join();
}

bool WavePlayer::fill(phonomir::WaveBuffer &buffer) {
    const std::uint32_t left = wave_.head().dataBytes - position_;
    if (left == 0) return false;
    const std::uint32_t chunk = std::min(left, buffer.capacity);
    std::memcpy(buffer.data, wave_.data() + position_, chunk);
    buffer.bufferLength = chunk;
    position_ += chunk;
    return true;
}

void WavePlayer::run() {
    phonomir::StreamRing &ring = session_->ring();
    WorkerWake &wake = session_->wake();
    int outstanding = 0;
    for (int index = 0; index < ring.size() && fill(ring.buffer(index)); ++index) {
        ring.submit(index);
        ++outstanding;
    }
    if (outstanding > 0 && !session_->start()) outstanding = 0;
    while (outstanding > 0 && !wake.stopRequested() && !ring.lost()) {
        wake.waitForWork();
        int index = 0;
        while (ring.takeDone(index)) {
            --outstanding;
            if (!wake.stopRequested() && fill(ring.buffer(index))) {
                ring.submit(index);
                ++outstanding;
            }
        }
    }
    session_->closeStream();
    finished_.store(true, std::memory_order_release);
}

}  // namespace avstore
