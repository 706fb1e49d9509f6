// The virtual card's wire from output to input: a history of the played signal on the card's
// 48 kHz time line, indexed by absolute frame number, long enough for the largest delay plus one
// processing step. Frames never written read as silence. Device thread only.
#pragma once

#include "phonomir/SampleCodec.h"

#include <cstdint>
#include <vector>

namespace phonomir {

class LoopbackLine {
public:
    static constexpr std::uint32_t kLength = 1u << 17;  // frames of history (> 48000 + 8192)

    LoopbackLine() : history_(kLength) {}
    void write(std::int64_t frame, StereoSample sample) { history_[slot(frame)] = sample; }
    StereoSample read(std::int64_t frame) const { return frame < 0 ? StereoSample{} : history_[slot(frame)]; }

private:
    static std::size_t slot(std::int64_t frame) { return static_cast<std::size_t>(frame) & (kLength - 1); }
    std::vector<StereoSample> history_;
};

}  // namespace phonomir
