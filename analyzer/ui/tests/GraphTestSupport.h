// A real engine fed with a known signal, for the graph's render tests and snapshots.
#pragma once

#include "phonomir/GraphRenderer.h"
#include "phonomir/SpectrumEngine.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace phonomir::graphtest {

// The application the widgets need, on the offscreen platform unless told otherwise. The
// caller owns it.
inline std::unique_ptr<QApplication> makeApplication() {
    static int argc = 1;
    static char name[] = "phonomir_graph";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

// n frames of a tone plus Gaussian noise; the right channel is the left one `delay` samples
// later at 70 %, plus a weaker tone at `rightHertz`.
inline std::vector<std::int16_t> toneAndNoise(int n, int channels, int rate, double hertz, unsigned seed,
                                              int delay = 24, double rightHertz = 3000) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal(0.0, 800.0);
    std::vector<double> left(n + delay);
    for (int i = 0; i < n + delay; ++i)
        left[i] = 12000 * std::sin(2 * std::numbers::pi * hertz * (i - delay) / rate) + normal(rng);
    std::vector<std::int16_t> frames(static_cast<std::size_t>(n) * channels);
    auto clip = [](double v) { return static_cast<std::int16_t>(std::clamp(std::lround(v), -32767L, 32767L)); };
    for (int i = 0; i < n; ++i) {
        frames[i * channels] = clip(left[i + delay]);
        if (channels == 2)
            frames[i * channels + 1] = clip(0.7 * left[i] + 3000 * std::sin(2 * std::numbers::pi * rightHertz * i / rate));
    }
    return frames;
}

// Settings of a live graph at 48 kHz with an FFT size of n.
inline AnalyzerSettings graphSettings(DisplayType type, int channels, int n = 4096) {
    AnalyzerSettings s;
    s.displayType = static_cast<int>(type);
    s.channelsMinusOne = channels - 1;
    s.sampleRateIndex = 0;
    s.fftSize = n;
    return s;
}

// Analyses `blocks` blocks (the tone rising by `glide` Hz from one to the next), each followed
// by a repaint, as the live window does.
inline void feed(SpectrumEngine& engine, GraphRenderer& renderer, int blocks, double hertz = 1000, double glide = 0) {
    for (int b = 0; b < blocks; ++b) {
        engine.analyzeBlock(toneAndNoise(engine.fftSize(), engine.channels(), engine.rate(), hertz + b * glide, b + 1).data());
        renderer.renderData();
        engine.blockPainted();
    }
}

}  // namespace phonomir::graphtest
