// The "Automatic" level range of one channel: steps the gain exponent so that the block's peak
// lies between 2 and 4 divisions. Owns the channel's out-of-range counter. Called by
// ScopeAcquisition on the UI thread, once per block.
#pragma once

#include <cstdint>
#include <span>

namespace phonomir {

class AutoRange {
public:
    void reset() { counter_ = 0; }

    // peak: the largest absolute sample of the block, 0..32768; exponent: current gain exponent,
    // 0..15 (2^exponent sample units per division). Returns the new exponent, 0..15. After ten
    // blocks out of range in a row it steps once per block (the counter is not cleared by a
    // step) until the peak is back within 2..4 divisions.
    int update(int peak, int exponent);

    // Largest |sample| of one channel of an interleaved block (stride = channel count).
    static int peakOf(std::span<const std::int16_t> interleaved, int channel, int channels);

private:
    int counter_ = 0;
};

}  // namespace phonomir
