// Time of one analysed block of the Realtime Analyzer's engine (spectrum display), and of the
// running ACF's recomputation of a stored recording.
#include "phonomir/RunningAcfAnalyzer.h"
#include "phonomir/SpectrumEngine.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<std::int16_t> noise(std::size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal(0.0, 4000.0);
    std::vector<std::int16_t> v(count);
    for (auto& x : v) x = static_cast<std::int16_t>(std::clamp(std::lround(normal(rng)), -32767L, 32767L));
    return v;
}

void BM_AnalyzeBlock(benchmark::State& state) {
    phonomir::AnalyzerSettings settings;
    settings.fftSize = static_cast<int>(state.range(0));
    settings.channelsMinusOne = static_cast<int>(state.range(1)) - 1;
    settings.sampleRateIndex = 0;
    phonomir::SpectrumEngine engine;
    engine.setupAnalysis(settings, {});
    engine.setupDisplay({1240, 660});
    const auto block = noise(static_cast<std::size_t>(settings.fftSize) * settings.channels(), 1);
    for (auto _ : state) {
        engine.analyzeBlock(block.data());
        engine.blockPainted();
        benchmark::DoNotOptimize(engine.channel(0).power.data());
    }
}

class CountingSink : public phonomir::AcfFrameSink {
public:
    void resetFrames() override { frames = 0; }
    void acceptFrame(const phonomir::AcfFrame& frame) override {
        ++frames;
        benchmark::DoNotOptimize(frame.phi.data());
    }
    int frames = 0;
};

// One channel of a 30 s recording at 48 kHz, T = 2 s, S = 10 ms x range(0).
void BM_RunningAcfRecompute(benchmark::State& state) {
    const auto recording = noise(30 * 48000, 2);
    CountingSink sink;
    phonomir::RunningAcfAnalyzer analyzer(sink);
    phonomir::RunningAcfParameters parameters;
    parameters.sampleRate = 48000;
    parameters.integrationTime = 2.0;
    parameters.runningStep = 0.01 * static_cast<double>(state.range(0));
    analyzer.Begin(parameters);
    for (auto _ : state) analyzer.Recompute(recording);
    state.counters["frames"] = sink.frames;
}

}  // namespace

BENCHMARK(BM_AnalyzeBlock)->Args({1024, 1})->Args({1024, 2})->Args({65536, 1})->Args({65536, 2});
BENCHMARK(BM_RunningAcfRecompute)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);
