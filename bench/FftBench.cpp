// FFT timings beside FFTW (single precision, interleaved, FFTW_MEASURE) in the same process.
// Each of our benchmarks reports the ratio of its time per transform to FFTW's at that size
// as the counter "x_fftw" (1.0 = as fast as FFTW).
#include "phonomir/FftEngine.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <chrono>
#include <map>
#include <random>
#include <vector>

namespace {

std::vector<float> noise(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (float& x : v) x = uniform(rng);
    return v;
}

// Seconds per FFTW transform at size n, measured once per process and cached.
double fftwSecondsPerTransform(int n) {
    static std::map<int, double> cache;
    if (auto it = cache.find(n); it != cache.end()) return it->second;
    fftwf_complex* data = fftwf_alloc_complex(n);
    fftwf_plan plan = fftwf_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_MEASURE);
    const auto input = noise(2 * n, 1);
    for (int i = 0; i < n; ++i) {
        data[i][0] = input[2 * i];
        data[i][1] = input[2 * i + 1];
    }
    const int repetitions = std::max(20, (1 << 24) / n);
    double best = 1e9;
    for (int trial = 0; trial < 5; ++trial) {
        const auto start = std::chrono::steady_clock::now();
        for (int r = 0; r < repetitions; ++r) fftwf_execute(plan);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / repetitions);
    }
    fftwf_destroy_plan(plan);
    fftwf_free(data);
    return cache[n] = best;
}

void BM_Fftw(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    fftwf_complex* data = fftwf_alloc_complex(n);
    fftwf_plan plan = fftwf_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_MEASURE);
    const auto input = noise(2 * n, 1);
    for (int i = 0; i < n; ++i) {
        data[i][0] = input[2 * i];
        data[i][1] = input[2 * i + 1];
    }
    for (auto _ : state) {
        fftwf_execute(plan);
        benchmark::DoNotOptimize(data);
    }
    fftwf_destroy_plan(plan);
    fftwf_free(data);
}

void runOurs(benchmark::State& state, bool vectorised) {
    const int n = static_cast<int>(state.range(0));
    phonomir::FftEngine engine;
    engine.setVectorised(vectorised);
    auto re = noise(n, 2), im = noise(n, 3);
    engine.forwardFft(n, re.data(), im.data());
    for (auto _ : state) {
        engine.forwardFft(n, re.data(), im.data());
        benchmark::DoNotOptimize(re.data());
        benchmark::ClobberMemory();
    }
    state.counters["x_fftw"] = benchmark::Counter(
        fftwSecondsPerTransform(n) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_FftEngine(benchmark::State& state) { runOurs(state, true); }
void BM_FftTextbook(benchmark::State& state) { runOurs(state, false); }

}  // namespace

BENCHMARK(BM_Fftw)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(65536);
BENCHMARK(BM_FftEngine)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(65536);
BENCHMARK(BM_FftTextbook)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(65536);
