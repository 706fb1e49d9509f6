// The last N frames of the running ACF, the ones the waterfall shows: lags 0 .. M/2 - 1 of each
// frame with the time at which it ended. A new frame replaces the oldest. The storage for N
// frames is made by setLayout, so that accepting a frame allocates nothing.
//
// The frame sink of the Running ACF window's analyzer; UI thread only.
#pragma once

#include "phonomir/AcfFrameSink.h"

#include <cstdint>
#include <span>
#include <vector>

namespace phonomir {

class AcfFrameHistory : public AcfFrameSink {
public:
    // Room for `capacity` frames of `lags` values each (M / 2); forgets the frames held.
    void setLayout(int capacity, int lags);

    void resetFrames() override;
    void acceptFrame(const AcfFrame& frame) override;

    int capacity() const { return capacity_; }
    int count() const { return count_; }
    // Frame i, 0 the oldest held: lags 0 .. M/2 - 1.
    std::span<const float> frame(int i) const;
    double endTime(int i) const;  // s
    double decimatedRate() const { return decimatedRate_; }
    std::int64_t received() const { return received_; }  // frames accepted since the last reset

private:
    int slotOf(int i) const { return (next_ - count_ + i + capacity_) % capacity_; }

    int capacity_ = 0;
    int lags_ = 0;
    int count_ = 0;
    int next_ = 0;  // slot the next frame goes to
    std::int64_t received_ = 0;
    double decimatedRate_ = 0.0;
    std::vector<float> values_;   // capacity x lags
    std::vector<double> times_;   // capacity
};

}  // namespace phonomir
