// The running ACF of a stored recording, computed step by step so that the window's event loop
// keeps running between steps (a 30-minute recording at a long integration time takes seconds).
// Only the last `keepFrames` frames are computed: the step blocks before them pass through the
// analyzer's ring without a transform, which leaves the ring exactly as a full recompute would,
// so the frames delivered are bit for bit those of RunningAcfAnalyzer::Recompute.
//
// Owned by the Running ACF window next to its analyzer; UI thread only.
#pragma once

#include "phonomir/RunningAcfAnalyzer.h"

#include <cstdint>
#include <span>

namespace phonomir {

class AcfRecomputation {
public:
    explicit AcfRecomputation(RunningAcfAnalyzer& analyzer) : analyzer_(analyzer) {}

    // Restarts the analyzer (the sink forgets its frames) and prepares the feed of `recording`
    // (interleaved values; it must stay unchanged until finished). keepFrames < 1: all frames.
    void start(std::span<const std::int16_t> recording, std::int64_t keepFrames);
    // Feeds the next step block, or at once every block whose frame is not kept. False when
    // nothing is left to feed.
    bool step();
    void finish() { while (step()) {} }
    void cancel() { next_ = blocks_; }
    bool running() const { return next_ < blocks_; }
    // Share of the kept frames computed so far, 0 .. 1.
    double progress() const;

private:
    RunningAcfAnalyzer& analyzer_;
    std::span<const std::int16_t> recording_;
    std::int64_t next_ = 0;           // next step block to feed
    std::int64_t blocks_ = 0;         // whole step blocks in the recording
    std::int64_t firstComputed_ = 0;  // first block whose frame is computed
};

}  // namespace phonomir
