#include "phonomir/PortAudioStream.h"

#include "phonomir/SampleCodec.h"
#include "phonomir/StreamRing.h"

#include <portaudio.h>

#include <cstring>

namespace phonomir {

PortAudioStream::PortAudioStream(StreamRing& ring, const StreamRequest& request,
                                 const std::atomic<std::uint32_t>* volume)
    : ring_(ring), format_(request.format), direction_(request.direction), volume_(volume) {}

PortAudioStream::~PortAudioStream() {
    if (stream_ == nullptr) return;
    stopping_.store(true);
    Pa_AbortStream(stream_);
    Pa_CloseStream(stream_);
}

namespace {

void streamFinished(void* self) { static_cast<PortAudioStream*>(self)->onFinished(); }

}  // namespace

void PortAudioStream::attach(void* paStream) {
    stream_ = paStream;
    Pa_SetStreamFinishedCallback(stream_, &streamFinished);
}

bool PortAudioStream::start() {
    stopping_.store(false);
    if (Pa_IsStreamActive(stream_) == 1) return true;
    return Pa_StartStream(stream_) == paNoError;
}

void PortAudioStream::stop() {
    stopping_.store(true);
    Pa_AbortStream(stream_);
}

void PortAudioStream::onFinished() {
    if (!stopping_.load()) ring_.markLost();
}

void PortAudioStream::process(const void* input, void* output, unsigned long frames) {
    if (direction_ == StreamDirection::Output) {
        play(static_cast<std::uint8_t*>(output), frames);
    } else {
        record(static_cast<const std::uint8_t*>(input), frames);
    }
}

void PortAudioStream::play(std::uint8_t* output, unsigned long frames) {
    const std::size_t bytes = frames * format_.blockAlign();
    const std::size_t played = paused_.load() ? 0 : ring_.readQueued(output, bytes);
    std::memset(output + played, silenceByte(format_), bytes - played);
    if (!paused_.load() && played < bytes && !starved_ && !ring_.dataEnded()) ring_.countXrun();
    starved_ = played < bytes;
    applyVolume(output, frames);
}

void PortAudioStream::record(const std::uint8_t* input, unsigned long frames) {
    const std::size_t bytes = frames * format_.blockAlign();
    if (input == nullptr || ring_.writeQueued(input, bytes) < bytes) ring_.countXrun();
}

void PortAudioStream::applyVolume(std::uint8_t* output, unsigned long frames) const {
    const std::uint32_t volume = volume_ ? volume_->load() : 0xFFFFFFFFu;
    if (volume == 0xFFFFFFFFu) return;
    const float gains[2] = {(volume & 0xFFFF) / 65535.0f, (volume >> 16) / 65535.0f};
    for (unsigned long frame = 0; frame < frames; ++frame, output += format_.blockAlign()) {
        StereoSample sample = decodeFrame(output, format_);
        encodeFrame({sample.left * gains[0], sample.right * gains[1]}, output, format_);
    }
}

}  // namespace phonomir
