// The arithmetic behind the Signal Generator window's controls, kept free of any toolkit:
// the logarithmic tone-frequency trackbar, output levels as device volumes and the pulse-width
// list.
#pragma once

#include <cstdint>
#include <string>

namespace phonomir {

// The tone trackbar spans 10 Hz .. 20000 Hz logarithmically over positions 0 .. 300.
int toneTrackbarPosition(double frequencyHz);   // frequency clamped to [10, 20000] first
double toneTrackbarFrequency(int position);      // position clamped to [0, 300]

// Output level 0..100 as a device volume 0..65535 (level x 65535 / 100, integer division).
std::uint16_t levelToVolume(int level);

// Entry k (0-based) of the 49-entry pulse-width list: (k + 1) x 1000 / rate ms as "%.3f".
inline constexpr int kPulseWidthEntries = 49;
std::string pulseWidthText(int entry, int rate);

}  // namespace phonomir
