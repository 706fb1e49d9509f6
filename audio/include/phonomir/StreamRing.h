// The buffers of one open stream and the bridge between the user-interface thread and the
// device thread. All buffers are allocated in the constructor; afterwards nothing allocates.
// Two lock-free single-producer/single-consumer queues carry buffer indices: "queued" from the
// UI thread to the device (submit), "done" back to the UI thread (takeDone), and the wake signal
// tells the UI thread that done buffers wait. Only the device side touches a queued buffer.
#pragma once

#include "phonomir/SpscQueue.h"
#include "phonomir/WakeSignal.h"
#include "phonomir/WaveBuffer.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace phonomir {

class StreamRing {
public:
    // Throws std::bad_alloc when the buffers cannot be allocated.
    StreamRing(int bufferCount, std::uint32_t bufferBytes, WakeSignal* wake);

    int size() const { return static_cast<int>(buffers_.size()); }
    WaveBuffer& buffer(int index) { return buffers_[static_cast<std::size_t>(index)]; }

    // UI thread.
    void submit(int index);
    bool takeDone(int& index);

    // Device thread (or the UI thread while the device side is stopped).
    // Output: copies up to `bytes` of queued data into `destination`; returns the bytes copied.
    // A buffer whose data is used up goes to the done queue.
    std::size_t readQueued(std::uint8_t* destination, std::size_t bytes);
    // Input: stores up to `bytes` into queued buffers, completing each when full; returns the
    // bytes stored (fewer when no buffer is queued).
    std::size_t writeQueued(const std::uint8_t* source, std::size_t bytes);
    // Every queued buffer, and the partly used one, comes back as done.
    void returnAll();
    // Input, once the device side has stopped: hands out the partly filled buffer with
    // bufferLength set to the bytes it holds; false when no buffer was begun.
    bool takePartial(int& index);
    // The device failed or disappeared; the UI thread closes the stream when it sees this.
    void markLost();
    bool lost() const { return lost_.load(std::memory_order_acquire); }
    void countXrun() { xruns_.fetch_add(1, std::memory_order_relaxed); }
    // Output: the client's last answer was 0, so the queue may run dry because the signal ended
    // rather than because the client was late; the device side counts no xrun then.
    void setDataEnded(bool ended) { dataEnded_.store(ended, std::memory_order_release); }
    bool dataEnded() const { return dataEnded_.load(std::memory_order_acquire); }
    std::uint64_t xruns() const { return xruns_.load(std::memory_order_relaxed); }

private:
    bool takeCurrent();
    void finishCurrent();

    std::vector<std::unique_ptr<std::uint8_t[]>> storage_;
    std::vector<WaveBuffer> buffers_;
    SpscQueue<int> queued_;
    SpscQueue<int> done_;
    WakeSignal* wake_;
    int current_ = -1;             // device side: buffer in use
    std::uint32_t position_ = 0;   // device side: bytes of it used
    std::atomic<bool> lost_{false};
    std::atomic<bool> dataEnded_{false};
    std::atomic<std::uint64_t> xruns_{0};
};

}  // namespace phonomir
