// The oscilloscope's sample counts derived from the settings, the sampling rate and the Delay
// Time trackbar. Recomputed by ScopeAcquisition whenever one of them changes (UI thread).
#pragma once

#include "phonomir/OscilloscopeSettings.h"

namespace phonomir {

struct ScopeTiming {
    int rateHz = 44100;     // sampling rate, 16..48000 Hz (the table's rates in practice)
    int blockFrames = 2756; // frames per input block: rate / 16 (1/16 s)
    int sweepSamples = 617; // frames across the 14 divisions: trunc(rate x sweepTime x 14), >= 1
    double msPerDiv = 1.0;  // sweep speed, ms per division
    double delayMs = 0.0;   // 10^delayRangeIndex x delayPos x 0.01, ms
    int delaySamples = 0;   // frames skipped after a trigger: trunc(rate x delayMs x 0.001)

    // delayPosition: the Delay Time trackbar, 0..100 (clamped). Settings are clamped first.
    static ScopeTiming compute(const OscilloscopeSettings& settings, int rateHz, int delayPosition);
};

// Delay in ms for a delay range index (0..3, clamped) and trackbar position (0..100, clamped).
double delayMilliseconds(int delayRangeIndex, int delayPosition);

}  // namespace phonomir
