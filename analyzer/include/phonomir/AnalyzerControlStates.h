// Which of the Realtime Analyzer's controls are enabled for the current display and settings.
#pragma once

#include "phonomir/AnalyzerSettings.h"

namespace phonomir {

struct AnalyzerControlStates {
    bool frequencyAutomatic = false;  // the "Automatic" box of the frequency range
    bool upperFrequency = false;
    bool lowerFrequency = false;
    bool levelAutomatic = false;      // the level group's "Automatic" box
    bool levelLimits = false;         // its "Upper" and "Lower"
    bool smoothing = false;
    bool frequencyAxis = false;       // "Logarithm" / "Linear"
    bool peak = false;
    bool peakHold = false;
    bool waterfall = false;           // "Forward" / "Backward" and "Number of Data"
    bool acf = false;
    bool ccf = false;
};

// Spectrum, 1/3 Octave and Waterfall use the ranges; only the Spectrum and Waterfall have a
// lower frequency and an axis choice; CCF needs two channels. A limit edit is enabled only
// while its "Automatic" box is clear.
AnalyzerControlStates controlStates(const AnalyzerSettings& settings);

// Correlation with one channel can only be the ACF: a stored CCF turns into ACF.
void keepCorrelationPossible(AnalyzerSettings& settings);

// A stored choice outside its list (a damaged settings file) becomes what the engine runs: an
// FFT size that is not 1024 .. 65536 and a weighting that is not 0 .. 3 fall back to the
// default, indices and "Number of Data" are clamped into their lists, two-way choices that are
// neither value take the usual one; then the correlation is kept possible.
void keepChoicesInTheirLists(AnalyzerSettings& settings);

}  // namespace phonomir
