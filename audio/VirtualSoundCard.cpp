#include "phonomir/VirtualSoundCard.h"

#include "phonomir/StreamRing.h"
#include "phonomir/VirtualCardStream.h"

#include <algorithm>
#include <cstring>

namespace phonomir {
namespace {

// Frame of a stream at `rate` that is playing at time-line frame `timelineFrame`.
std::int64_t streamFrameAt(std::int64_t timelineFrame, std::uint32_t rate) {
    return timelineFrame * rate / VirtualCardConfig::kTimelineRate;
}

}  // namespace

VirtualSoundCard::VirtualSoundCard(VirtualCardConfig config)
    : config_(std::move(config)),
      noise_(config_.noisePeak, config_.noiseSeed),
      scratch_(static_cast<std::size_t>(kChunkFrames) * (kMaxRate / VirtualCardConfig::kTimelineRate + 1) * 4 + 16) {
    for (auto& volume : volumes_) volume.store(0xFFFFFFFFu);
}

bool VirtualSoundCard::validRequest(const StreamRequest& request, std::string& errorText) const {
    const WaveFormat& format = request.format;
    if (removed_.load()) {
        errorText = "The virtual sound card has been removed.";
    } else if (refuseOpens_.load()) {
        errorText = "The virtual sound card refused to open the device.";
    } else if ((format.channels != 1 && format.channels != 2) ||
               (format.bitsPerSample != 8 && format.bitsPerSample != 16) || format.samplesPerSecond < 1000 ||
               format.samplesPerSecond > kMaxRate) {
        errorText = "The virtual sound card does not support this wave format.";
    } else {
        return true;
    }
    return false;
}

std::unique_ptr<AudioStream> VirtualSoundCard::open(const StreamRequest& request, StreamRing& ring,
                                                    std::string& errorText) {
    if (!validRequest(request, errorText)) return nullptr;
    std::lock_guard lock(mutex_);
    VirtualCardStream*& slot = request.direction == StreamDirection::Input ? input_ : output_;
    if (slot != nullptr) {
        errorText = "The virtual sound card is already in use.";
        return nullptr;
    }
    auto stream = std::make_unique<VirtualCardStream>(*this, ring, request, config_.fir);
    slot = stream.get();
    return stream;
}

void VirtualSoundCard::detach(VirtualCardStream* stream) {
    std::lock_guard lock(mutex_);
    if (input_ == stream) input_ = nullptr;
    if (output_ == stream) output_ = nullptr;
}

std::uint32_t VirtualSoundCard::outputVolume(int deviceId) const {
    return volumes_[static_cast<std::size_t>(std::clamp(deviceId, 0, 9))].load();
}

void VirtualSoundCard::setOutputVolume(int deviceId, std::uint32_t leftAndRight) {
    volumes_[static_cast<std::size_t>(std::clamp(deviceId, 0, 9))].store(leftAndRight);
}

std::string VirtualSoundCard::deviceName(int) const { return "Virtual sound card"; }

void VirtualSoundCard::removeDevice() {
    std::lock_guard lock(mutex_);
    removed_.store(true);
    for (VirtualCardStream* stream : {input_, output_}) {
        if (stream) stream->ring().markLost();
    }
    input_ = output_ = nullptr;
}

std::int64_t VirtualSoundCard::elapsedFrames() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void VirtualSoundCard::advance(std::uint32_t frames) {
    std::lock_guard lock(mutex_);
    while (frames > 0) {
        const std::uint32_t chunk = std::min(frames, kChunkFrames);
        processChunk(now_, now_ + chunk);
        now_ += chunk;
        frames -= chunk;
    }
    dropNextPeriod_.store(false);
}

void VirtualSoundCard::processChunk(std::int64_t first, std::int64_t end) {
    playOutput(first, end);
    recordInput(first, end);
}

void VirtualSoundCard::playOutput(std::int64_t first, std::int64_t end) {
    if (output_ == nullptr) {
        for (std::int64_t frame = first; frame < end; ++frame) line_.write(frame, {});
        return;
    }
    const WaveFormat& format = output_->format();
    const std::int64_t firstFrame = streamFrameAt(first, format.samplesPerSecond);
    const std::size_t bytes = static_cast<std::size_t>(streamFrameAt(end, format.samplesPerSecond) - firstFrame) *
                              format.blockAlign();
    std::size_t played = output_->running() ? output_->ring().readQueued(scratch_.data(), bytes) : 0;
    std::memset(scratch_.data() + played, silenceByte(format), bytes - played);
    if (output_->running() && played < bytes && !output_->starved && !output_->ring().dataEnded())
        output_->ring().countXrun();
    output_->starved = played < bytes;
    const std::uint32_t volume = volumes_[static_cast<std::size_t>(std::clamp(output_->deviceId(), 0, 9))].load();
    const float left = (volume & 0xFFFF) / 65535.0f, right = (volume >> 16) / 65535.0f;
    for (std::int64_t frame = first; frame < end; ++frame) {
        const std::int64_t offset = streamFrameAt(frame, format.samplesPerSecond) - firstFrame;
        const StereoSample sample = decodeFrame(scratch_.data() + offset * format.blockAlign(), format);
        line_.write(frame, {sample.left * left, sample.right * right});
    }
}

StereoSample VirtualSoundCard::inputSample(VirtualCardStream& stream, std::int64_t timelineFrame) {
    const StereoSample heard = line_.read(timelineFrame - config_.delayFrames);
    const float level = config_.gain * recordingLevel_.load();
    const float left = stream.filter(0).process(heard.left) * level + noise_.next();
    const float right = stream.filter(1).process(heard.right) * level + noise_.next();
    return {left, right};
}

void VirtualSoundCard::recordInput(std::int64_t first, std::int64_t end) {
    if (input_ == nullptr || !input_->running()) return;
    const WaveFormat& format = input_->format();
    const std::uint32_t rate = format.samplesPerSecond;
    const std::int64_t firstFrame = streamFrameAt(first, rate), endFrame = streamFrameAt(end, rate);
    std::uint8_t* out = scratch_.data();
    for (std::int64_t frame = firstFrame; frame < endFrame; ++frame, out += format.blockAlign()) {
        const std::int64_t timelineFrame = frame * VirtualCardConfig::kTimelineRate / rate;
        encodeFrame(inputSample(*input_, timelineFrame), out, format);
    }
    const std::size_t bytes = static_cast<std::size_t>(out - scratch_.data());
    if (dropNextPeriod_.load() || input_->ring().writeQueued(scratch_.data(), bytes) < bytes) {
        input_->ring().countXrun();
    }
}

}  // namespace phonomir
