// The one-third-octave band table: 34 edges at the geometric midpoints between the centres
// 10^(k/10) Hz, the stop value 10^6 Hz, and the band labels "ALL", "16" .. "20k".
#pragma once

#include <array>
#include <string_view>

namespace phonomir {

class BandTable {
public:
    static constexpr int kEdges = 34;  // edge[0..32] and the stop value edge[33]
    static constexpr int kMaxSlots = 33;  // "ALL" and 32 bands

    // edge[i] = 10 x 10^0.15 x 10^(0.1 i) Hz for i = 0 .. 32, edge[33] = 1 000 000 Hz.
    // Band i (1..32) covers [edge[i-1], edge[i]); band 0 is the overall level.
    static const std::array<float, kEdges>& edges();
    static std::string_view label(int band);  // "ALL" for band 0
    // Slots shown for an upper frequency: trunc(10 log10 fHigh) - 10, at most 33, at least 1.
    static int slotCount(double upperFrequency);
};

}  // namespace phonomir
