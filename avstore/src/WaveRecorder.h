// A running recording from the default input device into a RecordingSink. Owns the sink, its
// device session and the worker thread, which queues the three buffers, hands each returned
// buffer's bytes to the sink, counts them and re-queues the buffer until a stop is requested
// (or the device is lost, or the sink cannot keep more); it then closes the stream and takes
// the buffers that completed before and the partly filled last one, so that every frame
// recorded up to the stop is kept. Made, stopped and destroyed on the exporting thread.
#pragma once

#include "DeviceSession.h"
#include "RecordingSink.h"
#include "WaveLayout.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace avstore {

class WaveRecorder {
public:
    // Takes the sink over. Returns 0 with a running recorder, 8008 (the device cannot record
    // this format) or 8003; on failure the sink is discarded.
    static std::uint32_t start(std::unique_ptr<RecordingSink> sink, const WaveFormat &format,
                               std::unique_ptr<WaveRecorder> &recorder);
    ~WaveRecorder();  // stops and joins; completes the record unless it needs the engine
    WaveRecorder(const WaveRecorder &) = delete;
    WaveRecorder &operator=(const WaveRecorder &) = delete;

    // True once the worker has ended by itself (device lost, sink full).
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Ends the recording, joins the worker and completes the record with its final length.
    // Returns 0 or the sink's status of a failure.
    std::uint32_t stop();

private:
    WaveRecorder(std::unique_ptr<RecordingSink> sink, std::unique_ptr<DeviceSession> session);
    void run();
    bool keep(const phonomir::WaveBuffer &buffer);  // false when the sink refused the bytes

    std::unique_ptr<RecordingSink> sink_;
    std::unique_ptr<DeviceSession> session_;
    std::uint32_t dataBytes_ = 0;  // worker until joined
    bool stoppedKeeping_ = false;  // worker until joined: the sink is full or failed
    std::atomic<bool> finished_{false};
    std::thread worker_;
};

}  // namespace avstore
