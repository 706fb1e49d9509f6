#include "phonomir/WaveIn.h"

#include <new>

namespace phonomir {

WaveIn::WaveIn(AudioEngine& engine, MixerState* mixer, MessageSink* messages, WakeSignal* wake)
    : engine_(engine), mixer_(mixer), messages_(messages), wake_(wake) {}

WaveIn::~WaveIn() { closeInput(); }

void WaveIn::reportOpenError(const std::string& text, bool showError) {
    client_ = nullptr;
    ring_.reset();
    if (showError && messages_) messages_->showMessage(text.substr(0, 255), MessageIcon::Exclamation);
}

int WaveIn::openInput(int deviceId, WaveClient* client, const WaveStreamParameters& parameters, bool showError) {
    closeInput();
    ++generation_;
    lastXruns_ = 0;
    client_ = client;
    deviceId_ = deviceId;
    format_ = WaveFormat{static_cast<std::uint16_t>(parameters.channels), parameters.samplesPerSecond,
                         static_cast<std::uint16_t>(parameters.bitsPerSample)};
    if (!allocateAndQueue(parameters)) {
        // Out of memory: the client hears of it as a stream that closed at once.
        WaveClient* old = client_;
        client_ = nullptr;
        if (old) old->waveNotify(WAVE_IN_CLOSED, nullptr);
        if (listener_ && listener_ != old) listener_->waveNotify(WAVE_IN_CLOSED, nullptr);
        return 0;
    }
    std::string errorText;
    stream_ = engine_.open({StreamDirection::Input, deviceId, format_}, *ring_, errorText);
    if (!stream_) {
        reportOpenError(errorText, showError);
        return 0;
    }
    if (mixer_) mixer_->takeOverInputMixer();
    queued_ = ring_->size();
    if (client_) client_->waveNotify(WAVE_IN_OPENED, nullptr);
    if (listener_ && listener_ != client_) listener_->waveNotify(WAVE_IN_OPENED, nullptr);
    return 1;
}

bool WaveIn::allocateAndQueue(const WaveStreamParameters& parameters) {
    if (parameters.bufferCount < 1 || parameters.bufferBytes == 0) return false;
    try {
        ring_ = std::make_unique<StreamRing>(parameters.bufferCount, parameters.bufferBytes, wake_);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int index = 0; index < ring_->size(); ++index) ring_->submit(index);
    return true;
}

void WaveIn::startInput() {
    if (stream_) stream_->start();
}

void WaveIn::closeInput() {
    if (!stream_) return;
    ++generation_;
    stream_.reset();  // the device side stops; buffers still waiting to be handed out are dropped
    lastXruns_ = ring_->xruns();
    ring_.reset();
    queued_ = 0;
    if (mixer_) mixer_->restoreInputMixer();
    WaveClient* old = client_;
    client_ = nullptr;
    if (old) old->waveNotify(WAVE_IN_CLOSED, nullptr);
    if (listener_ && listener_ != old) listener_->waveNotify(WAVE_IN_CLOSED, nullptr);
}

void WaveIn::stopInput() {
    if (!stream_) return;
    stream_->stop();
    processCompleted();
    int index = 0;
    if (stream_ && ring_->takePartial(index)) handleRecordedBuffer(index);
    closeInput();
}

// False when the stream was closed or replaced while the clients had the buffer.
bool WaveIn::handleRecordedBuffer(int index) {
    const std::uint64_t generation = generation_;
    --queued_;
    WaveBuffer& buffer = ring_->buffer(index);
    long answer = 0;
    if (client_) {
        answer = client_->waveNotify(WAVE_IN_DATA, &buffer);
        if (generation != generation_) return false;
        if (listener_ && listener_ != client_) listener_->waveNotify(WAVE_IN_DATA, &buffer);
        if (generation != generation_) return false;
    }
    if (answer == 0) {
        closeInput();
        return false;
    }
    ring_->submit(index);
    ++queued_;
    return true;
}

void WaveIn::processCompleted() {
    int index = 0;
    while (stream_ && ring_->takeDone(index)) {
        if (!handleRecordedBuffer(index)) return;
    }
    if (stream_ && ring_->lost()) closeInput();
}

}  // namespace phonomir
