#include "BatchAnalysis.h"

#include "CommandLine.h"

#include "phonomir/SampleRateTable.h"

#include <vector>

namespace phonomir::cli {
namespace {

int rateIndexOf(int rate) {
    for (int k = 0; k < SampleRateTable::kCount; ++k)
        if (static_cast<int>(SampleRateTable::kRates[k]) == rate) return k;
    throw CliError("sampling rate " + std::to_string(rate) +
                   " Hz is not one the analyzer offers (48000, 44100, 32000, 22050, 16000, 11025, 8000)");
}

// Hands each completed frame on with the end time of the step block that completed it: the
// ring first fills after ceil(n / (L / 10)) blocks, then every block completes a frame.
class FrameForwarder : public AcfFrameSink {
public:
    explicit FrameForwarder(const AcfFrameObserver& frame) : frame_(frame) {}
    void resetFrames() override {}
    void acceptFrame(const AcfFrame& frame) override {
        frame_(frame.endTime, std::span<const float>(frame.phi).first(frame.phi.size() / 2));
    }

private:
    const AcfFrameObserver& frame_;
};

}  // namespace

std::int64_t blockCount(const WaveStream& wave, int n) { return n > 0 ? wave.frames() / n : 0; }

std::int64_t analyzeRecording(WaveStream& wave, AnalysisOptions options, SpectrumEngine& engine,
                              const BlockObserver& afterBlock, const ProgressObserver& progress) {
    wave.requireAnalysable();
    options.settings.sampleRateIndex = rateIndexOf(wave.sampleRate());
    options.settings.channelsMinusOne = wave.channels() - 1;
    if (!engine.setupAnalysis(options.settings, options.calibration)) throw CliError("out of memory");
    engine.setupDisplay({1000, 500});
    const int n = engine.fftSize();
    const std::int64_t blocks = blockCount(wave, n);
    std::vector<std::int16_t> block(static_cast<std::size_t>(n) * wave.channels());
    for (std::int64_t b = 0; b < blocks; ++b) {
        if (wave.readFrames(block) != static_cast<std::size_t>(n)) throw CliError(wave.name() + ": the data ends early");
        engine.analyzeBlock(block.data());
        engine.blockPainted();  // every block counts: the guard is re-armed as after a repaint
        if (afterBlock) afterBlock(b, b + 1 == blocks, engine);
        if (progress) progress(static_cast<double>(b + 1) / blocks);
    }
    return blocks;
}

void runningAcf(WaveStream& wave, RunningAcfParameters parameters, const std::function<void(const AcfLayout&)>& begun,
                AcfFrameSink& frames, const ProgressObserver& progress) {
    wave.requireAnalysable();
    parameters.sampleRate = wave.sampleRate();
    parameters.channels = wave.channels();
    RunningAcfAnalyzer analyzer(frames);
    if (!analyzer.Begin(parameters))
        throw CliError("the integration time and running step give no usable frame at this sampling rate");
    const std::int64_t step = analyzer.stepFrames();
    if (step < 10) throw CliError("the running step is shorter than ten samples: no decimated sample per step");
    begun({analyzer.decimatedRate(), analyzer.frameLength(), analyzer.fftSize()});
    std::vector<std::int16_t> block(static_cast<std::size_t>(step) * wave.channels());
    const std::int64_t blocks = wave.frames() / step;
    for (std::int64_t b = 0; b < blocks; ++b) {
        if (wave.readFrames(block) != static_cast<std::size_t>(step)) throw CliError(wave.name() + ": the data ends early");
        analyzer.Feed(block, static_cast<int>(step / 10));
        if (progress) progress(static_cast<double>(b + 1) / blocks);
    }
}

void runningAcf(WaveStream& wave, RunningAcfParameters parameters, const std::function<void(const AcfLayout&)>& begun,
                const AcfFrameObserver& frame, const ProgressObserver& progress) {
    FrameForwarder forwarder(frame);
    runningAcf(wave, parameters, begun, forwarder, progress);
}

}  // namespace phonomir::cli
