// The process-wide playback object: at most one open output stream, its ring of buffers, the
// primary client that fills them (WAVE_OUT_FILL) and the listener that sees each buffer queued.
// A client's 0 answer ends the signal: nothing more is asked, the queued buffers play out, and
// the stream closes when the last one returns. With the take-over flag, the device volume and
// the speaker controls are saved at open and restored at close. UI thread only;
// processCompleted() runs when the stream's wake signal fires.
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

class WaveOut {
public:
    // `mixer`, `messages` and `wake` may be null; all must outlive this object.
    WaveOut(AudioEngine& engine, MixerState* mixer, MessageSink* messages, WakeSignal* wake);
    ~WaveOut();
    WaveOut(const WaveOut&) = delete;
    WaveOut& operator=(const WaveOut&) = delete;

    // 1 on success, 0 on failure. Nothing plays until startOutput().
    int openOutput(int deviceId, WaveClient* client, const WaveStreamParameters& parameters, bool showError,
                   bool takeOver);
    void startOutput();
    void closeOutput();
    // Every queued buffer comes back at once and is refilled by the client.
    void flushOutput();
    void pauseOutput();
    void resumeOutput();
    // Each side 0..65535; nothing happens while closed.
    void setOutputVolume(std::uint16_t left, std::uint16_t right);
    void setListener(WaveClient* listener) { listener_ = listener; }

    void processCompleted();

    bool isOpen() const { return stream_ != nullptr; }
    WaveClient* primaryClient() const { return client_; }
    const WaveFormat& format() const { return format_; }
    int queuedCount() const { return queued_; }
    bool endOfData() const { return endOfData_; }
    int deviceId() const { return deviceId_; }
    // Periods the device found no data for while the client was late: of the open stream, or of
    // the last one until the next open.
    std::uint64_t xruns() const { return ring_ ? ring_->xruns() : lastXruns_; }

private:
    bool allocate(const WaveStreamParameters& parameters);
    long askToFill(WaveBuffer& buffer);
    bool handlePlayedBuffer(int index);
    void notifyBoth(WaveNotifyCode code, WaveClient* client);

    AudioEngine& engine_;
    MixerState* mixer_;
    MessageSink* messages_;
    WakeSignal* wake_;
    WaveFormat format_;
    std::unique_ptr<StreamRing> ring_;
    std::unique_ptr<AudioStream> stream_;
    WaveClient* client_ = nullptr;
    WaveClient* listener_ = nullptr;
    int queued_ = 0;
    int deviceId_ = 0;
    bool endOfData_ = false;
    bool takeOver_ = false;
    std::uint32_t savedVolume_ = 0;
    std::uint64_t generation_ = 0;  // changes at every open and close
    std::uint64_t lastXruns_ = 0;
};

}  // namespace phonomir
