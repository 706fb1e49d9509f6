// The process-wide recording object: at most one open input stream, its ring of buffers, the
// window that opened it (primary client) and the listener (the main panel). Each recorded
// buffer is sent as WAVE_IN_DATA first to the primary client, then to the listener; the
// client's answer decides whether the buffer goes back to the device or the stream closes.
// Opening always closes the previous stream first. No client ever sees a buffer of a closed
// stream. UI thread only; processCompleted() runs when the stream's wake signal fires.
#pragma once

#include "phonomir/AudioEngine.h"
#include "phonomir/MessageSink.h"
#include "phonomir/MixerState.h"
#include "phonomir/StreamRing.h"
#include "phonomir/WaveNotify.h"
#include "phonomir/WaveStreamParameters.h"

#include <cstdint>
#include <memory>

namespace phonomir {

class WaveIn {
public:
    // `mixer`, `messages` and `wake` may be null; all must outlive this object.
    WaveIn(AudioEngine& engine, MixerState* mixer, MessageSink* messages, WakeSignal* wake);
    ~WaveIn();
    WaveIn(const WaveIn&) = delete;
    WaveIn& operator=(const WaveIn&) = delete;

    // 1 on success, 0 on failure (an error text is shown when showError is set).
    int openInput(int deviceId, WaveClient* client, const WaveStreamParameters& parameters, bool showError);
    void startInput();
    void closeInput();
    // For clients that keep every frame: stops recording, hands the clients every buffer
    // recorded so far, the partly filled last one included (bufferLength: its recorded bytes),
    // and then closes the stream as closeInput does.
    void stopInput();
    void setListener(WaveClient* listener) { listener_ = listener; }

    // Hands every recorded buffer to the clients; closes the stream when the device was lost.
    void processCompleted();

    bool isOpen() const { return stream_ != nullptr; }
    WaveClient* primaryClient() const { return client_; }
    const WaveFormat& format() const { return format_; }
    int queuedCount() const { return queued_; }
    int deviceId() const { return deviceId_; }
    // Periods recorded while no buffer was free: of the open stream, or of the last one until
    // the next open.
    std::uint64_t xruns() const { return ring_ ? ring_->xruns() : lastXruns_; }

private:
    bool allocateAndQueue(const WaveStreamParameters& parameters);
    void reportOpenError(const std::string& text, bool showError);
    bool handleRecordedBuffer(int index);

    AudioEngine& engine_;
    MixerState* mixer_;
    MessageSink* messages_;
    WakeSignal* wake_;
    WaveFormat format_;
    std::unique_ptr<StreamRing> ring_;
    std::uint64_t lastXruns_ = 0;
    std::unique_ptr<AudioStream> stream_;
    WaveClient* client_ = nullptr;
    WaveClient* listener_ = nullptr;
    int queued_ = 0;
    int deviceId_ = 0;
    std::uint64_t generation_ = 0;  // changes at every open and close
};

}  // namespace phonomir
