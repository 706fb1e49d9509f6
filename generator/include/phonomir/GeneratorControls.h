// The arithmetic behind the Signal Generator window's controls, kept free of any toolkit:
// the logarithmic tone-frequency trackbar, output levels as device volumes and the pulse-width
// list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace phonomir {

// The tone trackbar spans 10 Hz .. 20000 Hz logarithmically over positions 0 .. 300.
int toneTrackbarPosition(double frequencyHz);   // frequency clamped to [10, 20000] first
double toneTrackbarFrequency(int position);      // position clamped to [0, 300]

// The tone trackbar's scale: a tick at 10, 20, ..., 90, 100, 200, ..., 10000 and 20000 Hz, each
// at its trackbar position; the decades 10, 100, 1000 and 10000 Hz carry the labels "10",
// "100", "1k" and "10k".
struct ToneScaleMark {
    int position;       // 0..300
    std::string label;  // empty for an unlabelled tick
};
std::vector<ToneScaleMark> toneScaleMarks();

// Output level 0..100 as a device volume 0..65535 (level x 65535 / 100, integer division).
std::uint16_t levelToVolume(int level);

// Entry k (0-based) of the 49-entry pulse-width list: (k + 1) x 1000 / rate ms as "%.3f".
inline constexpr int kPulseWidthEntries = 49;
std::string pulseWidthText(int entry, int rate);

}  // namespace phonomir
