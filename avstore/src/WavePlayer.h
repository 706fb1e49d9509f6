// A running play of one wave block on the default output device. Owns the block (freed at the
// end), its device session and the worker thread that fills the three buffers from the block's
// data, refills each one the device hands back until the data is used up, and closes the
// stream when every buffer is back (or a stop is requested, or the device is lost).
// Made, stopped and destroyed on the exporting thread; the worker runs run().
#pragma once

#include "DeviceSession.h"
#include "LockedWaveBlock.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

struct MMMemBlock;

namespace avstore {

class WavePlayer {
public:
    // Takes the block over in every case. Returns 0 with a running player in player, 8008 for
    // an unusable block or a device that cannot play its format, or 8003.
    static std::uint32_t start(MMMemBlock *wave, std::unique_ptr<WavePlayer> &player);
    ~WavePlayer();  // stops and joins
    WavePlayer(const WavePlayer &) = delete;
    WavePlayer &operator=(const WavePlayer &) = delete;

    // True once the worker has closed the stream by itself.
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Ends the play and joins the worker; may be called again.
    void stop();

private:
    explicit WavePlayer(MMMemBlock *wave);
    void run();
    bool fill(phonomir::WaveBuffer &buffer);  // false when the data is used up

    struct FreeBlock {
        void operator()(MMMemBlock *block) const;
    };

    std::unique_ptr<MMMemBlock, FreeBlock> block_;  // outlives wave_, which unlocks it
    LockedWaveBlock wave_;
    std::unique_ptr<DeviceSession> session_;
    std::uint32_t position_ = 0;  // worker: data bytes handed to the device so far
    std::atomic<bool> finished_{false};
    std::thread worker_;
};

}  // namespace avstore
