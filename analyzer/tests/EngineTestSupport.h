// Signals and a configured engine for the analysis engine's tests.
#pragma once

#include "phonomir/SpectrumEngine.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace phonomir::testing {

inline AnalyzerSettings analyzerSettings(int rateIndex, int n, DisplayType type, int channels = 1) {
    AnalyzerSettings s;
    s.sampleRateIndex = rateIndex;
    s.fftSize = n;
    s.displayType = static_cast<int>(type);
    s.channelsMinusOne = channels - 1;
    s.timeWindow = 0;  // rectangular unless a test says otherwise
    return s;
}

// n frames of a sine with `cycles` periods per block, rounded to 16 bits, in every channel
// (the right channel `delay` samples later).
inline std::vector<std::int16_t> sineBlock(int n, double cycles, double amplitude, int channels = 1, int delay = 0) {
    std::vector<std::int16_t> frames(static_cast<std::size_t>(n) * channels);
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c)
            frames[i * channels + c] = static_cast<std::int16_t>(
                std::lround(amplitude * std::sin(2.0 * std::numbers::pi * cycles * (i - c * delay) / n)));
    return frames;
}

inline std::vector<std::int16_t> noiseBlock(int n, int channels, unsigned seed, double deviation = 3000) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal(0.0, deviation);
    std::vector<std::int16_t> frames(static_cast<std::size_t>(n) * channels);
    for (auto& v : frames) v = static_cast<std::int16_t>(std::clamp(std::lround(normal(rng)), -32767L, 32767L));
    return frames;
}

// Analyses one block with the overload guard re-armed, as a window that repaints after each.
inline void analyze(SpectrumEngine& engine, const std::vector<std::int16_t>& frames) {
    engine.analyzeBlock(frames.data());
    engine.blockPainted();
}

}  // namespace phonomir::testing
