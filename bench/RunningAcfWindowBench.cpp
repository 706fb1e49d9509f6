// The Running ACF window's work on a 30 s stereo 48 kHz recording: the recomputation of the frames
// it shows (N = 16, the default, and N = 100, the most) and of every frame, at T = 2 s and
// S = 0.1 s and 0.01 s on one channel; the same recomputation of every frame with the factors of
// each frame, without and with the running IACC of both channels (to set beside the
// recomputation alone); and Save and Load of the recording through the archive into a data
// directory on disk.
// Run: build/bench/phonomir_runacf_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include "phonomir/AcfArchive.h"
#include "phonomir/AcfFactorSeries.h"
#include "phonomir/AcfFrameHistory.h"
#include "phonomir/AcfRecomputation.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

namespace {

constexpr int kRate = 48000;
constexpr int kSeconds = 30;

const std::vector<std::int16_t>& stereoRecording() {
    static const std::vector<std::int16_t> recording = [] {
        std::mt19937 rng(3);
        std::normal_distribution<double> normal(0.0, 4000.0);
        std::vector<std::int16_t> v(2 * kRate * kSeconds);
        for (auto& x : v) x = static_cast<std::int16_t>(std::clamp(std::lround(normal(rng)), -32767L, 32767L));
        return v;
    }();
    return recording;
}

// range(0): running step in ms; range(1): frames kept, 0 for all.
void BM_WindowRecompute(benchmark::State& state) {
    phonomir::AcfFrameHistory history;
    phonomir::RunningAcfAnalyzer analyzer(history);
    analyzer.Begin({kRate, 2, 1, 2.0, static_cast<double>(state.range(0)) / 1000, phonomir::WeightingKind::A});
    const int keep = static_cast<int>(state.range(1));
    history.setLayout(keep > 0 ? keep : 3000, analyzer.fftSize() / 2);
    phonomir::AcfRecomputation recomputation(analyzer);
    for (auto _ : state) {
        recomputation.start(stereoRecording(), keep);
        recomputation.finish();
    }
    state.counters["frames"] = static_cast<double>(history.received());
}

// range(0): running step in ms; range(1): 1 with the running IACC. Every frame and its factors.
void BM_WindowRecomputeWithFactors(benchmark::State& state) {
    phonomir::AcfFrameHistory history;
    phonomir::AcfFactorSeries factors;
    phonomir::AcfFrameTee frames(history);
    frames.setSecond(&factors);
    phonomir::RunningAcfAnalyzer analyzer(frames);
    const double interaural = state.range(1) ? phonomir::kInterauralRange : 0.0;
    analyzer.Begin({kRate, 2, 1, 2.0, static_cast<double>(state.range(0)) / 1000, phonomir::WeightingKind::A, interaural});
    history.setLayout(3000, analyzer.fftSize() / 2);
    factors.begin(phonomir::factorConditionsOf(analyzer, {}, std::nullopt), 3000);
    phonomir::AcfRecomputation recomputation(analyzer);
    for (auto _ : state) {
        recomputation.start(stereoRecording(), 0);
        recomputation.finish();
    }
    state.counters["frames"] = static_cast<double>(factors.frames().size());
}

struct QuietMessages : phonomir::MessageSink {
    void showMessage(const std::string&, phonomir::MessageIcon) override {}
};

// A data directory on disk with one folder, removed at exit.
struct ArchiveScratch {
    ArchiveScratch() {
        char pattern[] = "/tmp/phonomir-runacf-bench-XXXXXX";
        root = mkdtemp(pattern);
        connection.open(root);
        phonomir::FolderRecord folder{0, "A", "", "", "20240315", "bench", "", 1.0};
        archive.addFolder(folder);
    }
    ~ArchiveScratch() {
        connection.close();
        std::filesystem::remove_all(root);
    }
    std::string root;
    phonomir::DataConnection connection;
    QuietMessages messages;
    phonomir::AcfArchive archive{connection, messages};
};

phonomir::AcfRecord conditions() {
    phonomir::AcfRecord record;
    record.sampling = kRate;
    record.channel = 2;
    record.sampleNum = kRate * kSeconds;
    record.dataTime = kSeconds;
    record.time = "20240315101112";
    record.title = "bench";
    return record;
}

void BM_SaveRecording(benchmark::State& state) {
    ArchiveScratch scratch;
    const phonomir::ArchiveWave wave{kRate, 2, stereoRecording()};
    for (auto _ : state) {
        phonomir::AcfRecord record = conditions();
        if (scratch.archive.save(record, wave) != phonomir::AcfArchive::SaveResult::Saved) state.SkipWithError("save");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(wave.samples.size() * 2));
}

void BM_LoadRecording(benchmark::State& state) {
    ArchiveScratch scratch;
    phonomir::AcfRecord saved = conditions();
    scratch.archive.save(saved, phonomir::ArchiveWave{kRate, 2, stereoRecording()});
    for (auto _ : state) {
        phonomir::AcfRecord record;
        phonomir::ArchiveWave wave;
        if (scratch.archive.load(saved.acfId, record, wave) != phonomir::AcfArchive::LoadResult::Loaded)
            state.SkipWithError("load");
        benchmark::DoNotOptimize(wave.samples.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stereoRecording().size() * 2));
}

}  // namespace

BENCHMARK(BM_WindowRecompute)
    ->ArgNames({"step_ms", "kept"})
    ->Args({100, 16})->Args({100, 100})->Args({100, 0})
    ->Args({10, 16})->Args({10, 100})->Args({10, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowRecomputeWithFactors)
    ->ArgNames({"step_ms", "iacc"})
    ->Args({100, 0})->Args({100, 1})->Args({10, 0})->Args({10, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveRecording)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRecording)->Unit(benchmark::kMillisecond);
