// The oscilloscope's sixteen sweep speeds, seconds per division, from 1 s/div (index 0) down to
// 10 us/div (index 15). Shown in ms/div, 1000 down to 0.01.
#pragma once

namespace phonomir {

inline constexpr int kSweepTimeCount = 16;
inline constexpr int kDivisionsAcross = 14;  // horizontal divisions of the graticule

// Seconds per division for `index`; an index outside 0..15 is clamped into it.
double sweepTimeSeconds(int index);

}  // namespace phonomir
