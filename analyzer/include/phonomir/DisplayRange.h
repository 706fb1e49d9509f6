// The frequency and level ranges of the analyzer's displays, derived from the settings.
#pragma once

#include "phonomir/AnalyzerSettings.h"

namespace phonomir {

struct DisplayRange {
    double lowFrequency = 20;     // Hz, left edge of the plot
    double highFrequency = 20000; // Hz, right edge
    int highLevel = 0;            // dB re full scale, top of the plot
    int lowLevel = -140;          // dB re full scale, bottom of the plot
    bool logarithmic = true;      // frequency axis
};

// rate: sampling rate in Hz; n: FFT size; calibrationOffsetDb: the microphone's sensitivity
// offset (0 without a calibration), truncated to whole decibels for the automatic level range.
DisplayRange computeDisplayRange(const AnalyzerSettings& settings, int rate, int n, double calibrationOffsetDb);

// The frequency at a fraction 0..1 of the plot's width, on its linear or logarithmic axis.
double frequencyAtFraction(const DisplayRange& range, double fraction);

}  // namespace phonomir
