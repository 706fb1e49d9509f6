// Runs the oscilloscope acquisition on arbitrary stored settings (the first 92 bytes, as read
// from a settings file or preset) and arbitrary samples (the rest, cut into blocks), checking
// that every drawn run stays inside its block and its sweep.
#include "phonomir/ScopeAcquisition.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class CheckingView : public phonomir::ScopeView {
public:
    const std::int16_t* blockBegin = nullptr;
    const std::int16_t* blockEnd = nullptr;
    void clearTraces() override {}
    void drawTimeRun(const phonomir::TimeTraceRun& run) override {
        const bool inside = run.frames >= blockBegin && run.frames + run.pointCount * run.channels <= blockEnd;
        const bool inSweep = run.firstSweepIndex >= -1 && run.firstSweepIndex + run.pointCount - 1 <= run.sweepSamples;
        if (!inside || !inSweep || run.pointCount < 1 || !(run.triggerFraction >= 0 && run.triggerFraction < 1))
            std::abort();
    }
    void drawXyFigure(const phonomir::XyFigure& figure) override {
        if (figure.frames + 2 * figure.frameCount > blockEnd) std::abort();
    }
    void setMarker(bool, int) override {}
    void writeTextLine(int, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using phonomir::OscilloscopeSettings;
    if (size < OscilloscopeSettings::kEncodedSize + 2) return 0;
    std::array<std::uint8_t, OscilloscopeSettings::kEncodedSize> record;
    std::memcpy(record.data(), data, record.size());
    const auto settings = OscilloscopeSettings::decode(record);
    const std::uint8_t rateSelector = data[record.size()];
    static constexpr int kRates[] = {48000, 44100, 32000, 22050, 16000, 11025, 8000, 0, 1, 100000};
    CheckingView view;
    phonomir::ScopeAcquisition acquisition(view);
    acquisition.start(settings, kRates[rateSelector % 10]);
    acquisition.setDelayPosition(data[record.size() + 1] - 20);
    std::vector<std::int16_t> samples((size - record.size() - 2) / 2);
    std::memcpy(samples.data(), data + record.size() + 2, samples.size() * 2);
    // Blocks of a tenth of the samples, so that sweeps cross block boundaries.
    const std::size_t blockSize = samples.size() / 10 + 1;
    for (std::size_t start = 0; start < samples.size(); start += blockSize) {
        std::span<std::int16_t> block(samples.data() + start, std::min(blockSize, samples.size() - start));
        view.blockBegin = block.data();
        view.blockEnd = block.data() + block.size();
        acquisition.processBlock(block);
    }
    return 0;
}
