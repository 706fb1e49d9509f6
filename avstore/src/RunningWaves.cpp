#include "RunningWaves.h"

#include "avstore32.h"

namespace avstore {

RunningWaves &RunningWaves::instance() {
    static RunningWaves waves;
    return waves;
}

// At unload: the play ends, a file recording gets its final header; a memo recording is left
// with its header of length 0, as the table engine may already be closed.
RunningWaves::~RunningWaves() {
    std::lock_guard lock(mutex_);
    player_.reset();
    recorder_.reset();
}

std::uint32_t RunningWaves::play(const WaveLoader &load) {
    std::lock_guard lock(mutex_);
    if (player_ && !player_->finished()) return MM_BUSY;
    player_.reset();
    MMMemBlock *block = nullptr;
    const std::uint32_t status = load(&block);
    if (status != MM_OK) return status;
    return WavePlayer::start(block, player_);
}

std::uint32_t RunningWaves::stopPlay() {
    std::lock_guard lock(mutex_);
    player_.reset();
    return MM_OK;
}

std::uint32_t RunningWaves::record(const SinkMaker &makeSink, const WaveFormat &format) {
    std::lock_guard lock(mutex_);
    if (recorder_ && !recorder_->finished()) return MM_BUSY;
    if (recorder_) recorder_->stop();  // ended by itself: its record is completed now
    recorder_.reset();
    if (!isUsableFormat(format)) return MM_NOT_PCM_WAVE;
    std::unique_ptr<RecordingSink> sink;
    const std::uint32_t status = makeSink(sink);
    if (status != MM_OK) return status;
    return WaveRecorder::start(std::move(sink), format, recorder_);
}

std::uint32_t RunningWaves::stopRecord() {
    std::lock_guard lock(mutex_);
    if (!recorder_) return MM_OK;
    const std::uint32_t status = recorder_->stop();
    recorder_.reset();
    return status;
}

}  // namespace avstore
