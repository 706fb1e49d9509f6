// A direct-form FIR filter for one channel of the virtual card's input path. The history is
// allocated in the constructor; process() does not allocate. Device thread only.
#pragma once

#include <cstddef>
#include <vector>

namespace phonomir {

class FirFilter {
public:
    explicit FirFilter(std::vector<float> taps) : taps_(std::move(taps)), history_(taps_.size()) {}

    // With no taps the filter passes its input unchanged.
    float process(float input) {
        if (taps_.empty()) return input;
        history_[next_] = input;
        float sum = 0.0f;
        std::size_t slot = next_;
        for (float tap : taps_) {
            sum += tap * history_[slot];
            slot = slot == 0 ? history_.size() - 1 : slot - 1;
        }
        next_ = (next_ + 1) % history_.size();
        return sum;
    }

private:
    std::vector<float> taps_;
    std::vector<float> history_;
    std::size_t next_ = 0;
};

}  // namespace phonomir
