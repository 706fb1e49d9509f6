// Time of one live analyzer step: one analysed block of n = 1024 two-channel frames plus one
// repaint of a 1280 x 720 graph (restore the data area, draw the results, copy it to the
// screen image), for each of the four displays. Runs on Qt's offscreen platform.
#include "phonomir/GraphRenderer.h"
#include "phonomir/SpectrumEngine.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "phonomir_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

// A 1 kHz tone plus noise in both channels, the right one a little later.
std::vector<std::int16_t> toneAndNoise(int n) {
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0.0, 800.0);
    std::vector<std::int16_t> frames(2 * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < 2; ++c)
            frames[2 * i + c] = static_cast<std::int16_t>(
                std::lround(12000 * std::sin(2 * std::numbers::pi * 1000 * (i - 10 * c) / 48000) + noise(rng)));
    return frames;
}

void BM_AnalyzeAndRepaint(benchmark::State& state) {
    ensureApplication();
    phonomir::AnalyzerSettings settings;
    settings.displayType = static_cast<int>(state.range(0));
    settings.channelsMinusOne = 1;
    settings.sampleRateIndex = 0;
    settings.fftSize = 1024;
    settings.peakHold = 1;
    phonomir::SpectrumEngine engine;
    engine.setupAnalysis(settings, {});
    phonomir::GraphRenderer renderer(engine, settings);
    renderer.setup(QSize(1280, 720), 1.0);
    QImage screen(1280, 720, QImage::Format_RGB32);
    const auto block = toneAndNoise(settings.fftSize);
    auto step = [&] {
        engine.analyzeBlock(block.data());
        renderer.renderData();
        QPainter painter(&screen);
        renderer.paint(painter, renderer.dataRect());
        painter.end();
        engine.blockPainted();
    };
    for (int i = 0; i < settings.waterfallLines; ++i) step();  // a full waterfall history
    for (auto _ : state) step();
    state.SetLabel(settings.displayType == 0   ? "spectrum"
                   : settings.displayType == 1 ? "1/3 octave"
                   : settings.displayType == 2 ? "waterfall"
                                               : "correlation");
}

}  // namespace

BENCHMARK(BM_AnalyzeAndRepaint)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
