// The play and the recording that may run at one time, one of each. Owns the running
// WavePlayer and WaveRecorder; a new one is refused with 8009 while the old one runs, and one
// whose worker has ended by itself is cleared away first. Called from the exported functions
// (one caller thread at a time; a mutex guards the slots anyway). The library's single
// instance stops both when the library is unloaded, so no worker thread outlives it.
#pragma once

#include "RecordingSink.h"
#include "WavePlayer.h"
#include "WaveLayout.h"
#include "WaveRecorder.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

struct MMMemBlock;

namespace avstore {

class RunningWaves {
public:
    using WaveLoader = std::function<std::uint32_t(MMMemBlock **block)>;
    using SinkMaker = std::function<std::uint32_t(std::unique_ptr<RecordingSink> &sink)>;

    static RunningWaves &instance();
    ~RunningWaves();

    // 8009 while a play runs; else the status of load (which reads the wave into a new block
    // on this thread) or of WavePlayer::start.
    std::uint32_t play(const WaveLoader &load);
    // Ends a running play and joins its worker; 0 also when none runs.
    std::uint32_t stopPlay();
    // 8009 while a recording runs; 8008 for an unusable format; else the status of makeSink
    // (on this thread) or of WaveRecorder::start.
    std::uint32_t record(const SinkMaker &makeSink, const WaveFormat &format);
    // Ends a running recording and completes its record; 0 when none runs.
    std::uint32_t stopRecord();

private:
    RunningWaves() = default;

    std::mutex mutex_;
    std::unique_ptr<WavePlayer> player_;
    std::unique_ptr<WaveRecorder> recorder_;
};

}  // namespace avstore
