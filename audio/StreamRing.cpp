#include "phonomir/StreamRing.h"

#include <algorithm>
#include <cstring>

namespace phonomir {

StreamRing::StreamRing(int bufferCount, std::uint32_t bufferBytes, WakeSignal* wake)
    : queued_(static_cast<std::size_t>(std::max(bufferCount, 1))),
      done_(static_cast<std::size_t>(std::max(bufferCount, 1))),
      wake_(wake) {
    for (int i = 0; i < bufferCount; ++i) {
        storage_.push_back(std::make_unique<std::uint8_t[]>(bufferBytes));
        buffers_.push_back(WaveBuffer{storage_.back().get(), bufferBytes, bufferBytes, i});
    }
}

void StreamRing::submit(int index) { queued_.push(index); }

bool StreamRing::takeDone(int& index) { return done_.pop(index); }

bool StreamRing::takeCurrent() {
    if (current_ >= 0) return true;
    if (!queued_.pop(current_)) return false;
    position_ = 0;
    return true;
}

void StreamRing::finishCurrent() {
    done_.push(current_);
    current_ = -1;
    if (wake_) wake_->wake();
}

std::size_t StreamRing::readQueued(std::uint8_t* destination, std::size_t bytes) {
    std::size_t copied = 0;
    while (copied < bytes && takeCurrent()) {
        WaveBuffer& buffer = buffers_[static_cast<std::size_t>(current_)];
        const std::size_t length = std::min(buffer.bufferLength, buffer.capacity);
        const std::size_t chunk = std::min(bytes - copied, length - position_);
        std::memcpy(destination + copied, buffer.data + position_, chunk);
        copied += chunk;
        position_ += static_cast<std::uint32_t>(chunk);
        if (position_ >= length) finishCurrent();
    }
    return copied;
}

std::size_t StreamRing::writeQueued(const std::uint8_t* source, std::size_t bytes) {
    std::size_t stored = 0;
    while (stored < bytes && takeCurrent()) {
        WaveBuffer& buffer = buffers_[static_cast<std::size_t>(current_)];
        const std::size_t chunk = std::min(bytes - stored, std::size_t{buffer.capacity} - position_);
        std::memcpy(buffer.data + position_, source + stored, chunk);
        stored += chunk;
        position_ += static_cast<std::uint32_t>(chunk);
        if (position_ >= buffer.capacity) {
            buffer.bufferLength = buffer.capacity;
            finishCurrent();
        }
    }
    return stored;
}

void StreamRing::returnAll() {
    if (current_ >= 0) finishCurrent();
    int index = 0;
    while (queued_.pop(index)) {
        current_ = index;
        finishCurrent();
    }
}

bool StreamRing::takePartial(int& index) {
    if (current_ < 0 || position_ == 0) return false;
    buffers_[static_cast<std::size_t>(current_)].bufferLength = position_;
    index = current_;
    current_ = -1;
    position_ = 0;
    return true;
}

void StreamRing::markLost() {
    lost_.store(true, std::memory_order_release);
    if (wake_) wake_->wake();
}

}  // namespace phonomir
