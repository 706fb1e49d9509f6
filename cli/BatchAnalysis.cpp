#include "BatchAnalysis.h"

#include "CommandLine.h"

#include "phonomir/SampleRateTable.h"

#include <algorithm>

namespace phonomir::cli {
namespace {

int rateIndexOf(int rate) {
    for (int k = 0; k < SampleRateTable::kCount; ++k)
        if (static_cast<int>(SampleRateTable::kRates[k]) == rate) return k;
    throw CliError("sampling rate " + std::to_string(rate) +
                   " Hz is not one the analyzer offers (48000, 44100, 32000, 22050, 16000, 11025, 8000)");
}

}  // namespace

int analyzeRecording(const WaveData& wave, AnalysisOptions options, SpectrumEngine& engine,
                     const BlockObserver& afterBlock, const ProgressObserver& progress) {
    options.settings.sampleRateIndex = rateIndexOf(wave.sampleRate);
    options.settings.channelsMinusOne = wave.channels - 1;
    if (!engine.setupAnalysis(options.settings, options.calibration)) throw CliError("out of memory");
    engine.setupDisplay({1000, 500});
    const std::int64_t n = engine.fftSize(), blocks = wave.frames() / n;
    for (std::int64_t b = 0; b < blocks; ++b) {
        engine.analyzeBlock(wave.samples.data() + b * n * wave.channels);
        engine.blockPainted();  // every block counts: the guard is re-armed as after a repaint
        if (afterBlock) afterBlock(static_cast<int>(b), engine);
        if (progress) progress(static_cast<double>(b + 1) / blocks);
    }
    return static_cast<int>(blocks);
}

namespace {

// Collects the frames with the end time of the step block that completed each one: the ring
// first fills after ceil(n / (L / 10)) blocks, then every block completes a frame.
class FrameCollector : public AcfFrameSink {
public:
    explicit FrameCollector(AcfResult& result) : result_(result) {}
    void resetFrames() override { result_.frames.clear(); }
    void acceptFrame(const AcfFrame& frame) override {
        const auto half = frame.phi.begin() + static_cast<std::ptrdiff_t>(frame.phi.size() / 2);
        result_.frames.push_back({0.0, std::vector<float>(frame.phi.begin(), half)});
    }

private:
    AcfResult& result_;
};

}  // namespace

AcfResult runningAcf(const WaveData& wave, RunningAcfParameters parameters) {
    parameters.sampleRate = wave.sampleRate;
    parameters.channels = wave.channels;
    AcfResult result;
    FrameCollector collector(result);
    RunningAcfAnalyzer analyzer(collector);
    if (!analyzer.Begin(parameters))
        throw CliError("the integration time and running step give no usable frame at this sampling rate");
    if (analyzer.stepFrames() < 10)
        throw CliError("the running step is shorter than ten samples: no decimated sample per step");
    analyzer.Recompute(wave.samples);
    result.decimatedRate = analyzer.decimatedRate();
    result.frameLength = analyzer.frameLength();
    result.fftSize = analyzer.fftSize();
    const std::int64_t perBlock = analyzer.stepFrames() / 10;
    const std::int64_t firstBlock = (result.frameLength + perBlock - 1) / perBlock;
    for (std::size_t j = 0; j < result.frames.size(); ++j)
        result.frames[j].timeSeconds =
            static_cast<double>((firstBlock + static_cast<std::int64_t>(j)) * analyzer.stepFrames()) / wave.sampleRate;
    return result;
}

}  // namespace phonomir::cli
