#include "phonomir/AcfRecomputation.h"

#include <algorithm>

namespace phonomir {

void AcfRecomputation::start(std::span<const std::int16_t> recording, std::int64_t keepFrames) {
    recording_ = recording;
    next_ = blocks_ = firstComputed_ = 0;
    if (!analyzer_.begun()) return;
    analyzer_.Restart();
    const std::int64_t step = analyzer_.stepFrames();
    const int perBlock = analyzer_.decimatedPerStep();
    if (step < 1 || perBlock < 1) return;
    blocks_ = static_cast<std::int64_t>(recording.size()) / (step * analyzer_.channels());
    const std::int64_t firstFrameBlock = (analyzer_.frameLength() + perBlock - 1) / perBlock - 1;
    firstComputed_ = keepFrames < 1 ? 0 : std::max(firstFrameBlock, blocks_ - keepFrames);
}

bool AcfRecomputation::step() {
    if (!running()) return false;
    const int perBlock = analyzer_.decimatedPerStep();
    for (; next_ < firstComputed_ && next_ < blocks_; ++next_)
        analyzer_.FeedWithoutFrame(analyzer_.StepBlock(recording_, next_), perBlock);
    if (next_ < blocks_) analyzer_.Feed(analyzer_.StepBlock(recording_, next_++), perBlock);
    return running();
}

double AcfRecomputation::progress() const {
    const std::int64_t computed = blocks_ - firstComputed_;
    if (computed <= 0 || !running()) return 1.0;
    return static_cast<double>(std::max<std::int64_t>(0, next_ - firstComputed_)) / static_cast<double>(computed);
}

}  // namespace phonomir
