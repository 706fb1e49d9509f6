#include "phonomir/WaveOut.h"

#include <algorithm>
#include <new>

namespace phonomir {

WaveOut::WaveOut(AudioEngine& engine, MixerState* mixer, MessageSink* messages, WakeSignal* wake)
    : engine_(engine), mixer_(mixer), messages_(messages), wake_(wake) {}

WaveOut::~WaveOut() { closeOutput(); }

void WaveOut::notifyBoth(WaveNotifyCode code, WaveClient* client) {
    if (client) client->waveNotify(code, nullptr);
    if (listener_ && listener_ != client) listener_->waveNotify(code, nullptr);
}

int WaveOut::openOutput(int deviceId, WaveClient* client, const WaveStreamParameters& parameters, bool showError,
                        bool takeOver) {
    closeOutput();
    ++generation_;
    lastXruns_ = 0;
    client_ = client;
    deviceId_ = deviceId;
    takeOver_ = takeOver;
    format_ = WaveFormat{static_cast<std::uint16_t>(parameters.channels), parameters.samplesPerSecond,
                         static_cast<std::uint16_t>(parameters.bitsPerSample)};
    if (!allocate(parameters)) {
        client_ = nullptr;
        notifyBoth(WAVE_OUT_CLOSED, client);
        return 0;
    }
    std::string errorText;
    stream_ = engine_.open({StreamDirection::Output, deviceId, format_}, *ring_, errorText);
    if (!stream_) {
        client_ = nullptr;
        ring_.reset();
        if (showError && messages_) messages_->showMessage(errorText.substr(0, 255), MessageIcon::Exclamation);
        return 0;
    }
    if (takeOver_) {
        savedVolume_ = engine_.outputVolume(deviceId);
        if (mixer_) mixer_->takeOverOutputMixer();
    }
    stream_->start();
    endOfData_ = false;
    queued_ = 0;
    notifyBoth(WAVE_OUT_OPENED, client_);
    return 1;
}

bool WaveOut::allocate(const WaveStreamParameters& parameters) {
    if (parameters.bufferCount < 1 || parameters.bufferBytes == 0) return false;
    try {
        ring_ = std::make_unique<StreamRing>(parameters.bufferCount, parameters.bufferBytes, wake_);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Asks the client for data; the client sees the whole buffer's length.
long WaveOut::askToFill(WaveBuffer& buffer) {
    buffer.bufferLength = buffer.capacity;
    return client_->waveNotify(WAVE_OUT_FILL, &buffer);
}

// Keeps the client's byte count within the buffer. True when there is data to play; the ring
// learns whether the client's last answer ended the signal.
static bool takeAnswer(StreamRing& ring, WaveBuffer& buffer, long answer) {
    buffer.bufferLength = static_cast<std::uint32_t>(std::clamp<long>(answer, 0, buffer.capacity));
    ring.setDataEnded(buffer.bufferLength == 0);
    return buffer.bufferLength != 0;
}

void WaveOut::startOutput() {
    if (!stream_) return;
    const std::uint64_t generation = generation_;
    queued_ = 0;
    for (int index = 0; client_ && index < ring_->size(); ++index) {
        const long answer = askToFill(ring_->buffer(index));
        if (generation != generation_) return;
        if (takeAnswer(*ring_, ring_->buffer(index), answer)) {
            ring_->submit(index);
            ++queued_;
        }
    }
    if (queued_ == 0) closeOutput();
}

void WaveOut::closeOutput() {
    if (!stream_) return;
    ++generation_;
    stream_.reset();
    if (takeOver_) engine_.setOutputVolume(deviceId_, savedVolume_);
    lastXruns_ = ring_->xruns();
    ring_.reset();
    queued_ = 0;
    if (takeOver_ && mixer_) mixer_->restoreOutputMixer();
    WaveClient* old = client_;
    client_ = nullptr;
    notifyBoth(WAVE_OUT_CLOSED, old);
}

void WaveOut::flushOutput() {
    if (!stream_) return;
    stream_->stop();
    ring_->returnAll();
    stream_->start();
}

void WaveOut::pauseOutput() {
    if (stream_) stream_->setPaused(true);
}

void WaveOut::resumeOutput() {
    if (stream_) stream_->setPaused(false);
}

void WaveOut::setOutputVolume(std::uint16_t left, std::uint16_t right) {
    if (stream_) engine_.setOutputVolume(deviceId_, std::uint32_t{left} | (std::uint32_t{right} << 16));
}

// False when the stream closed or was replaced meanwhile.
bool WaveOut::handlePlayedBuffer(int index) {
    const std::uint64_t generation = generation_;
    --queued_;
    WaveBuffer& buffer = ring_->buffer(index);
    if (client_ && !endOfData_) {
        const long answer = askToFill(buffer);
        if (generation != generation_) return false;
        if (takeAnswer(*ring_, buffer, answer)) {
            ring_->submit(index);
            ++queued_;
        } else {
            endOfData_ = true;
        }
    }
    if (listener_ && listener_ != client_) listener_->waveNotify(WAVE_OUT_FILL, &buffer);
    if (generation != generation_) return false;
    if (queued_ == 0) {
        closeOutput();
        return false;
    }
    return true;
}

void WaveOut::processCompleted() {
    int index = 0;
    while (stream_ && ring_->takeDone(index)) {
        if (!handlePlayedBuffer(index)) return;
    }
    if (stream_ && ring_->lost()) closeOutput();
}

}  // namespace phonomir
