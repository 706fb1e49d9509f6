// One stream open through PortAudio. Its callback, on PortAudio's audio thread, only moves bytes
// between the device and the ring: it never allocates, locks or calls client code. A starved
// callback plays or records silence and counts an xrun. When the stream ends on its own (the
// device failed or disappeared) the ring is marked lost so the UI thread closes it.
// Created, started, stopped and destroyed on the UI thread.
#pragma once

#include "phonomir/AudioEngine.h"

#include <atomic>
#include <cstdint>

namespace phonomir {

class PortAudioStream : public AudioStream {
public:
    // Takes over an opened PortAudio stream; `volume` is the device's packed volume, read by
    // the callback of an output stream.
    PortAudioStream(StreamRing& ring, const StreamRequest& request, const std::atomic<std::uint32_t>* volume);
    ~PortAudioStream() override;

    // The PortAudio stream this object drives; set once right after opening.
    void attach(void* paStream);
    bool start() override;
    void stop() override;
    void setPaused(bool paused) override { paused_.store(paused); }

    // PortAudio's audio thread: one period of `frames` frames.
    void process(const void* input, void* output, unsigned long frames);
    // PortAudio's thread: the stream has ended.
    void onFinished();

private:
    void play(std::uint8_t* output, unsigned long frames);
    void record(const std::uint8_t* input, unsigned long frames);
    void applyVolume(std::uint8_t* output, unsigned long frames) const;

    StreamRing& ring_;
    WaveFormat format_;
    StreamDirection direction_;
    const std::atomic<std::uint32_t>* volume_;
    void* stream_ = nullptr;
    bool starved_ = true;  // callback side: no data in the last period
    std::atomic<bool> paused_{false};
    std::atomic<bool> stopping_{false};
};

}  // namespace phonomir
