// The waterfall's history: the last N spectra of each channel as pixel-column lines, in a ring
// whose write position wraps to 0. Allocated when the display is set up; a block only writes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace phonomir {

class WaterfallRing {
public:
    // lines: "Number of Data" (5..32); width: pixel columns of the front plot.
    void reset(int lines, int channels, int width);
    void clear();

    // The line to write next for a channel; commit() then advances the ring, stamping the line
    // (with the number of the block it shows, say).
    std::span<float> nextLine(int channel);
    void commit(std::int64_t stamp = 0);

    int lineCount() const { return lines_; }
    int filled() const { return filled_; }
    int width() const { return width_; }
    // age 0 = newest .. filled() - 1 = oldest.
    std::span<const float> line(int age, int channel) const;
    std::int64_t stamp(int age) const;

private:
    int lines_ = 0, channels_ = 0, width_ = 0, writePos_ = 0, filled_ = 0;
    int indexOf(int age) const { return ((writePos_ - 1 - age) % lines_ + lines_) % lines_; }

    std::vector<float> y_;  // lines x channels x width, pixels from the plot's top
    std::vector<std::int64_t> stamps_;  // one per line
};

}  // namespace phonomir
